// bench_store: makes the stores the benchmark needs that fructl's commands
// would take too long to make: inventories of many containers, containers
// filled to their capacity, and containers holding many bad segments.
//
//   bench_store STORE inventory COUNT       MB last among COUNT containers
//   bench_store STORE fill NAC CAPACITY     a copy of MB, filled with opaque data
//   bench_store STORE bad NAC COUNT         a copy of MB plus COUNT bad segments
//   bench_store STORE path NAC              prints the container's image file
//   bench_store STORE copies COUNT          COUNT containers in all: the demo
//                                           ones, then copies of them in turn
//
// STORE holds the demo containers first (fructl demo).
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "fructl/store_admin.h"
#include "store/bytes.h"
#include "store/status.h"
#include "zan/zan_access.h"
#include "zan/zan_image.h"

using namespace fruplat;

namespace {

// Opaque segment names: 'O' or 'o' and a printable character. Names repeat
// past 188 segments, which the image allows.
void opaque_name(size_t index, char name[2])
{
    const size_t span = '~' - '!' + 1;
    name[0] = (index / span) % 2 == 0 ? 'O' : 'o';
    name[1] = static_cast<char>('!' + index % span);
}

Bytes opaque_body(size_t dynamic_bytes, size_t static_bytes)
{
    Bytes body(8 + dynamic_bytes + static_bytes, 0x5A);
    store_be(&body[0], dynamic_bytes, 4);
    store_be(&body[4 + dynamic_bytes], static_bytes, 4);
    return body;
}

bool read_mb(const std::string &store, ZanImage *image)
{
    ContainerEntry entry;
    if (!open_entry(store, "MB", &entry))
        return false;
    return with_zan_image(entry, Access::Read, [&](ZanImage &parsed) -> int32_t {
               *image = parsed;
               return kOk;
           }) == kOk;
}

int add_zan(const std::string &store, const std::string &nac, ZanImage &image, uint32_t capacity)
{
    image.capacity = capacity;
    AddRequest request;
    request.nac = nac;
    request.family = Family::Zan;
    request.capacity = capacity;
    request.image = serialize_zan_image(image);
    return add_container(store, request);
}

// The motherboard's records, then opaque segments of full sections until
// the image reaches the capacity.
int fill(const std::string &store, const std::string &nac, uint32_t capacity)
{
    ZanImage image;
    if (!read_mb(store, &image))
        return 1;
    size_t used = serialize_zan_image(image).size();
    for (size_t index = 0;; ++index) {
        // A table entry in each of the two slots, and the two section lengths.
        const size_t overhead = 2 * 16 + 8;
        if (used + overhead + 1 > capacity)
            break;
        size_t room = capacity - used - overhead;
        const size_t dynamic_bytes = room < kOpaqueSectionMax ? room : kOpaqueSectionMax;
        room -= dynamic_bytes;
        const size_t static_bytes = room < kOpaqueSectionMax ? room : kOpaqueSectionMax;
        Segment segment;
        opaque_name(index, segment.name);
        segment.kind = kSegmentKindOpaque;
        segment.body = opaque_body(dynamic_bytes, static_bytes);
        segment.stored_crc = crc32(segment.body.data(), segment.body.size());
        image.segments.push_back(segment);
        used += overhead - 8 + segment.body.size();
    }
    // Page alignment and the table's own rounding may still leave the last
    // segment without room.
    while (!image.segments.empty() && serialize_zan_image(image).empty())
        image.segments.pop_back();
    return add_zan(store, nac, image, capacity);
}

// Record segment names: two printable characters, the first not O, o or
// E (which could make them opaque), and none the image holds already, so
// that removing a bad segment by its name never means a good one. Names
// repeat past some 8500 segments, which the image allows.
std::vector<std::string> record_names(const ZanImage &image, size_t count)
{
    std::vector<std::string> names;
    for (size_t index = 0; names.size() < count; ++index) {
        const size_t span = '~' - '!' + 1;
        char name[3] = {static_cast<char>('!' + index / span % span),
                        static_cast<char>('!' + index % span), 0};
        if (name[0] == 'O' || name[0] == 'o' || name[0] == 'E')
            continue;
        bool taken = false;
        for (const Segment &s : image.segments)
            taken = taken || segment_name_equals(s, name);
        if (!taken)
            names.push_back(name);
    }
    return names;
}

// The motherboard's records, then COUNT small record segments, one plain
// 2-byte record each, whose stored CRC does not hold: what the scan removes.
int bad(const std::string &store, const std::string &nac, size_t count)
{
    ZanImage image;
    if (!read_mb(store, &image))
        return 1;
    const std::vector<std::string> names = record_names(image, count);
    for (const std::string &name : names) {
        Segment segment;
        name.copy(segment.name, 2);
        segment.kind = kSegmentKindRecord;
        segment.body.assign(kPacketHeaderSize + 2, 0);
        store_be(&segment.body[0], 0x0309, 2);  // Device_Type
        store_be(&segment.body[4], 2, 4);
        segment.stored_crc = ~crc32(segment.body.data(), segment.body.size());
        image.segments.push_back(segment);
    }
    return add_zan(store, nac, image, kMaxCapacity);
}

// COUNT - 1 containers ahead of MB, each its own (never opened) image, so
// that finding MB walks the whole inventory.
int inventory(const std::string &store, size_t count)
{
    Inventory loaded;
    if (load_inventory(store, &loaded) != kOk)
        return 1;
    Inventory out;
    out.store_dir = loaded.store_dir;
    for (size_t n = 1; n < count; ++n) {
        ContainerEntry filler;
        filler.nac = "BENCH/F" + std::to_string(n);
        filler.type = default_type(Family::Pirom);
        filler.family = Family::Pirom;
        filler.path = "images/bench-f" + std::to_string(n) + ".img";
        filler.image_path = resolve_image_path(out.store_dir, filler.path);
        filler.capacity = default_capacity(Family::Pirom);
        out.entries.push_back(filler);
    }
    for (const ContainerEntry &e : loaded.entries)
        if (e.nac == "MB")
            out.entries.push_back(e);
    return save_inventory(out) == kOk ? 0 : 1;
}

// A store as fructl show --all meets it on a full platform: every family,
// every container a real image with its records.
int copies(const std::string &store, size_t count)
{
    Inventory loaded;
    if (load_inventory(store, &loaded) != kOk || loaded.entries.empty())
        return 1;
    const std::vector<ContainerEntry> demo = loaded.entries;
    for (size_t n = demo.size(); n < count; ++n) {
        const ContainerEntry &from = demo[n % demo.size()];
        AddRequest request;
        request.nac = "COPY" + std::to_string(n) + "/" + from.nac;
        request.family = from.family;
        request.type = from.type;
        request.capacity = from.capacity;
        Bytes image;
        if (with_image(from, Access::Read, [&](Bytes &stored) -> int32_t {
                image = stored;
                return kOk;
            }) != kOk)
            return 1;
        request.image = image;
        if (add_container(store, request) != 0)
            return 1;
    }
    return 0;
}

int path(const std::string &store, const std::string &nac)
{
    ContainerEntry entry;
    if (!open_entry(store, nac, &entry))
        return 1;
    std::printf("%s\n", entry.image_path.c_str());
    return 0;
}

}  // namespace

int main(int argc, char **argv)
{
    const std::string command = argc > 2 ? argv[2] : "";
    if (command == "inventory" && argc == 4)
        return inventory(argv[1], std::strtoul(argv[3], nullptr, 10));
    if (command == "fill" && argc == 5)
        return fill(argv[1], argv[3], static_cast<uint32_t>(std::strtoul(argv[4], nullptr, 10)));
    if (command == "bad" && argc == 5)
        return bad(argv[1], argv[3], std::strtoul(argv[4], nullptr, 10));
    if (command == "copies" && argc == 4)
        return copies(argv[1], std::strtoul(argv[3], nullptr, 10));
    if (command == "path" && argc == 4)
        return path(argv[1], argv[3]);
    std::fprintf(stderr, "usage: bench_store STORE inventory COUNT | fill NAC CAPACITY | "
                         "bad NAC COUNT | path NAC | copies COUNT\n");
    return 2;
}
