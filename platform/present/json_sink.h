// The same records as JSON (docs/json.md): stable keys, numbers as numbers
// with their unit, raw bytes as hex strings, an unreadable record as its
// status. The document is written in pieces of whole containers, so that a
// store of any size costs one buffer.
#ifndef FRUPLATFORM_PRESENT_JSON_SINK_H
#define FRUPLATFORM_PRESENT_JSON_SINK_H

#include <cstdio>
#include <string>

#include "present/sink.h"

namespace fruplat {

class JsonSink : public PresentSink {
public:
    explicit JsonSink(FILE *out);
    void begin_container(const std::string &source, const char *family, bool is_file) override;
    void end_container(int32_t status) override;
    void begin_record(const RecordStart &start) override;
    void begin_entry(size_t number, const char *title) override;
    void field(const PresentedField &field) override;
    void end_record() override;
    void unreadable_record(const char *name, int32_t status) override;
    // Closes the document and writes what is left; false when any write
    // failed.
    bool finish();

private:
    void close_entry();
    void spill();
    FILE *out_;
    bool written_ = true;
    std::string text_;
    bool first_container_ = true;
    bool first_record_ = true;
    bool first_entry_ = true;
    bool first_field_ = true;
    bool in_entry_ = false;
};

void append_json_string(std::string &out, const char *text, size_t size);

}  // namespace fruplat

#endif
