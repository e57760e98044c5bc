#include "zan/segment_removal.h"

#include <unordered_map>
#include <unordered_set>

namespace fruplat {

namespace {

uint16_t name_bits(const Segment &segment)
{
    return static_cast<uint16_t>(static_cast<uint8_t>(segment.name[0]) << 8 |
                                 static_cast<uint8_t>(segment.name[1]));
}

// Equal for identical segments; the body itself is compared on a match.
uint64_t identity_key(const Segment &segment)
{
    return static_cast<uint64_t>(name_bits(segment)) << 48 |
           static_cast<uint64_t>(segment.kind) << 40 |
           static_cast<uint64_t>(segment.stored_crc) << 8 | (segment.body.size() & 0xFF);
}

bool identical(const Segment &a, const Segment &b)
{
    return name_bits(a) == name_bits(b) && a.kind == b.kind && a.stored_crc == b.stored_crc &&
           a.body == b.body;
}

// The current segments sharing one identity key, in storage order; those
// before `next` are already paired.
struct Candidates {
    std::vector<size_t> places;
    size_t next = 0;
};

}  // namespace

RemovalOutcome remove_seen_segments(const ZanImage &seen, const std::vector<bool> &chosen,
                                    ZanImage &current)
{
    const size_t count = current.segments.size();
    std::unordered_map<uint64_t, Candidates> by_identity;
    by_identity.reserve(count);
    for (size_t c = 0; c < count; ++c)
        by_identity[identity_key(current.segments[c])].places.push_back(c);

    // Every seen segment, chosen or not, takes its identical counterpart in
    // order, so that of two identical segments the one the operator chose
    // is the one that goes.
    std::vector<bool> paired(count, false);
    std::vector<bool> doomed(count, false);
    std::vector<size_t> unmatched;
    RemovalOutcome outcome;
    for (size_t s = 0; s < seen.segments.size(); ++s) {
        const Segment &segment = seen.segments[s];
        const bool wanted = s < chosen.size() && chosen[s];
        size_t match = count;
        auto it = by_identity.find(identity_key(segment));
        if (it != by_identity.end()) {
            Candidates &candidates = it->second;
            while (candidates.next < candidates.places.size() &&
                   paired[candidates.places[candidates.next]])
                ++candidates.next;
            for (size_t k = candidates.next; k < candidates.places.size(); ++k) {
                const size_t c = candidates.places[k];
                if (!paired[c] && identical(segment, current.segments[c])) {
                    match = c;
                    break;
                }
            }
        }
        if (match != count) {
            paired[match] = true;
            doomed[match] = wanted;
            outcome.removed += wanted;
        } else if (wanted) {
            unmatched.push_back(s);
        }
    }

    if (!unmatched.empty()) {
        std::unordered_set<uint16_t> other_names;
        for (size_t c = 0; c < count; ++c)
            if (!paired[c])
                other_names.insert(name_bits(current.segments[c]));
        for (size_t s : unmatched)
            outcome.kept_changed += other_names.count(name_bits(seen.segments[s]));
    }

    // One compaction: each survivor moves at most once.
    size_t kept = 0;
    for (size_t c = 0; c < count; ++c) {
        if (doomed[c])
            continue;
        if (kept != c)
            current.segments[kept] = std::move(current.segments[c]);
        ++kept;
    }
    current.segments.erase(current.segments.begin() + static_cast<long>(kept),
                           current.segments.end());
    return outcome;
}

}  // namespace fruplat
