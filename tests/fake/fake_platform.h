// A recording fake of the FRU access libraries and container interface.
// Every call is recorded as one line of text with its arguments; every
// status can be scripted per attempt.
#ifndef QUILLET_TESTS_FAKE_PLATFORM_H
#define QUILLET_TESTS_FAKE_PLATFORM_H

#include <algorithm>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/fru_access.h"

namespace fake {

using Bytes = std::vector<uint8_t>;

struct Segment {
    std::string name;
    int32_t packets;
    bool bad;
};

struct Enumeration {
    fru_regdef_t definition{};
    std::vector<std::string> names;
    std::vector<fru_enum_entry_t> entries;
};

struct Platform {
    // What the fake answers.
    int32_t container_type = 0;
    bool container_type_written = true;
    std::map<std::string, Bytes> records;  // fru_read_record by exact name
    std::map<std::string, Bytes> control;  // iteration control bytes
    std::vector<Segment> segments;
    Bytes opaque_data;  // fru_read_op_segment answer
    std::map<std::string, std::unique_ptr<Enumeration>> registry;
    bool inventory_allocated = true;

    // What the fake saw.
    std::vector<std::string> calls;
    Bytes written;  // buffer of the last access call, capture_size bytes
    size_t capture_size = 0;
    Bytes opaque_written, descriptor;  // data and descriptor of the last fru_update_op_segment
    Bytes image_written;               // data of the last capi_fruid_write_container
    std::vector<const char *> names_given;  // fru_get_segment_name's strings, in order
    // Per fru_remove_segment: which of names_given it was passed (the latest
    // at that address), or -1 for another string.
    std::vector<int> removed_given;

    // Scripted statuses: call name -> statuses of successive attempts; once
    // used up, the call succeeds.
    std::map<std::string, std::deque<int32_t>> script;

    void fail(const std::string &call, const std::vector<int32_t> &s) { script[call] = {s.begin(), s.end()}; }
    void add_enum(const std::string &name, const std::vector<std::pair<std::string, uint32_t>> &entries);
    size_t count(const std::string &prefix) const  // calls starting so
    {
        return std::count_if(calls.begin(), calls.end(), [&](const std::string &c) { return c.starts_with(prefix); });
    }
};

Platform &platform();
void reset();

}  // namespace fake

#endif
