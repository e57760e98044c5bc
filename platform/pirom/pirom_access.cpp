// PIROM containers: the processor information ROM, one read-only record.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <strings.h>

#include "access/family.h"
#include "platform/fru_access.h"
#include "present/presenter.h"
#include "present/text_sink.h"
#include "registry/registry.h"
#include "store/image_file.h"
#include "store/status.h"

namespace fruplat {

namespace {

constexpr size_t kPiromSize = 128;
constexpr size_t kRowBytes = 16;

int32_t check_name(const char *name)
{
    if (name == nullptr)
        return kInvalidArgument;
    const RecordDef *def = nullptr;
    return record_of_family(Family::Pirom, name, &def);
}

// Sixteen bytes a line, offset first and the printable characters last.
std::vector<PresentedLine> annotated_dump(const Bytes &rom)
{
    std::vector<PresentedLine> lines;
    for (size_t row = 0; row < rom.size(); row += kRowBytes) {
        const size_t n = std::min(kRowBytes, rom.size() - row);
        std::string text = hex_bytes(&rom[row], n, " ") + "  |";
        for (size_t i = 0; i < n; ++i)
            text += rom[row + i] >= 0x20 && rom[row + i] < 0x7F ? static_cast<char>(rom[row + i]) : '.';
        // The ROM is 128 bytes: two hex digits hold every offset.
        static const char kDigits[] = "0123456789abcdef";
        const char offset[] = {'0', 'x', kDigits[row >> 4 & 15], kDigits[row & 15], '\0'};
        lines.push_back(bytes_field(offset, text + "|", Bytes(&rom[row], &rom[row] + n)));
    }
    return lines;
}

int32_t rom_of(const Bytes &image, Bytes *rom)
{
    if (image.size() < kPiromSize)
        return kImageDamaged;
    rom->assign(image.begin(), image.begin() + kPiromSize);
    return kOk;
}

// The ROM as the engineer reads it, its raw bytes in the fields for a
// program.
int32_t pirom_present_image(const Bytes &image, const ContainerEntry *, PresentSink &sink)
{
    Bytes rom;
    const int32_t found = rom_of(image, &rom);
    if (found != kOk)
        return found;
    RecordStart start;
    start.name = "PIROM_DataR";
    start.heading = "PIROM_DataR: 128 bytes, offset: bytes |ASCII|";
    sink.begin_record(start);
    for (const PresentedField &line : annotated_dump(rom))
        sink.field(line);
    sink.end_record();
    return kOk;
}

int32_t pirom_access(const ContainerEntry &entry, int32_t operation, const char *name, uint8_t *,
                     int32_t *)
{
    int32_t status = check_name(name);
    if (status != kOk)
        return status;
    if (operation != FRU_OP_READ)
        return kPiromReadOnly;
    return with_image(entry, Access::Read, [&entry](Bytes &image) -> int32_t {
        TextSink text(stdout);
        return pirom_present_image(image, &entry, text);
    });
}

int32_t pirom_read_record(const ContainerEntry &entry, const char *name, uint8_t *buffer,
                          int32_t *length)
{
    const int32_t status = check_name(name);
    if (status != kOk)
        return status;
    return read_stored(entry, buffer, length, rom_of);
}

}  // namespace

const FamilyHandler kPiromHandler = {pirom_access, pirom_read_record, no_iterative_records,
                                     pirom_present_image, nullptr, nullptr, nullptr,
                                     nullptr, nullptr, nullptr, nullptr, nullptr, nullptr};

}  // namespace fruplat
