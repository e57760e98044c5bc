// The text of IPMI information areas as the area's language stores it:
// type 3 is 8-bit text in English and two-byte Unicode in any other
// language, which FreeIPMI does not decode, so it is checked here.
#include <gtest/gtest.h>

#include "ipmi/ipmi_builder.h"
#include "ipmi/ipmi_fru.h"

namespace {

using fruplat::Bytes;

std::string product_name(uint8_t language, const Bytes &stored)
{
    fruplat::IpmiImageContent content;
    content.product = {true, language, 0, {fruplat::ipmi_text("Maker"), {3, stored}}};
    std::vector<fruplat::PresentedLine> lines;
    EXPECT_EQ(fruplat::decode_ipmi_area(fruplat::build_ipmi_image(content), fruplat::IpmiArea::Product, &lines), 0);
    for (const auto &line : lines)
        if (line.name == "product_name")
            return line.value;
    return "<missing>";
}

TEST(IpmiText, TypeThreeIsUnicodeOutsideEnglish)
{
    const struct {
        uint8_t language;
        Bytes stored;
        const char *shown;
    } cases[] = {
        {25, {'P', 'S', 'U', 0xE9}, "PSU\\xe9"},  // English: 8-bit, Latin-1 shown as its code
        {0, {'P', 'S', 'U'}, "PSU"},
        // German (language 23): two bytes a character.
        {23, {'N', 0, 0xFC, 0, 'r', 0}, "N\u00fcr [Unicode]"},
        {23, {0xAC, 0x20, '1', 0}, "\u20ac1 [Unicode]"},            // the euro sign, three UTF-8 bytes
        {23, {0x07, 0, 0x00, 0xD8, 'A'}, "\\u0007\\ud800\\x41 [Unicode]"},  // a control, half a pair, a stray byte
    };
    for (const auto &c : cases)
        EXPECT_EQ(product_name(c.language, c.stored), c.shown) << int(c.language);
}

}  // namespace
