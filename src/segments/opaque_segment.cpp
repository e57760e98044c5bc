#include "segments/opaque_segment.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/fru_access.h"
#include "records/byte_order.h"
#include "records/status.h"
#include "records/suboptions.h"
#include "records/value_conversion.h"
#include "segments/segment_names.h"

namespace quillet {

namespace {

// Hexadecimal inline data is converted through one 64-bit number, which
// holds at most seven whole bytes after the 0x; longer hexadecimal data is
// converted digit pair by digit pair instead of being left as zeros.
constexpr uint32_t kLongestNumericHex = 7;

enum SuboptionToken { kSegname, kFilename, kData, kSection, kSize };
const char *const kTokens[] = {"segname", "filename", "data", "section", "size", nullptr};

const char kSectionMessage[] = "Please provider either STATIC or DYNAMIC section area.\n";

struct OpaqueRequest {
    const char *segment_name = nullptr;
    const char *file_name = nullptr;
    const char *size_text = nullptr;
    bool data_given = false;
    int32_t section = FRU_SECTION_DYNAMIC;
    bool static_flag = false;
    bool dynamic_flag = false;
    uint8_t data[kOpaqueDataSize];
    uint32_t data_length = 0;
};

int hex_digit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Digits after a leading 0x, two per byte, up to the first non-digit; the
// rest of the counted length stays zero.
void convert_long_hex(const char *value, uint8_t *data, uint32_t length)
{
    const char *digits = value;
    if (digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X'))
        digits += 2;
    for (uint32_t i = 0; i < length; ++i) {
        const int high = hex_digit(digits[2 * i]);
        const int low = high < 0 ? -1 : hex_digit(digits[2 * i + 1]);
        if (low < 0)
            break;
        data[i] = static_cast<uint8_t>(high << 4 | low);
    }
}

void take_data(OpaqueRequest &request, const char *value)
{
    const size_t length = std::strlen(value);
    if (std::strstr(value, "0x") != nullptr) {
        request.data_length = static_cast<uint32_t>((length - 2) / 2);
        const uint32_t kept = request.data_length < kOpaqueDataSize ? request.data_length
                                                                    : kOpaqueDataSize;
        if (request.data_length <= kLongestNumericHex) {
            uint8_t image[8];
            store_be(image, static_cast<uint64_t>(hexadecimal_value(value)), sizeof image);
            std::memcpy(request.data, image + sizeof image - kept, kept);
        } else {
            convert_long_hex(value, request.data, kept);
        }
        return;
    }
    request.data_length = static_cast<uint32_t>(length);
    std::memcpy(request.data, value, length < kOpaqueDataSize ? length : kOpaqueDataSize);
}

// 0 when every suboption was taken, else the status that ends the flow.
int32_t parse_suboptions(RunContext &run, char *text, OpaqueRequest &request)
{
    char *cursor = text;
    Suboption suboption;
    while (next_suboption(&cursor, &suboption)) {
        const char *value = suboption.value;
        switch (match_token(suboption, kTokens)) {
        case kSegname:
            if (request.segment_name != nullptr || value == nullptr) {
                std::fputs("Error: Either segname is NULL or provided multiple segments\n", stderr);
                return kStatusMalformed;
            }
            request.segment_name = value;
            if (!is_opaque_segment_name(value)) {
                std::fputs("Error: Either segname is NULL or does not begin with 'O'\n", stderr);
                std::fputs("       Segname can be \"ES\".\n", stderr);
                return kStatusNotOpaqueName;
            }
            break;
        case kFilename:
            if (request.file_name != nullptr || value == nullptr) {
                std::fputs("Error: Either filename is NULL or provided multiple files\n", stderr);
                return kStatusMalformed;
            }
            request.file_name = value;
            break;
        case kData:
            if (request.data_given || value == nullptr) {
                std::fputs("Error: Either data is NULL or provided multiple data\n", stderr);
                return kStatusMalformed;
            }
            request.data_given = true;
            take_data(request, value);
            break;
        case kSection:
            if (value != nullptr && strcasecmp(value, "STATIC") == 0) {
                request.static_flag = true;
                request.section = FRU_SECTION_STATIC;
                break;
            }
            request.dynamic_flag = true;
            request.section = FRU_SECTION_DYNAMIC;
            if (value == nullptr || strcasecmp(value, "DYNAMIC") != 0) {
                std::fputs("Please provide either STATIC or DYNAMIC section area.\n", stderr);
                return kStatusMalformed;
            }
            break;
        case kSize:
            if (request.size_text != nullptr || value == nullptr) {
                std::fputs("Error:Either size is NULL or provided multiple size infor\n", stderr);
                return kStatusMalformed;
            }
            request.size_text = value;
            break;
        default:
            std::fprintf(stderr, "\n Error: %s is not supported\n", suboption.pair);
            run.usage_wanted = true;
            return kStatusMalformed;
        }
    }
    return 0;
}

// Obtains the node, reporting a failure; a failure owes the library only the
// closing of its data source.
int32_t obtain_node(RunContext &run, fru_nodehdl_t *node)
{
    const int32_t status = fru_get_node(run.nac_name, node);
    if (status != 0) {
        std::fprintf(stderr, "\n Could not get node handle: %s %s\n", run.nac_name,
                     fru_strerror(status));
        return status;
    }
    hold_node(run, *node);
    return 0;
}

int32_t show_segment(RunContext &run, OpaqueRequest &request)
{
    fru_nodehdl_t node = 0;
    // A show that finds no node gives nothing back and answers 5.
    if (fru_get_node(run.nac_name, &node) != 0)
        return kStatusNoNodeForShow;
    hold_node(run, node);
    run.held.source_owed = true;
    uint8_t descriptor[FRU_SEGMENT_DESCRIPTOR_SIZE];
    request.data_length = kOpaqueDataSize;
    const int32_t status = fru_read_op_segment(node, request.segment_name, descriptor,
                                               request.section, request.data, &request.data_length);
    if (status != 0) {
        std::fprintf(stderr, "\n Error : Seg %s %s\n", request.segment_name, fru_strerror(status));
        return status;
    }
    const uint32_t shown = request.data_length < kOpaqueDataSize ? request.data_length
                                                                 : kOpaqueDataSize;
    for (uint32_t i = 0; i < shown; ++i)
        std::fprintf(stdout, "\t buff[%d] = %x", static_cast<int>(i), request.data[i]);
    if (shown > 0)
        std::fputc('\n', stdout);
    return 0;
}

int32_t delete_segment(RunContext &run, const OpaqueRequest &request)
{
    run.held.source_owed = true;
    fru_nodehdl_t node = 0;
    int32_t status = obtain_node(run, &node);
    if (status != 0)
        return status;
    if (request.static_flag && request.dynamic_flag) {
        std::fputs(kSectionMessage, stderr);
        return kStatusMalformed;
    }
    if (!request.static_flag && !request.dynamic_flag)
        return 0;
    if (request.segment_name == nullptr) {
        std::fputs("Please provide segment name\n", stderr);
        return kStatusMalformed;
    }
    status = fru_delete_op_segment(node, request.segment_name, request.section);
    if (status != 0)
        std::fprintf(stderr, "\nError in Deleting opaque segment %s\n", fru_strerror(status));
    return status;
}

int32_t refuse(const char *format, const char *argument)
{
    std::fprintf(stderr, format, argument);
    return kStatusMalformed;
}

int32_t read_opaque_file(OpaqueRequest &request)
{
    const char *path = request.file_name;
    if (access(path, F_OK) != 0)
        return refuse("Opaque file %s doesn't exist\n", path);
    if (access(path, R_OK) != 0)
        return refuse("Opaque file %s doesn't have the read permission\n", path);
    // Without blocking, so that a FIFO cannot hang the run. A FIFO or a
    // device has a size of 0, so nothing beyond the buffer is ever read: a
    // FIFO fails its read, a device gives an empty segment as an empty file
    // does.
    const int fd = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return refuse("Failed to open Opaque file %s\n", path);
    struct stat info;
    int32_t status = 0;
    if (fstat(fd, &info) != 0) {
        status = refuse("stat failed for Opaque file %s\n", path);
    } else if (info.st_size > static_cast<off_t>(kOpaqueDataSize)) {
        status = refuse("Opaque file is too large %s\n", path);
    } else if (pread(fd, request.data, static_cast<size_t>(info.st_size), 0) != info.st_size) {
        status = refuse("Failed to read Opaque file: %s\n", path);
    }
    close(fd);
    if (status != 0)
        return status;
    request.data_length = static_cast<uint32_t>(info.st_size);
    if (request.size_text != nullptr && decimal_value(request.size_text) != info.st_size) {
        const int actual = static_cast<int>(info.st_size);
        std::fprintf(stderr,
                     "Provided file size %d doesn't match with the actual file size %d\n"
                     "quillet continues with the actual file size %d...\n",
                     static_cast<int>(decimal_value(request.size_text)), actual, actual);
    }
    return 0;
}

int32_t take_inline_data(OpaqueRequest &request)
{
    const int actual = static_cast<int>(request.data_length);
    if (request.size_text != nullptr && decimal_value(request.size_text) != actual) {
        std::fprintf(stderr,
                     "Provided data size %d doesn't match with the actual data size %d\n"
                     "quillet continues with the actual data size %d...\n",
                     static_cast<int>(decimal_value(request.size_text)), actual, actual);
    }
    // Inline data has no file name; the message names the inline data instead.
    if (request.data_length > kOpaqueDataSize)
        return refuse("Opaque file is too large %s\n", "(inline data)");
    return 0;
}

int32_t update_segment(RunContext &run, OpaqueRequest &request)
{
    run.held.source_owed = true;
    if (request.segment_name == nullptr)
        return refuse("%s", "Please provide segment name\n");
    if ((request.file_name != nullptr) == request.data_given)
        return refuse("%s", "Please provider either opaque file name or opaque data.\n");
    if (request.static_flag == request.dynamic_flag)
        return refuse("%s", kSectionMessage);
    int32_t status = request.file_name != nullptr ? read_opaque_file(request)
                                                  : take_inline_data(request);
    if (status != 0)
        return status;

    fru_nodehdl_t node = 0;
    status = obtain_node(run, &node);
    if (status != 0)
        return status;
    uint8_t descriptor[FRU_SEGMENT_DESCRIPTOR_SIZE];
    std::memset(descriptor, 0, sizeof descriptor);
    std::strncpy(reinterpret_cast<char *>(descriptor + 4), request.segment_name, 2);
    status = fru_update_op_segment(node, request.segment_name, descriptor, request.section,
                                   request.data, &request.data_length);
    if (status != 0)
        std::fprintf(stderr, "\nError in updating opaque segment %s\n", fru_strerror(status));
    return status;
}

}  // namespace

int32_t run_opaque_segment_flow(RunContext &run, char *suboptions, int32_t operation)
{
    if (suboptions == nullptr || run.nac_name == nullptr) {
        run.usage_wanted = true;
        return kStatusMalformed;
    }
    OpaqueRequest request;
    std::memset(request.data, 0, sizeof request.data);
    const int32_t status = parse_suboptions(run, suboptions, request);
    if (status != 0)
        return status;

    if (operation == FRU_OP_DELETE)
        return delete_segment(run, request);
    const bool show = request.segment_name != nullptr && request.file_name == nullptr &&
                      !request.data_given && request.size_text == nullptr;
    return show ? show_segment(run, request) : update_segment(run, request);
}

}  // namespace quillet
