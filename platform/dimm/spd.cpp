#include "dimm/spd.h"

#include <cstdarg>
#include <cstdio>

#include "registry/registry.h"

namespace fruplat {

namespace {

struct TypeInfo {
    uint8_t code;
    SpdType type;
    const char *name;
    const char *record;
    size_t length;
};

constexpr TypeInfo kTypes[] = {
    {0x07, SpdType::Ddr, "DDR SDRAM", "SPD1_R", 128},
    {0x08, SpdType::Ddr2, "DDR2 SDRAM", "SPD1_R", 128},
    {0x09, SpdType::FbDimm, "DDR2 SDRAM FB-DIMM", "SPD_FBDIMM_R", 176},
    {0x0B, SpdType::Ddr3, "DDR3 SDRAM", "SPD_DDR3_R", 176},
};

const char *const kDdr3ModuleTypes[] = {
    "Undefined", "RDIMM", "UDIMM", "SO-DIMM", "Micro-DIMM", "Mini-RDIMM", "Mini-UDIMM",
    "Mini-CDIMM", "72b-SO-UDIMM", "72b-SO-RDIMM", "72b-SO-CDIMM", "LRDIMM", "16b-SO-DIMM",
    "32b-SO-DIMM", "Undefined", "Undefined",
};

struct Ddr2ModuleType {
    uint8_t bit;
    const char *name;
};

constexpr Ddr2ModuleType kDdr2ModuleTypes[] = {
    {0x01, "RDIMM"}, {0x02, "UDIMM"}, {0x04, "SO-DIMM"},
    {0x08, "Micro-DIMM"}, {0x10, "Mini-RDIMM"}, {0x20, "Mini-UDIMM"},
};

const TypeInfo *type_info(const Bytes &spd)
{
    if (spd.size() < 3)
        return nullptr;
    for (const TypeInfo &t : kTypes)
        if (t.code == spd[2])
            return &t;
    return nullptr;
}

std::string printf_text(const char *format, ...) __attribute__((format(printf, 1, 2)));
std::string printf_text(const char *format, ...)
{
    char text[128];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    return text;
}

std::string ascii_field(const uint8_t *data, size_t size)
{
    std::string text(reinterpret_cast<const char *>(data), size);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\0'))
        text.pop_back();
    for (char &c : text)
        if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) >= 0x7F)
            c = '?';
    return text;
}

std::string bcd_date(uint8_t year, uint8_t week)
{
    if (year == 0 && week == 0)
        return "unspecified";
    return printf_text("20%02X-W%02X", year, week);
}

std::string serial(const uint8_t *data)
{
    return printf_text("0x%02X%02X%02X%02X", data[0], data[1], data[2], data[3]);
}

std::string megabytes(uint64_t mb)
{
    return printf_text("%llu MB", static_cast<unsigned long long>(mb));
}

// DDR3 and FB-DIMM: manufacturer data from byte 117, CRC in 126-127.
void decode_crc_layout(const Bytes &spd, std::vector<PresentedLine> &lines)
{
    const size_t covered = (spd[0] & 0x80) != 0 ? 116 : 125;
    const uint16_t computed = spd_crc16(spd.data(), covered + 1);
    const uint16_t stored = static_cast<uint16_t>(spd[126] | spd[127] << 8);
    lines.push_back({"module_manufacturer", jedec_manufacturer(spd[117] & 0x7F, spd[118])});
    lines.push_back({"manufacturing_location", printf_text("0x%02X", spd[119])});
    lines.push_back({"manufacturing_date", bcd_date(spd[120], spd[121])});
    lines.push_back({"serial_number", serial(&spd[122])});
    lines.push_back({"part_number", ascii_field(&spd[128], 18)});
    lines.push_back({"crc", stored == computed
                                ? printf_text("OK (0x%04X over bytes 0-%zu)", stored, covered)
                                : printf_text("BAD (stored 0x%04X, computed 0x%04X over bytes 0-%zu)",
                                              stored, computed, covered)});
}

void decode_ddr3(const Bytes &spd, std::vector<PresentedLine> &lines)
{
    const unsigned die_mbit = 256u << (spd[4] & 0x0F);
    const unsigned bus = 8u << (spd[8] & 0x07);
    const unsigned width = 4u << (spd[7] & 0x07);
    const unsigned ranks = ((spd[7] >> 3) & 0x07) + 1;
    lines.push_back({"module_type", kDdr3ModuleTypes[spd[3] & 0x0F]});
    lines.push_back({"capacity", megabytes(uint64_t{die_mbit} / 8 * bus / width * ranks)});
    lines.push_back({"ranks", std::to_string(ranks)});
    lines.push_back({"device_width", std::to_string(width) + " bits"});
    lines.push_back({"data_width", std::to_string(bus) + " bits"});
    lines.push_back({"ecc", ((spd[8] >> 3) & 0x03) == 1 ? "yes (8-bit extension)" : "no"});
    decode_crc_layout(spd, lines);
}

// FB-DIMM addressing: byte 4 holds rows (bits 7-5, from 12), columns (bits
// 4-2, from 9) and banks (bits 1-0, 4 << n); byte 7 the device width (bits
// 2-0, 4 << n) and ranks (bits 5-3, plus one). Data is 64 bits wide.
void decode_fbdimm(const Bytes &spd, std::vector<PresentedLine> &lines)
{
    const unsigned rows = 12 + ((spd[4] >> 5) & 0x07);
    const unsigned columns = 9 + ((spd[4] >> 2) & 0x07);
    const unsigned banks = 4u << (spd[4] & 0x03);
    const unsigned width = 4u << (spd[7] & 0x07);
    const unsigned ranks = ((spd[7] >> 3) & 0x07) + 1;
    const uint64_t bytes_per_rank = (uint64_t{1} << (rows + columns)) * banks * 8;
    lines.push_back({"module_type", "FB-DIMM"});
    lines.push_back({"capacity", megabytes(bytes_per_rank * ranks >> 20)});
    lines.push_back({"ranks", std::to_string(ranks)});
    lines.push_back({"device_width", std::to_string(width) + " bits"});
    lines.push_back({"data_width", "64 bits"});
    lines.push_back({"ecc", "yes (8-bit extension)"});
    decode_crc_layout(spd, lines);
}

void decode_ddr_ddr2(const Bytes &spd, bool ddr2, std::vector<PresentedLine> &lines)
{
    std::string module_type = "unspecified";
    if (ddr2) {
        module_type.clear();
        for (const Ddr2ModuleType &t : kDdr2ModuleTypes)
            if ((spd[20] & t.bit) != 0)
                module_type += (module_type.empty() ? "" : ", ") + std::string(t.name);
        if (module_type.empty())
            module_type = "Undefined";
    }
    const unsigned ranks = ddr2 ? (spd[5] & 0x07) + 1u : spd[5];
    const int address_bits = (spd[3] & 0x0F) + (spd[4] & 0x0F) - 17;
    const uint64_t size = address_bits > 0 && address_bits <= 12
                              ? (uint64_t{1} << address_bits) * ranks * spd[17]
                              : 0;
    unsigned continuations = 0;
    while (continuations < 7 && spd[64 + continuations] == 0x7F)
        ++continuations;
    uint8_t checksum = 0;
    for (size_t i = 0; i < 63; ++i)
        checksum = static_cast<uint8_t>(checksum + spd[i]);
    lines.push_back({"spd_revision", printf_text("%u.%u", spd[62] >> 4, spd[62] & 0x0F)});
    lines.push_back({"module_type", module_type});
    lines.push_back({"capacity", size != 0 ? megabytes(size) : "invalid geometry"});
    lines.push_back({"ranks", std::to_string(ranks)});
    lines.push_back({"device_width", std::to_string(spd[13]) + " bits"});
    lines.push_back({"data_width", std::to_string(spd[6] | spd[7] << 8) + " bits"});
    lines.push_back({"ecc", (spd[11] & 0x02) != 0 ? "yes" : "no"});
    lines.push_back({"module_manufacturer", jedec_manufacturer(continuations, spd[64 + continuations])});
    lines.push_back({"manufacturing_location", printf_text("0x%02X", spd[72])});
    lines.push_back({"manufacturing_date", bcd_date(spd[93], spd[94])});
    lines.push_back({"serial_number", serial(&spd[95])});
    lines.push_back({"part_number", ascii_field(&spd[73], 18)});
    lines.push_back({"checksum", checksum == spd[63]
                                     ? printf_text("OK (0x%02X over bytes 0-62)", checksum)
                                     : printf_text("BAD (stored 0x%02X, computed 0x%02X over bytes 0-62)",
                                                   spd[63], checksum)});
}

}  // namespace

SpdType spd_type(const Bytes &spd)
{
    const TypeInfo *info = type_info(spd);
    return info != nullptr ? info->type : SpdType::Other;
}

const char *spd_record_name(SpdType type, size_t *length)
{
    for (const TypeInfo &t : kTypes) {
        if (t.type == type) {
            *length = t.length;
            return t.record;
        }
    }
    return nullptr;
}

uint16_t spd_crc16(const uint8_t *data, size_t size)
{
    unsigned crc = 0;
    for (size_t i = 0; i < size; ++i) {
        crc ^= static_cast<unsigned>(data[i]) << 8;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 0x8000) != 0 ? (crc << 1) ^ 0x1021 : crc << 1;
    }
    return static_cast<uint16_t>(crc);
}

std::string jedec_manufacturer(unsigned continuations, uint8_t code)
{
    std::string name;
    if (const char *known = enum_name("Vendor_Name", continuations << 8 | code)) {
        name = known;
        for (char &c : name)
            if (c == '_')
                c = ' ';
    } else {
        name = "unknown";
    }
    return name + printf_text(" (bank %u, 0x%02X)", continuations + 1, code);
}

std::vector<PresentedLine> decode_spd(const Bytes &spd)
{
    std::vector<PresentedLine> lines;
    const TypeInfo *info = type_info(spd);
    if (info == nullptr || spd.size() < info->length)
        return lines;
    lines.push_back({"memory_type", info->name});
    if (info->type == SpdType::Ddr3 || info->type == SpdType::FbDimm) {
        lines.push_back({"spd_revision", printf_text("%u.%u", spd[1] >> 4, spd[1] & 0x0F)});
        info->type == SpdType::Ddr3 ? decode_ddr3(spd, lines) : decode_fbdimm(spd, lines);
    } else {
        decode_ddr_ddr2(spd, info->type == SpdType::Ddr2, lines);
    }
    return lines;
}

}  // namespace fruplat
