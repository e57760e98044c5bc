// Decodes an SPD by its memory-type byte, through the generation table's
// decoder; the fields' notation is shared by all of them.
#include <cstdarg>
#include <cstdio>

#include "dimm/spd.h"
#include "dimm/spd_decode_internal.h"
#include "dimm/spd_generation.h"

namespace fruplat {

namespace spd {

std::string printf_text(const char *format, ...)
{
    char text[160];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    return text;
}

PresentedField revision_field(uint8_t bcd)
{
    return {"spd_revision", printf_text("%u.%u", bcd >> 4, bcd & 0x0F)};
}

PresentedField capacity_field(uint64_t megabytes)
{
    return number_field("capacity", printf_text("%llu MB", static_cast<unsigned long long>(megabytes)),
                        static_cast<int64_t>(megabytes), "MB");
}

PresentedField count_field(const char *name, uint64_t count)
{
    return number_field(name, std::to_string(count), static_cast<int64_t>(count));
}

PresentedField bits_field(const char *name, unsigned bits)
{
    return number_field(name, std::to_string(bits) + " bits", bits, "bits");
}

PresentedField voltage_field(unsigned millivolts)
{
    // "1.5 V", "1.35 V", "1.2 V": no trailing zeros past the first decimal.
    std::string text = printf_text("%u.%03u", millivolts / 1000, millivolts % 1000);
    while (text.back() == '0' && text[text.size() - 2] != '.')
        text.pop_back();
    return number_field("nominal_voltage", text + " V", millivolts, "mV");
}

PresentedField maker_field(const char *name, uint8_t continuation, uint8_t code)
{
    return {name, jedec_manufacturer(continuation & 0x7F, code)};
}

void maker_fields(const Bytes &spd, const MakerLayout &layout, Fields &fields)
{
    fields.push_back(maker_field("module_manufacturer", spd[layout.module_maker], spd[layout.module_maker + 1]));
    if (layout.dram_maker != 0)
        fields.push_back(maker_field("dram_manufacturer", spd[layout.dram_maker], spd[layout.dram_maker + 1]));
    fields.push_back(location_field(spd[layout.location]));
    fields.push_back(date_field(spd[layout.date], spd[layout.date + 1]));
    fields.push_back(serial_field(spd, layout.serial));
    fields.push_back(part_field(spd, layout.part, layout.part_size));
}

PresentedField location_field(uint8_t location)
{
    return {"manufacturing_location", printf_text("0x%02X", location)};
}

// Two BCD bytes, the year's last two digits and the week. Some makers wrote
// them in binary: bytes that are not BCD but hold a year up to 99 and a
// week from 1 to 53 are read so, as decode-dimms reads them; anything else
// is shown as it is. Years 80 to 99 are the last century's.
PresentedField date_field(uint8_t year_byte, uint8_t week_byte)
{
    const auto is_bcd = [](uint8_t byte) { return (byte >> 4) <= 9 && (byte & 0x0F) <= 9; };
    const auto from_bcd = [](uint8_t byte) { return static_cast<unsigned>(byte >> 4) * 10 + (byte & 0x0Fu); };
    // Neither written (0) nor ever programmed (erased).
    if ((year_byte == 0 && week_byte == 0) || (year_byte == 0xFF && week_byte == 0xFF))
        return {"manufacturing_date", "unspecified"};
    unsigned year = year_byte, week = week_byte;
    if (is_bcd(year_byte) && is_bcd(week_byte))
        year = from_bcd(year_byte), week = from_bcd(week_byte);
    else if (year > 99 || week < 1 || week > 53)
        return {"manufacturing_date", printf_text("0x%02X%02X", year_byte, week_byte)};
    return {"manufacturing_date", printf_text("%u-W%02u", (year >= 80 ? 1900 : 2000) + year, week)};
}

PresentedField serial_field(const Bytes &spd, size_t at)
{
    return bytes_field("serial_number",
                       printf_text("0x%02X%02X%02X%02X", spd[at], spd[at + 1], spd[at + 2], spd[at + 3]),
                       Bytes(spd.begin() + static_cast<long>(at), spd.begin() + static_cast<long>(at + 4)));
}

PresentedField part_field(const Bytes &spd, size_t at, size_t size)
{
    std::string text(reinterpret_cast<const char *>(&spd[at]), size);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\0'))
        text.pop_back();
    for (char &c : text)
        if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) >= 0x7F)
            c = '?';
    return {"part_number", text};
}

PresentedField crc_field(const char *name, const Bytes &spd, size_t first, size_t last, size_t stored_at)
{
    const uint16_t computed = spd_crc16(&spd[first], last - first + 1);
    const unsigned stored = le16(spd, stored_at);
    if (stored == computed)
        return {name, printf_text("OK (0x%04X over bytes %zu-%zu)", stored, first, last)};
    return {name, printf_text("BAD (stored 0x%04X, computed 0x%04X over bytes %zu-%zu)", stored, computed, first,
                              last)};
}

Clock standard_clock(int64_t stored_fs, int64_t tolerance_fs, int64_t unit_fs)
{
    for (int64_t n = 1; n <= 40; ++n) {
        const int64_t gap = stored_fs * n - unit_fs;
        if (gap > -tolerance_fs * n && gap < tolerance_fs * n)
            return {unit_fs, n, stored_fs};
    }
    return {stored_fs, 1, stored_fs};
}

void speed_fields(Fields &fields, const Clock &clock, unsigned bus_bits, const char *grade, bool nearest)
{
    if (clock.fs_numerator <= 0) {
        fields.push_back({"cycle_time", "undefined"});
        fields.push_back({"max_speed", "undefined"});
        return;
    }
    const int64_t ps = (clock.stored_fs + 500) / 1000;
    fields.push_back(number_field("cycle_time", printf_text("%lld.%03lld ns", static_cast<long long>(ps / 1000),
                                                            static_cast<long long>(ps % 1000)),
                                  ps, "ps"));
    // 2000 / period in ns, truncated; the grade is the transfer rate times
    // the bus width in bytes, rounded down to a hundred (first-generation
    // DDR: to the nearest, as in PC2700 for DDR-333).
    const int64_t rate = 2000000000 * clock.denominator / clock.fs_numerator;
    const int64_t bytes_per_second = 2000000000 * clock.denominator * bus_bits / 8;
    int64_t module = (bytes_per_second + (nearest ? 50 * clock.fs_numerator : 0)) / clock.fs_numerator;
    module -= module % 100;
    fields.push_back(number_field("max_speed",
                                  printf_text("%lld MT/s (%s%lld)", static_cast<long long>(rate), grade,
                                              static_cast<long long>(module)),
                                  rate, "MT/s"));
}

long long clock_cycles(const Clock &clock, int64_t fs, int guard_thousandths)
{
    const int64_t over = fs * clock.denominator * 1000 - guard_thousandths * clock.fs_numerator;
    const int64_t whole = clock.fs_numerator * 1000;
    return over <= 0 ? 0 : (over + whole - 1) / whole;
}

void timing_field(Fields &fields, const Clock &clock, const CoreTimes &times, int guard_thousandths)
{
    if (clock.fs_numerator <= 0)
        return;
    const auto cycles = [&](int64_t fs) { return clock_cycles(clock, fs, guard_thousandths); };
    fields.push_back({"timings", printf_text("%lld-%lld-%lld-%lld", cycles(times.aa_fs), cycles(times.rcd_fs),
                                             cycles(times.rp_fs), cycles(times.ras_fs))});
}

}  // namespace spd

std::vector<PresentedLine> decode_spd(const Bytes &bytes)
{
    std::vector<PresentedLine> fields;
    const SpdGeneration *generation = spd_generation(bytes);
    if (generation == nullptr)
        return fields;
    fields.push_back({"memory_type", generation->name});
    if (bytes.size() < generation->decode_size)
        fields.push_back({"decode", spd::printf_text("SPD too short: %zu of %zu bytes", bytes.size(),
                                                     generation->decode_size)});
    else
        generation->decode(bytes, fields);
    return fields;
}

}  // namespace fruplat
