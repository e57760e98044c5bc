// The JSON sink's rendering of each kind of field, and of a store too big
// to hold at once. The text sink's lines for what only a show prints are in
// the show transcript.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "present/json_sink.h"

namespace fruplat {
namespace {

std::string captured(FILE *file)
{
    std::rewind(file);
    std::string text;
    for (int c; (c = std::fgetc(file)) != EOF;)
        text += static_cast<char>(c);
    std::fclose(file);
    return text;
}

std::string json_of(const PresentedField &field)
{
    FILE *file = std::tmpfile();
    JsonSink sink(file);
    sink.begin_container("X", "zan", false);
    present_fields(sink, "R", {field});
    sink.end_container(0);
    EXPECT_TRUE(sink.finish());
    const std::string text = captured(file);
    const size_t begin = text.find("\"fields\":[") + 10;
    return text.substr(begin, text.find("]}]}") - begin);
}

PresentedField enum_field(const char *symbol)
{
    PresentedField field("initiator", "unknown (0x00)", ValueKind::Enum, 0);
    field.symbol = symbol;
    return field;
}

TEST(JsonSink, RendersEveryKindWithItsKeys)
{
    const struct {
        PresentedField field;
        const char *json;
    } cases[] = {
        {{"name", "a\"b\\c\t"}, R"j({"name":"name","kind":"text","text":"a\"b\\c\u0009"})j"},
        // UTF-8 as it is (a JEP106 maker's apostrophe, an accented path);
        // bytes that start no character, overlong forms and surrogates as
        // their codes.
        {{"name", "Xi\u2019an caf\u00e9"}, "{\"name\":\"name\",\"kind\":\"text\",\"text\":\"Xi\u2019an caf\u00e9\"}"},
        {{"name", "\xff\xc0\xaf\xed\xa0\x80\xe2\x80"},
         R"j({"name":"name","kind":"text","text":"\u00ff\u00c0\u00af\u00ed\u00a0\u0080\u00e2\u0080"})j"},
        {number_field("capacity", "8192 MB", 8192, "MB"),
         R"j({"name":"capacity","kind":"number","text":"8192 MB","value":8192,"unit":"MB"})j"},
        {number_field("geo_east", "-740012", -740012),
         R"j({"name":"geo_east","kind":"number","text":"-740012","value":-740012,"unit":""})j"},
        {bytes_field("macaddr", "00:03:ba", {0x00, 0x03, 0xba}),
         R"j({"name":"macaddr","kind":"bytes","text":"00:03:ba","hex":"0003ba"})j"},
        {status_field("crc", "BAD", 75),
         R"j({"name":"crc","kind":"status","text":"BAD","status":75,"error":"Checksum of the FRU header or area does not hold"})j"},
        {enum_field(""), R"j({"name":"initiator","kind":"enum","text":"unknown (0x00)","value":0,"symbol":null})j"},
        {enum_field("SP"), R"j({"name":"initiator","kind":"enum","text":"unknown (0x00)","value":0,"symbol":"SP"})j"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(json_of(c.field), c.json) << c.field.name;
}

// A store's document goes out in pieces of whole containers: every
// container once, in order, the document closed once, and a failed write
// anywhere is reported at the end.
TEST(JsonSink, WritesAStoreOfAnySizeWholeAndReportsAFailedWrite)
{
    const auto nac = [](size_t n) {
        std::string nac = "C";  // appended: GCC 12 misjudges "C" + std::string
        return nac += std::to_string(n);
    };
    const auto show = [&](FILE *file) {
        JsonSink sink(file);
        for (size_t n = 0; n < 1000; ++n) {
            sink.begin_container(nac(n), "zan", false);
            present_fields(sink, "R", {{"f", std::string(300, 'x')}});
            sink.end_container(0);
        }
        return sink.finish();
    };
    FILE *file = std::tmpfile();
    ASSERT_TRUE(show(file));
    const std::string document = captured(file);
    ASSERT_GT(document.size(), size_t{1} << 18);
    for (size_t n = 0, at = 0; n < 1000; ++n) {
        at = document.find("{\"nac\":\"" + nac(n) + '"', at);
        ASSERT_NE(at, std::string::npos) << n;
    }
    EXPECT_EQ(document.rfind("{\"format\""), 0u);
    EXPECT_TRUE(document.ends_with("\"error\":null}\n]}\n"));

    FILE *full = std::fopen("/dev/full", "w");
    ASSERT_NE(full, nullptr);
    EXPECT_FALSE(show(full));
    std::fclose(full);
}

}  // namespace
}  // namespace fruplat
