#include "segments/bad_crc_scan.h"

#include <cstdlib>
#include <cstring>
#include <vector>

#include "cli/settings.h"
#include "platform/fru_access.h"
#include "records/buffer_set.h"
#include "segments/segment_names.h"

namespace quillet {

namespace {

struct BadSegment {
    char *name;   // owned until the process ends
    int32_t remove;
};

// The list starts with room for ten entries, the most a container of ours
// has segments, and grows beyond that: a badly damaged container must still
// be cleaned in one pass rather than leave bad segments behind.
constexpr size_t kInitialRoom = 10;

std::vector<BadSegment> g_bad_segments;
FILE *g_answers = nullptr;

FILE *answers()
{
    return g_answers != nullptr ? g_answers : stdin;
}

int32_t segment_callback(fru_seghdl_t segment, void * /*unused*/)
{
    char *name = nullptr;
    const int32_t status = fru_get_segment_name(segment, &name);
    if (status != 0) {
        std::fputs("\n Error: Could not get segment name.\n", stderr);
        return status;
    }
    if (is_opaque_segment_name(name)) {
        std::free(name);
        return 0;
    }
    const int32_t packets = fru_get_num_packets(segment);
    if (bad_seg != 1 && packets > 0) {
        std::free(name);
        return 0;
    }
    g_bad_segments.push_back({name, 1});
    if (g_settings.force_flag == 0) {
        std::fprintf(stderr, "\n SEGMENT : %s\n", name);
        std::fprintf(stderr, "\n Do you want to delete this segment %s (y/n)?\n", name);
        char answer[4];
        std::memset(answer, 0, sizeof answer);
        // Four bytes on purpose: a longer answer line is taken in pieces by
        // the following prompts, as operators' scripts expect.
        if (std::fgets(answer, sizeof answer, answers()) == nullptr)
            answer[0] = '\0';
        if (answer[0] == 'n' || answer[0] == 'N')
            g_bad_segments.back().remove = 0;
    }
    return 0;
}

// The names live as long as the scan that listed them, which is the rest of
// the process; they are handed back when the scan ends.
struct BadSegmentListGuard {
    ~BadSegmentListGuard()
    {
        for (BadSegment &entry : g_bad_segments)
            std::free(entry.name);
        g_bad_segments.clear();
    }
};

int32_t close_all(fru_nodehdl_t node, int32_t status)
{
    release_record_buffer_set();
    fru_close_node(node);
    fru_close_data_source();
    return status;
}

}  // namespace

void set_answer_stream(FILE *stream)
{
    g_answers = stream;
}

int32_t run_bad_crc_scan()
{
    const char *nac_name = g_settings.nac_name;
    fru_nodehdl_t node = 0;
    int32_t status = fru_get_node(nac_name, &node);
    if (status != 0) {
        std::fprintf(stderr, "\n Could not get node handle: %s\n", nac_name);
        fru_close_data_source();
        release_record_buffer_set();
        return status;
    }

    BadSegmentListGuard release_names;
    g_bad_segments.reserve(kInitialRoom);
    if (g_settings.force_flag == 0)
        std::fputs("\n The following segments have incorrect CRC.\n", stderr);

    status = fru_for_each_segment(node, segment_callback, nullptr);
    if (status != 0) {
        std::fputs("\n Failed for_each_segment.\n", stderr);
        fru_close_node(node);
        fru_close_data_source();
        release_record_buffer_set();
        return status;
    }

    for (const BadSegment &entry : g_bad_segments) {
        if (entry.remove != 1 && g_settings.force_flag != 1)
            continue;
        status = fru_remove_segment(node, entry.name);
        if (status != 0) {
            std::fputs("\n Error: Could not delete segment.\n", stderr);
            return close_all(node, status);
        }
    }

    status = fru_flash_file(nac_name, node);
    if (status != 0) {
        std::fprintf(stderr, "\n Could not get flash back contents: %s\n", nac_name);
        return close_all(node, status);
    }

    release_record_buffer_set();
    status = fru_close_node(node);
    if (status != 0) {
        std::fprintf(stderr, "\n Error: %s\n", fru_strerror(status));
        fru_close_data_source();
        return status;
    }
    status = fru_close_data_source();
    if (status != 0) {
        std::fprintf(stderr, "\n Error: %s\n", fru_strerror(status));
        return status;
    }
    return 0;
}

}  // namespace quillet
