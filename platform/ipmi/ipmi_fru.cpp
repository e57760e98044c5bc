#include "ipmi/ipmi_fru.h"

#include <cstdio>

#include "store/status.h"

namespace fruplat {

namespace {

// Where each area's offset sits in the common header, how many fixed bytes
// open it, and the names of its fields in order; later fields are custom.
struct AreaLayout {
    IpmiArea area;
    size_t header_slot;
    size_t fixed_bytes;
    std::vector<const char *> fields;
};

const AreaLayout kLayouts[] = {
    {IpmiArea::Chassis, 2, 3, {"part_number", "serial_number"}},
    {IpmiArea::Board, 3, 6,
     {"manufacturer", "product_name", "serial_number", "part_number", "fru_file_id"}},
    {IpmiArea::Product, 4, 3,
     {"manufacturer", "product_name", "part_model_number", "version", "serial_number",
      "asset_tag", "fru_file_id"}},
};

constexpr uint8_t kEndOfFields = 0xC1;
constexpr size_t kCommonHeaderSize = 8;
constexpr uint32_t kMinutesFrom1970To1996 = 13674240;  // 9496 days

// SMBIOS system enclosure types, as the chassis area uses them.
const char *const kChassisTypes[] = {
    nullptr, "Other", "Unknown", "Desktop", "Low Profile Desktop", "Pizza Box", "Mini Tower",
    "Tower", "Portable", "LapTop", "Notebook", "Hand Held", "Docking Station", "All in One",
    "Sub Notebook", "Space-saving", "Lunch Box", "Main Server Chassis", "Expansion Chassis",
    "SubChassis", "Bus Expansion Chassis", "Peripheral Chassis", "RAID Chassis",
    "Rack Mount Chassis", "Sealed-case PC", "Multi-system chassis", "Compact PCI",
    "Advanced TCA", "Blade", "Blade Enclosure", "Tablet", "Convertible", "Detachable",
    "IoT Gateway", "Embedded PC", "Mini PC", "Stick PC",
};

const AreaLayout &layout_of(IpmiArea area)
{
    for (const AreaLayout &layout : kLayouts)
        if (layout.area == area)
            return layout;
    return kLayouts[0];
}

bool sums_to_zero(const uint8_t *data, size_t size)
{
    uint8_t sum = 0;
    for (size_t i = 0; i < size; ++i)
        sum = static_cast<uint8_t>(sum + data[i]);
    return sum == 0;
}

std::string bcd_plus(const uint8_t *data, size_t size)
{
    static const char kDigits[] = "0123456789 -.???";
    std::string text;
    for (size_t i = 0; i < size; ++i) {
        text += kDigits[data[i] >> 4];
        text += kDigits[data[i] & 0x0F];
    }
    return text;
}

// Four characters in three bytes, least significant bits first.
std::string packed_six_bit(const uint8_t *data, size_t size)
{
    std::string text;
    const size_t characters = size * 8 / 6;
    for (size_t c = 0; c < characters; ++c) {
        const size_t bit = c * 6;
        const size_t byte = bit / 8;
        unsigned value = data[byte];
        if (byte + 1 < size)
            value |= static_cast<unsigned>(data[byte + 1]) << 8;
        text += static_cast<char>(((value >> (bit % 8)) & 0x3F) + 0x20);
    }
    return text;
}


// Two bytes a character, least significant first, as UTF-8; a code that
// is no character (a control, half a surrogate pair) and an odd last byte
// are shown as their codes.
std::string unicode_text(const uint8_t *data, size_t size)
{
    std::string text;
    for (size_t i = 0; i + 1 < size; i += 2) {
        const unsigned unit = data[i] | static_cast<unsigned>(data[i + 1]) << 8;
        if (unit >= 0x20 && unit < 0x7F) {
            text += static_cast<char>(unit);
        } else if (unit >= 0xA0 && unit < 0x800) {
            text += static_cast<char>(0xC0 | unit >> 6);
            text += static_cast<char>(0x80 | (unit & 0x3F));
        } else if (unit >= 0x800 && (unit < 0xD800 || unit > 0xDFFF)) {
            text += static_cast<char>(0xE0 | unit >> 12);
            text += static_cast<char>(0x80 | (unit >> 6 & 0x3F));
            text += static_cast<char>(0x80 | (unit & 0x3F));
        } else {
            text += "\\u";
            append_hex(text, unit, 4);
        }
    }
    if (size % 2 != 0) {
        text += "\\x";
        append_hex(text, data[size - 1], 2);
    }
    return text;
}

// Language code 25 is English, as is 0 (none given).
constexpr uint8_t kEnglish = 25;

// Text is shown without the blanks that pad it (6-bit and BCD plus fields
// are padded to whole bytes); binary data is shown whole.
std::string tagged(std::string value, const char *encoding)
{
    const bool binary = encoding != nullptr && encoding[0] == 'b';
    while (!binary && !value.empty() && value.back() == ' ')
        value.pop_back();
    return encoding == nullptr ? value : value + " [" + encoding + "]";
}

}  // namespace

std::string decode_ipmi_field(uint8_t type_length, const uint8_t *data, bool english, const char **encoding)
{
    const size_t size = type_length & 0x3F;
    switch (type_length >> 6) {
    case 0:
        *encoding = "binary";
        return hex_bytes(data, size, " ");
    case 1:
        *encoding = "BCD plus";
        return bcd_plus(data, size);
    case 2:
        *encoding = "6-bit ASCII";
        return packed_six_bit(data, size);
    default:
        // 8-bit ASCII and Latin-1 in an English area, two-byte Unicode in
        // an area of any other language.
        *encoding = english ? nullptr : "Unicode";
        return english ? printable_text(data, size) : unicode_text(data, size);
    }
}

const char *chassis_type_name(uint8_t type)
{
    return type < sizeof kChassisTypes / sizeof kChassisTypes[0] ? kChassisTypes[type] : nullptr;
}

std::string format_ipmi_date(uint32_t minutes)
{
    if (minutes == 0)
        return "unspecified";
    return format_utc((minutes + kMinutesFrom1970To1996) * 60u);
}

int32_t ipmi_area_bytes(const Bytes &image, IpmiArea area, Bytes *bytes)
{
    if (image.size() < kCommonHeaderSize || (image[0] & 0x0F) != 1 ||
        !sums_to_zero(image.data(), kCommonHeaderSize))
        return kAreaChecksum;
    const size_t offset = static_cast<size_t>(image[layout_of(area).header_slot]) * 8;
    if (offset == 0)
        return kAbsent;
    if (offset + 2 > image.size())
        return kImageDamaged;
    const size_t length = static_cast<size_t>(image[offset + 1]) * 8;
    if (length < 8 || length > image.size() - offset)
        return kImageDamaged;
    if (!sums_to_zero(&image[offset], length))
        return kAreaChecksum;
    bytes->assign(image.begin() + static_cast<long>(offset),
                  image.begin() + static_cast<long>(offset + length));
    return kOk;
}

int32_t decode_ipmi_area(const Bytes &image, IpmiArea area, std::vector<PresentedLine> *lines)
{
    Bytes bytes;
    const int32_t status = ipmi_area_bytes(image, area, &bytes);
    if (status != kOk)
        return status;
    const AreaLayout &layout = layout_of(area);
    lines->clear();
    char text[64];
    lines->push_back({"format_version", std::to_string(bytes[0] & 0x0F)});
    // The chassis area has no language: its text is English.
    const bool english = area == IpmiArea::Chassis || bytes[2] == 0 || bytes[2] == kEnglish;
    if (area == IpmiArea::Chassis) {
        const char *name = chassis_type_name(bytes[2]);
        std::snprintf(text, sizeof text, "%s (0x%02x)", name != nullptr ? name : "unknown", bytes[2]);
        lines->push_back({"chassis_type", text});
    } else {
        std::snprintf(text, sizeof text, "%u%s", bytes[2], english ? " (English)" : "");
        lines->push_back({"language", text});
    }
    if (area == IpmiArea::Board)
        lines->push_back({"mfg_date_time",
                          format_ipmi_date(static_cast<uint32_t>(bytes[3]) |
                                           static_cast<uint32_t>(bytes[4]) << 8 |
                                           static_cast<uint32_t>(bytes[5]) << 16)});
    // The last byte is the area checksum; fields end at the end marker.
    const size_t end = bytes.size() - 1;
    size_t at = layout.fixed_bytes;
    size_t index = 0;
    while (at < end && bytes[at] != kEndOfFields) {
        const size_t size = bytes[at] & 0x3F;
        if (size > end - at - 1)
            return kImageDamaged;
        const char *encoding = nullptr;
        const std::string value = decode_ipmi_field(bytes[at], &bytes[at + 1], english, &encoding);
        const std::string name = index < layout.fields.size()
                                     ? layout.fields[index]
                                     : "custom_" + std::to_string(index - layout.fields.size() + 1);
        lines->push_back({name, tagged(value, encoding)});
        at += 1 + size;
        ++index;
    }
    return kOk;
}

std::string printable_text(const uint8_t *data, size_t size)
{
    std::string text;
    for (size_t i = 0; i < size; ++i) {
        if (data[i] >= 0x20 && data[i] < 0x7F) {
            text += static_cast<char>(data[i]);
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02x", data[i]);
            text += escaped;
        }
    }
    return text;
}

}  // namespace fruplat
