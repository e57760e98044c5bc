// The FRU access library calls, as the tool makes them.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "access/family.h"
#include "platform/fru_access.h"
#include "registry/regdefs.h"
#include "store/image_file.h"
#include "store/status.h"
#include "store/store_hint.h"
#include "zan/segment_identity.h"
#include "zan/segment_removal.h"
#include "zan/zan_access.h"
#include "zan/zan_image.h"

int bad_seg = 0;

namespace fruplat {

namespace {

// Segments of a walk's copy that share one shown name, in storage order;
// those before `next` are already chosen for removal.
struct NamedSegments {
    std::vector<size_t> places;
    size_t next = 0;
};

// A node is a container opened by NAC name. Its copy of the container's
// segments is exactly what the bad-CRC scan showed the operator: removals
// choose segments of that copy, and fru_flash_file removes from the image
// only segments still identical to the chosen ones.
struct Node {
    ContainerEntry entry;
    ZanImage copy;
    std::vector<bool> chosen;  // per segment of the copy
    size_t chosen_count = 0;
    // The name strings handed out for the copy's segments, by address. The
    // scan passes back the very string it was given, which names one
    // segment even where names repeat; a string freed and reused takes the
    // place of the old one.
    std::unordered_map<const char *, size_t> handed_out;
    std::unordered_map<std::string, NamedSegments> by_name;  // built on first need
    // Reported by fru_close_node: the write-back kept a chosen segment that
    // had changed since the walk.
    int32_t deferred = kOk;
    // Taken by the first pre-read and held until the node is closed, so the
    // pre-read and the write of one update are one transaction: the write,
    // made by NAC name, shares the lock this process already holds.
    std::unique_ptr<ContainerLock> transaction;
};

// The pre-read of an update starts its transaction. A caller that may not
// lock (a reader without rights) reads unlocked.
int32_t begin_transaction(Node &node)
{
    if (node.transaction != nullptr)
        return kOk;
    auto lock = std::make_unique<ContainerLock>();
    const int32_t status = lock->acquire(node.entry, LockMode::ExclusiveIfAllowed);
    if (status == kOk)
        node.transaction = std::move(lock);
    return status;
}

std::map<fru_nodehdl_t, std::unique_ptr<Node>> g_nodes;
fru_nodehdl_t g_next_node = 1;

// A segment handle names the node and the segment's place in its copy.
constexpr unsigned kSegmentBits = 32;

Node *node_of(fru_nodehdl_t handle)
{
    auto it = g_nodes.find(handle);
    return it == g_nodes.end() ? nullptr : it->second.get();
}

Segment *segment_of(fru_seghdl_t handle)
{
    Node *node = node_of(handle >> kSegmentBits);
    const size_t index = static_cast<size_t>(handle & ((uint64_t{1} << kSegmentBits) - 1));
    if (node == nullptr || index >= node->copy.segments.size())
        return nullptr;
    return &node->copy.segments[index];
}

bool is_opaque_name(const char *name)
{
    return name[0] == 'O' || name[0] == 'o' || (name[0] == 'E' && name[1] == 'S');
}

int32_t check_opaque_name(const char *name)
{
    if (name == nullptr)
        return kInvalidArgument;
    const size_t length = std::strlen(name);
    if (length == 0 || length > 2)
        return kBadSegmentName;
    return is_opaque_name(name) ? kOk : kBadSegmentName;
}

// The opaque segment of that name, or a status.
int32_t opaque_segment(ZanImage &image, const char *name, Segment **segment)
{
    Segment *found = find_segment(image, name);
    if (found == nullptr)
        return kAbsent;
    if (found->kind != kSegmentKindOpaque)
        return kSegmentKindTaken;
    if (!found->usable())
        return unusable_status(*found);
    *segment = found;
    return kOk;
}

int section_index(int32_t section)
{
    return section == FRU_SECTION_STATIC ? 1 : 0;
}

int32_t zan_node(fru_nodehdl_t handle, Node **node)
{
    *node = node_of(handle);
    if (*node == nullptr)
        return kBadHandle;
    return (*node)->entry.family == Family::Zan ? kOk : kUnsupportedFamily;
}

// The node of an opaque segment call, once its handle and name hold.
int32_t opaque_node(fru_nodehdl_t handle, const char *segment_name, Node **node)
{
    const int32_t status = zan_node(handle, node);
    return status != kOk ? status : check_opaque_name(segment_name);
}

// The same for the calls that move section data through a buffer.
int32_t opaque_data_node(fru_nodehdl_t handle, const char *segment_name, const uint8_t *buffer,
                         const uint32_t *length, Node **node)
{
    const int32_t status = opaque_node(handle, segment_name, node);
    if (status != kOk)
        return status;
    return buffer == nullptr || length == nullptr ? kInvalidArgument : kOk;
}

// The first segment of the copy not yet chosen whose shown name is `name`.
size_t unchosen_by_name(Node &node, const char *name)
{
    const size_t none = node.copy.segments.size();
    if (node.by_name.empty())
        for (size_t i = 0; i < node.copy.segments.size(); ++i)
            node.by_name[segment_display_name(node.copy.segments[i])].places.push_back(i);
    auto it = node.by_name.find(name);
    if (it == node.by_name.end())
        return none;
    NamedSegments &named = it->second;
    while (named.next < named.places.size() && node.chosen[named.places[named.next]])
        ++named.next;
    for (size_t k = named.next; k < named.places.size(); ++k)
        if (!node.chosen[named.places[k]])
            return named.places[k];
    return none;
}

}  // namespace

int32_t lookup_container(const char *nac, ContainerEntry *entry)
{
    const int32_t status = find_inventory_entry(nac, entry);
    if (status != kOk)
        explain_lookup_failure(status, nac);
    return status;
}

int32_t read_stored(const ContainerEntry &entry, uint8_t *buffer, int32_t *length,
                    const std::function<int32_t(const Bytes &image, Bytes *record)> &find)
{
    if (buffer == nullptr || length == nullptr || *length < 0)
        return kInvalidArgument;
    return with_image(entry, Access::Read, [&](Bytes &image) -> int32_t {
        Bytes record;
        const int32_t status = find(image, &record);
        if (status != kOk)
            return status;
        const size_t size = std::min(record.size(), static_cast<size_t>(*length));
        if (size > 0)
            std::memcpy(buffer, record.data(), size);
        *length = static_cast<int32_t>(size);
        return kOk;
    });
}

int32_t no_iterative_records(const ContainerEntry &, const char *, uint8_t *, int32_t *)
{
    return kInvalidArgument;
}

const FamilyHandler &family_handler(Family family)
{
    switch (family) {
    case Family::Ipmi:
        return kIpmiHandler;
    case Family::Dimm:
        return kDimmHandler;
    case Family::Pirom:
        return kPiromHandler;
    case Family::Zan:
        break;
    }
    return kZanHandler;
}

}  // namespace fruplat

using namespace fruplat;

extern "C" {

int32_t fru_get_node(const char *nac_name, fru_nodehdl_t *node)
{
    if (nac_name == nullptr || node == nullptr)
        return kInvalidArgument;
    auto opened = std::make_unique<Node>();
    const int32_t status = lookup_container(nac_name, &opened->entry);
    if (status != kOk)
        return status;
    *node = g_next_node++;
    g_nodes[*node] = std::move(opened);
    return kOk;
}

int32_t fru_get_cont_type(fru_nodehdl_t node, int32_t *cont_type)
{
    const Node *n = node_of(node);
    if (n == nullptr || cont_type == nullptr)
        return kBadHandle;
    if (!n->entry.type_known)
        return kUnknownType;
    *cont_type = n->entry.type;
    return kOk;
}

int32_t fru_read_record(fru_nodehdl_t node, void *buffer, int32_t *length, const char *name)
{
    Node *n = node_of(node);
    if (n == nullptr)
        return kBadHandle;
    if (const int32_t status = begin_transaction(*n); status != kOk)
        return status;
    return family_handler(n->entry.family)
        .read_record(n->entry, name, static_cast<uint8_t *>(buffer), length);
}

int32_t fru_read_iter_control_bytes(fru_nodehdl_t node, void *control, int32_t *length,
                                    const char *name)
{
    Node *n = node_of(node);
    if (n == nullptr)
        return kBadHandle;
    if (const int32_t status = begin_transaction(*n); status != kOk)
        return status;
    return family_handler(n->entry.family)
        .read_control(n->entry, name, static_cast<uint8_t *>(control), length);
}

int32_t libfru_access_data(const char *nac_name, void *buffer, int32_t *length, int32_t operation,
                           const char *name)
{
    ContainerEntry entry;
    const int32_t status = lookup_container(nac_name, &entry);
    if (status != kOk)
        return status;
    return family_handler(entry.family)
        .access(entry, operation, name, static_cast<uint8_t *>(buffer), length);
}

int32_t fru_for_each_segment(fru_nodehdl_t node, fru_segment_callback_t callback, void *arg)
{
    Node *n = nullptr;
    int32_t status = zan_node(node, &n);
    if (status != kOk || callback == nullptr)
        return status != kOk ? status : kInvalidArgument;
    status = with_zan_image(n->entry, Access::Read, [&](ZanImage &image) -> int32_t {
        n->copy = image;
        return kOk;
    });
    if (status != kOk)
        return status;
    const size_t count = n->copy.segments.size();
    n->chosen.assign(count, false);
    n->chosen_count = 0;
    n->handed_out.clear();
    n->by_name.clear();
    n->deferred = kOk;
    for (size_t i = 0; i < count; ++i) {
        const int32_t result = callback((node << kSegmentBits) | i, arg);
        if (result != 0)
            return result;
    }
    return kOk;
}

int32_t fru_get_segment_name(fru_seghdl_t segment, char **name)
{
    const Segment *s = segment_of(segment);
    if (s == nullptr || name == nullptr)
        return kBadHandle;
    bad_seg = s->usable() ? 0 : 1;
    *name = strdup(segment_display_name(*s).c_str());
    if (*name == nullptr)
        return kInvalidArgument;
    Node *n = node_of(segment >> kSegmentBits);
    n->handed_out[*name] = static_cast<size_t>(s - n->copy.segments.data());
    return kOk;
}

int32_t fru_get_num_packets(fru_seghdl_t segment)
{
    const Segment *s = segment_of(segment);
    if (s == nullptr) {
        bad_seg = 1;
        return -1;
    }
    bad_seg = s->usable() ? 0 : 1;
    return static_cast<int32_t>(s->packet_count());
}

int32_t fru_remove_segment(fru_nodehdl_t node, const char *segment_name)
{
    Node *n = nullptr;
    const int32_t status = zan_node(node, &n);
    if (status != kOk)
        return status;
    if (segment_name == nullptr)
        return kInvalidArgument;
    // Only marked here; fru_flash_file removes every chosen segment in one
    // pass, however many there are.
    size_t index = n->copy.segments.size();
    auto given = n->handed_out.find(segment_name);
    if (given != n->handed_out.end() && !n->chosen[given->second] &&
        segment_display_name(n->copy.segments[given->second]) == segment_name)
        index = given->second;
    else
        index = unchosen_by_name(*n, segment_name);
    if (index == n->copy.segments.size())
        return kNoSuchSegment;
    n->chosen[index] = true;
    ++n->chosen_count;
    return kOk;
}

int32_t fru_flash_file(const char *nac_name, fru_nodehdl_t node)
{
    Node *n = nullptr;
    const int32_t status = zan_node(node, &n);
    if (status != kOk)
        return status;
    if (nac_name == nullptr || n->entry.nac != nac_name)
        return kInvalidArgument;
    // Nothing removed, nothing to write: the image already holds the content.
    if (n->chosen_count == 0)
        return kOk;
    // The removals are applied to the image as it is now, so that records
    // written by others since the walk are kept; every segment left in place
    // is written back as stored, with its stored CRC. A chosen segment that
    // changed meanwhile is not the one the operator saw: it stays, the
    // others go, and closing the node reports it.
    RemovalOutcome outcome;
    const int32_t written =
        with_zan_image(n->entry, Access::Write, [&](ZanImage &current) -> int32_t {
            outcome = remove_seen_segments(n->copy, n->chosen, current);
            return kOk;
        });
    if (written != kOk)
        return written;
    n->chosen.assign(n->chosen.size(), false);
    n->chosen_count = 0;
    for (auto &[name, named] : n->by_name)
        named.next = 0;
    if (outcome.kept_changed > 0)
        n->deferred = kSegmentChangedSinceScan;
    return kOk;
}

int32_t fru_read_op_segment(fru_nodehdl_t node, const char *segment_name, uint8_t *,
                            int32_t section, uint8_t *buffer, uint32_t *length)
{
    Node *n = nullptr;
    const int32_t status = opaque_data_node(node, segment_name, buffer, length, &n);
    if (status != kOk)
        return status;
    return with_zan_image(n->entry, Access::Read, [&](ZanImage &image) -> int32_t {
        Segment *segment = nullptr;
        const int32_t found = opaque_segment(image, segment_name, &segment);
        if (found != kOk)
            return found;
        const Bytes &data = segment->sections[section_index(section)];
        const uint32_t size = std::min<uint32_t>(*length, static_cast<uint32_t>(data.size()));
        if (size > 0)
            std::memcpy(buffer, data.data(), size);
        *length = size;
        return kOk;
    }, [segment_name](const Segment &s) { return segment_name_equals(s, segment_name); });
}

int32_t fru_update_op_segment(fru_nodehdl_t node, const char *segment_name, uint8_t *,
                              int32_t section, uint8_t *buffer, uint32_t *length)
{
    Node *n = nullptr;
    const int32_t status = opaque_data_node(node, segment_name, buffer, length, &n);
    if (status != kOk)
        return status;
    if (*length > kOpaqueSectionMax)
        return kSectionTooLarge;
    return with_zan_image(n->entry, Access::Write, [&](ZanImage &image) -> int32_t {
        Segment *segment = nullptr;
        const int32_t found = opaque_segment(image, segment_name, &segment);
        if (found == kAbsent) {
            Segment fresh;
            fresh.name[0] = segment_name[0];
            fresh.name[1] = segment_name[1];
            fresh.kind = kSegmentKindOpaque;
            image.segments.push_back(fresh);
            segment = &image.segments.back();
        } else if (found != kOk) {
            return found;
        }
        segment->sections[section_index(section)].assign(buffer, buffer + *length);
        segment->changed = true;
        return kOk;
    });
}

int32_t fru_delete_op_segment(fru_nodehdl_t node, const char *segment_name, int32_t section)
{
    Node *n = nullptr;
    if (const int32_t status = opaque_node(node, segment_name, &n); status != kOk)
        return status;
    return with_zan_image(n->entry, Access::Write, [&](ZanImage &image) -> int32_t {
        Segment *segment = nullptr;
        const int32_t found = opaque_segment(image, segment_name, &segment);
        if (found != kOk)
            return found;
        segment->sections[section_index(section)].clear();
        segment->changed = true;
        if (segment->sections[0].empty() && segment->sections[1].empty())
            image.segments.erase(image.segments.begin() + (segment - image.segments.data()));
        return kOk;
    });
}

const fru_regdef_t *fru_reg_lookup_def_by_name(const char *definition_name)
{
    return definition_name != nullptr ? lookup_regdef(definition_name) : nullptr;
}

int32_t fru_close_node(fru_nodehdl_t node)
{
    auto it = g_nodes.find(node);
    if (it == g_nodes.end())
        return kBadHandle;
    const int32_t deferred = it->second->deferred;
    g_nodes.erase(it);
    return deferred;
}

int32_t fru_close_data_source(void)
{
    g_nodes.clear();
    return kOk;
}

const char *fru_strerror(int32_t status)
{
    return status_text(status);
}

}  // extern "C"
