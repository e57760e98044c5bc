#ifndef QUILLET_TESTS_PARSER_FIXTURE_H
#define QUILLET_TESTS_PARSER_FIXTURE_H

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "fake/fake_platform.h"
#include "records/buffer_set.h"
#include "records/element_parser.h"
#include "support/hex.h"

namespace quillet_test {

using R = quillet::RecordId;

// Runs the element parser on a fresh buffer set with a small registry.
class ParserTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        fake::reset();
        quillet::release_record_buffer_set();
        quillet::allocate_record_buffer_set();
        fake::Platform &p = fake::platform();
        p.add_enum("Event", {{"power_on", 1}, {"power_off", 2}, {"still_on", 3}});
        p.add_enum("Vendor_Name", {{"Fujitsu", 0x0004}, {"Kingston", 0x0198}});
        p.add_enum("Initiator", {{"SP", 0x101}, {"Host", 2}});
        p.add_enum("Event_Code", {{"Fan_Fault", 0x00010002}});
        p.add_enum("Message_Type", {{"Warning", 1}});
        p.add_enum("FRU_Type", {{"Motherboard", 0x10001}});
        p.add_enum("Device_Type", {{"Processor", 0x0100}});
        p.add_enum("Entry_Type", {{"Corruption Detected", 1}, {"Creation", 5}});
    }
    void TearDown() override { quillet::release_record_buffer_set(); }

    int32_t parse(const std::string &pairs, const char *description_text = nullptr)
    {
        text_ = pairs;
        ::testing::internal::CaptureStderr();
        const int32_t status = quillet::parse_element_options({text_.data(), description_text}, &file_refused_);
        err_ = ::testing::internal::GetCapturedStderr();
        return status;
    }
    static std::string field(R id, size_t offset, size_t width)
    {
        return to_hex(quillet::record_buffer(id) + offset, width);
    }
    static void fill(R id, uint8_t byte)
    {
        std::memset(quillet::record_buffer(id), byte, quillet::record_buffer_size(id));
    }

    std::string text_, err_;
    bool file_refused_ = false;
};

}  // namespace quillet_test

#endif
