#include <algorithm>
#include <cstring>

#include "ops/record_steps.h"
#include "records/buffer_set.h"

namespace quillet {

namespace {

struct DescriptionTarget {
    RecordId record;
    size_t offset;
    size_t width;
    bool cleared;
};

// The shared identifier records keep the stored bytes beyond the new text.
constexpr DescriptionTarget kDescriptionTargets[] = {
    {RecordId::ManR, 4, 80, true},
    {RecordId::Zan_ManR, 4, 30, true},
    {RecordId::Zan_Man1R, 4, 30, true},
    {RecordId::Customer_DataR, 4, 80, true},
    {RecordId::SharedIdentifier, 0, 80, false},
};

}  // namespace

void copy_description_text(const char *text)
{
    const size_t length = std::strlen(text);
    for (const DescriptionTarget &target : kDescriptionTargets) {
        uint8_t *buffer = record_buffer(target.record);
        if (buffer == nullptr)
            continue;
        uint8_t *field = buffer + target.offset;
        if (target.cleared)
            std::memset(field, 0, target.width);
        std::memcpy(field, text, std::min(length, target.width));
    }
}

}  // namespace quillet
