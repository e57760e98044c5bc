#include "ipmi/ipmi_builder.h"

namespace fruplat {

namespace {

constexpr uint8_t kEndOfFields = 0xC1;

uint8_t bcd_digit(char c)
{
    if (c >= '0' && c <= '9')
        return static_cast<uint8_t>(c - '0');
    return c == '-' ? 0x0B : c == '.' ? 0x0C : 0x0A;
}

void close_area(Bytes &area)
{
    area.push_back(kEndOfFields);
    while ((area.size() + 1) % 8 != 0)
        area.push_back(0);
    area[1] = static_cast<uint8_t>((area.size() + 1) / 8);
    uint8_t sum = 0;
    for (uint8_t b : area)
        sum = static_cast<uint8_t>(sum + b);
    area.push_back(static_cast<uint8_t>(-sum));
}

Bytes build_area(const IpmiAreaContent &content, bool board)
{
    Bytes area = {1, 0, content.type_or_language};
    if (board) {
        area.push_back(static_cast<uint8_t>(content.mfg_minutes));
        area.push_back(static_cast<uint8_t>(content.mfg_minutes >> 8));
        area.push_back(static_cast<uint8_t>(content.mfg_minutes >> 16));
    }
    for (const IpmiField &field : content.fields) {
        area.push_back(static_cast<uint8_t>(field.type << 6 | (field.data.size() & 0x3F)));
        area.insert(area.end(), field.data.begin(), field.data.end());
    }
    close_area(area);
    return area;
}

uint8_t zero_checksum(const uint8_t *data, size_t size)
{
    uint8_t sum = 0;
    for (size_t i = 0; i < size; ++i)
        sum = static_cast<uint8_t>(sum + data[i]);
    return static_cast<uint8_t>(-sum);
}

void append_multirecords(Bytes &image, const std::vector<IpmiMultiRecord> &records)
{
    for (size_t n = 0; n < records.size(); ++n) {
        const Bytes &data = records[n].data;
        uint8_t header[5] = {records[n].type, static_cast<uint8_t>(n + 1 == records.size() ? 0x82 : 0x02),
                             static_cast<uint8_t>(data.size()), zero_checksum(data.data(), data.size()), 0};
        header[4] = zero_checksum(header, 4);
        image.insert(image.end(), header, header + 5);
        image.insert(image.end(), data.begin(), data.end());
    }
}

}  // namespace

IpmiField ipmi_text(const std::string &text)
{
    return {3, Bytes(text.begin(), text.end())};
}

IpmiField ipmi_bcd_plus(const std::string &digits)
{
    Bytes data;
    for (size_t i = 0; i < digits.size(); i += 2) {
        const uint8_t low = i + 1 < digits.size() ? bcd_digit(digits[i + 1]) : 0x0A;
        data.push_back(static_cast<uint8_t>(bcd_digit(digits[i]) << 4 | low));
    }
    return {1, data};
}

IpmiField ipmi_six_bit(const std::string &text)
{
    Bytes data;
    for (size_t i = 0; i < text.size(); i += 4) {
        uint32_t packed = 0;
        for (size_t c = 0; c < 4; ++c) {
            const char ch = i + c < text.size() ? text[i + c] : ' ';
            packed |= static_cast<uint32_t>((ch - 0x20) & 0x3F) << (6 * c);
        }
        data.push_back(static_cast<uint8_t>(packed));
        data.push_back(static_cast<uint8_t>(packed >> 8));
        data.push_back(static_cast<uint8_t>(packed >> 16));
    }
    return {2, data};
}

IpmiField ipmi_binary(const Bytes &bytes)
{
    return {0, bytes};
}

Bytes build_ipmi_image(const IpmiImageContent &content)
{
    Bytes image(8, 0);
    image[0] = 1;
    const IpmiAreaContent *areas[] = {&content.chassis, &content.board, &content.product};
    for (int i = 0; i < 3; ++i) {
        if (!areas[i]->present)
            continue;
        image[2 + i] = static_cast<uint8_t>(image.size() / 8);
        const Bytes area = build_area(*areas[i], i == 1);
        image.insert(image.end(), area.begin(), area.end());
    }
    if (!content.multirecords.empty()) {
        image[5] = static_cast<uint8_t>(image.size() / 8);
        append_multirecords(image, content.multirecords);
    }
    image[7] = zero_checksum(image.data(), 7);
    return image;
}

}  // namespace fruplat
