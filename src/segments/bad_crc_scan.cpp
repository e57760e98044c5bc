#include "segments/bad_crc_scan.h"

#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/fru_access.h"
#include "segments/segment_names.h"

namespace quillet {

namespace {

struct BadSegment {
    char *name;   // the library's copy; freed when the scan ends
    int32_t remove;
};

// The list starts with room for ten entries, the most a container of ours
// has segments, and grows beyond that: a badly damaged container must still
// be cleaned in one pass rather than leave bad segments behind.
constexpr size_t kInitialRoom = 10;

struct BadSegmentList {
    int force_flag;
    std::vector<BadSegment> entries;

    ~BadSegmentList()
    {
        for (BadSegment &entry : entries)
            std::free(entry.name);
    }
};

FILE *g_answers = nullptr;

FILE *answers()
{
    return g_answers != nullptr ? g_answers : stdin;
}

int32_t segment_callback(fru_seghdl_t segment, void *arg)
{
    BadSegmentList &list = *static_cast<BadSegmentList *>(arg);
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
    list.entries.push_back({name, 1});
    if (list.force_flag == 0) {
        std::fprintf(stderr, "\n SEGMENT : %s\n", name);
        std::fprintf(stderr, "\n Do you want to delete this segment %s (y/n)?\n", name);
        char answer[4];
        std::memset(answer, 0, sizeof answer);
        // Four bytes on purpose: a longer answer line is taken in pieces by
        // the following prompts, as operators' scripts expect.
        if (std::fgets(answer, sizeof answer, answers()) == nullptr)
            answer[0] = '\0';
        if (answer[0] == 'n' || answer[0] == 'N')
            list.entries.back().remove = 0;
    }
    return 0;
}

}  // namespace

void set_answer_stream(FILE *stream)
{
    g_answers = stream;
}

int32_t run_bad_crc_scan(RunContext &run)
{
    run.held.source_owed = true;
    fru_nodehdl_t node = 0;
    int32_t status = get_held_node(run, &node);
    if (status != 0)
        return status;

    BadSegmentList list{run.force_flag, {}};
    list.entries.reserve(kInitialRoom);
    if (run.force_flag == 0)
        std::fputs("\n The following segments have incorrect CRC.\n", stderr);

    status = fru_for_each_segment(node, segment_callback, &list);
    if (status != 0) {
        std::fputs("\n Failed for_each_segment.\n", stderr);
        return status;
    }

    for (const BadSegment &entry : list.entries) {
        if (entry.remove != 1 && run.force_flag != 1)
            continue;
        status = fru_remove_segment(node, entry.name);
        if (status != 0) {
            std::fputs("\n Error: Could not delete segment.\n", stderr);
            return status;
        }
    }

    status = fru_flash_file(run.nac_name, node);
    if (status != 0) {
        std::fprintf(stderr, "\n Could not get flash back contents: %s\n", run.nac_name);
        return status;
    }
    run.held.closes_checked = true;
    return 0;
}

}  // namespace quillet
