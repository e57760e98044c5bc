// A ZAN container image: parsed, every record the registry knows read and
// presented, then one record written and one deleted on the parsed model.
// What parses must serialize to an image that parses to the same segments.
#include <cstdlib>

#include "fuzz_support.h"
#include "present/presenter.h"
#include "registry/registry.h"
#include "store/status.h"
#include "zan/zan_access.h"
#include "zan/zan_image.h"
#include "zan/zan_records.h"

namespace {

void check_round_trip(const fruplat::ZanImage &image)
{
    const fruplat::Bytes raw = fruplat::serialize_zan_image(image);
    // No layout fits the capacity (a blank container of a few bytes, or
    // records past its end): a write reports that as no room.
    if (raw.empty())
        return;
    fruplat::ZanImage again;
    if (fruplat::parse_zan_image(raw, &again) != fruplat::kOk ||
        again.segments.size() != image.segments.size())
        std::abort();
    for (size_t i = 0; i < image.segments.size(); ++i) {
        const fruplat::Segment &a = image.segments[i];
        const fruplat::Segment &b = again.segments[i];
        if (a.name[0] != b.name[0] || a.name[1] != b.name[1] || a.kind != b.kind ||
            (!a.changed && a.body != b.body) || b.packet_count() != a.packet_count())
            std::abort();
    }
}

void read_everything(fruplat::ZanImage &image)
{
    size_t count = 0;
    const fruplat::RecordDef *defs = fruplat::record_defs(&count);
    for (size_t i = 0; i < count; ++i) {
        const fruplat::RecordDef &def = defs[i];
        if ((def.families & fruplat::kZanFamily) == 0)
            continue;
        std::vector<fruplat::Bytes> entries;
        if (fruplat::record_entries(image, def, &entries) == fruplat::kOk)
            fruplat::present_record(fuzzing::null_stream(), def, entries);
        fruplat::Bytes slots;
        // Any status will do: the target looks for crashes, not results.
        static_cast<void>(fruplat::record_slots(image, def, 4096, &slots));
        uint8_t control[fruplat::kControlBytes];
        static_cast<void>(fruplat::record_control(image, def, control));
    }
    const fruplat::RecordDef *installation = nullptr;
    static_cast<void>(fruplat::resolve_zan_record(image, "INSTALL", &installation));
}

// Changes the model the way an update and a delete do; `pick` chooses the
// records so that the corpus can steer towards each of them.
void change(fruplat::ZanImage &image, uint8_t pick)
{
    size_t count = 0;
    const fruplat::RecordDef *defs = fruplat::record_defs(&count);
    const fruplat::RecordDef &written = defs[pick % count];
    const fruplat::RecordDef &deleted = defs[(pick / 2 + 1) % count];
    if ((written.families & fruplat::kZanFamily) != 0) {
        const fruplat::Bytes data(written.size, pick);
        // No room, or a damaged segment, is a valid outcome: what is
        // looked for here is a crash or a sanitizer finding.
        static_cast<void>(fruplat::put_record(image, written, data.data()));
    }
    if ((deleted.families & fruplat::kZanFamily) != 0)
        static_cast<void>(fruplat::delete_record(image, deleted));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const fruplat::Bytes bytes(data, data + size);
    fruplat::ZanImage image;
    if (fruplat::parse_zan_image(bytes, &image) != fruplat::kOk)
        return 0;
    check_round_trip(image);
    read_everything(image);
    change(image, size > 0 ? data[size - 1] : 0);
    check_round_trip(image);
    read_everything(image);
    return 0;
}
