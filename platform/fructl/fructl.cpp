// fructl: creates, inspects and seeds FRU stores. Scripts and tests depend
// on this exact interface.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <unistd.h>
#include <vector>

#include "access/family.h"
#include "dimm/claim.h"
#include "fructl/show.h"
#include "fructl/doctor.h"
#include "fructl/store_admin.h"
#include "present/presenter.h"
#include "registry/registry.h"
#include "store/image_file.h"
#include "store/input_file.h"
#include "store/status.h"

#ifndef QUILLET_VERSION
#define QUILLET_VERSION "unknown"
#endif

using namespace fruplat;

namespace {

using Args = std::vector<std::string>;


int report(int32_t status, const std::string &what)
{
    if (status == kOk)
        return 0;
    std::fprintf(stderr, "fructl: %s: %s\n", what.c_str(), status_text(status));
    return 1;
}

const RecordDef *record_for(const ContainerEntry &entry, const std::string &name)
{
    const RecordDef *def = nullptr;
    if (record_of_family(entry.family, name.c_str(), &def) != kOk) {
        std::fprintf(stderr, "fructl: %s is not a record of %s containers\n", name.c_str(),
                     family_name(entry.family));
        return nullptr;
    }
    return def;
}

// The container and the record a command names, or a reported failure.
bool open_record(const std::string &store, const Args &args, ContainerEntry *entry,
                 const RecordDef **def)
{
    if (!open_entry(store, args[0], entry))
        return false;
    *def = record_for(*entry, args[1]);
    return *def != nullptr;
}

// A container whose family keeps segments, for the commands that walk them.
bool open_segmented_entry(const std::string &store, const std::string &nac, ContainerEntry *entry)
{
    if (!open_entry(store, nac, entry))
        return false;
    if (family_handler(entry->family).segments != nullptr)
        return true;
    report(kUnsupportedFamily, nac);
    return false;
}

int cmd_init(const std::string &store, const Args &)
{
    return init_store(store);
}

int cmd_demo(const std::string &store, const Args &)
{
    return init_store(store) == 0 ? add_demo(store) : 1;
}

bool parse_unsigned(const std::string &text, uint64_t limit, uint64_t *out)
{
    char *end = nullptr;
    const unsigned long long v = std::strtoull(text.c_str(), &end, 0);
    if (text.empty() || *end != '\0' || v > limit || text[0] == '-')
        return false;
    *out = v;
    return true;
}

int cmd_add(const std::string &store, const Args &args)
{
    AddRequest request;
    request.nac = args[0];
    if (!family_from_name(args[1], &request.family)) {
        std::fprintf(stderr, "fructl: family must be zan, ipmi, dimm or pirom\n");
        return 2;
    }
    for (size_t i = 2; i < args.size(); i += 2) {
        if (i + 1 >= args.size()) {
            std::fprintf(stderr, "fructl: %s needs a value\n", args[i].c_str());
            return 2;
        }
        const std::string &option = args[i];
        const std::string &value = args[i + 1];
        uint64_t number = 0;
        if (option == "--type" && value == "unknown") {
            request.type_known = false;
        } else if (option == "--type") {
            char *end = nullptr;
            const long v = std::strtol(value.c_str(), &end, 0);
            if (value.empty() || *end != '\0') {
                std::fprintf(stderr, "fructl: --type takes a number or 'unknown'\n");
                return 2;
            }
            request.type = static_cast<int32_t>(v);
        } else if (option == "--capacity" && parse_unsigned(value, kMaxCapacity, &number) &&
                   number > 0) {
            request.capacity = static_cast<uint32_t>(number);
        } else if (option == "--device") {
            request.device = value;
        } else if (option == "--page" && parse_unsigned(value, 4096, &number) && number > 0) {
            request.page_size = static_cast<uint32_t>(number);
        } else if (option == "--from") {
            // Never more than the largest container: a FIFO, /dev/zero or
            // a huge file is refused instead of read without end.
            Bytes image;
            const int32_t status = read_regular_file(value, kMaxCapacity, &image);
            if (status == kImageIo) {
                std::fprintf(stderr, "fructl: cannot read %s\n", value.c_str());
                return 1;
            }
            if (status != kOk)
                return report(status, value);
            request.image = image;
        } else {
            std::fprintf(stderr, "fructl: bad option %s %s\n", option.c_str(), value.c_str());
            return 2;
        }
    }
    return add_container(store, request);
}

int cmd_remove(const std::string &store, const Args &args)
{
    return remove_container(store, args[0]);
}

int cmd_list(const std::string &store, const Args &)
{
    Inventory inventory;
    if (!load_store(store, &inventory))
        return 1;
    for (const ContainerEntry &e : inventory.entries)
        std::printf("%s %s %s %u %s%s\n", e.nac.c_str(),
                    e.type_known ? std::to_string(e.type).c_str() : "unknown",
                    family_name(e.family), e.capacity, e.path.c_str(), e.device ? " device" : "");
    return 0;
}

// The stored entries of a record, oldest first.
int32_t stored_entries(const ContainerEntry &entry, const RecordDef &def, std::vector<Bytes> *out)
{
    const FamilyHandler &family = family_handler(entry.family);
    if (family.stored_entries != nullptr)
        return family.stored_entries(entry, def, out);
    Bytes buffer(def.size != 0 ? def.size : 2048);
    int32_t length = static_cast<int32_t>(buffer.size());
    const int32_t status =
        family_handler(entry.family).read_record(entry, def.name, buffer.data(), &length);
    if (status == kOk) {
        buffer.resize(static_cast<size_t>(length));
        out->assign(1, buffer);
    }
    return status;
}

int cmd_get(const std::string &store, const Args &args)
{
    ContainerEntry entry;
    const RecordDef *def = nullptr;
    if (!open_record(store, args, &entry, &def))
        return 1;
    std::vector<Bytes> entries;
    const int32_t status = stored_entries(entry, *def, &entries);
    if (status != kOk)
        return report(status, args[0] + " " + def->name);
    for (const Bytes &e : entries)
        std::printf("%s\n", hex_bytes(e.data(), e.size(), "").c_str());
    return 0;
}

int cmd_put(const std::string &store, const Args &args)
{
    ContainerEntry entry;
    const RecordDef *def = nullptr;
    if (!open_record(store, args, &entry, &def))
        return 1;
    Bytes data;
    if (!parse_hex(args[2], &data)) {
        std::fprintf(stderr, "fructl: %s is not hexadecimal bytes\n", args[2].c_str());
        return 1;
    }
    if (data.size() != def->size) {
        std::fprintf(stderr, "fructl: %s takes %u bytes, not %zu\n", def->name,
                     static_cast<unsigned>(def->size), data.size());
        return 1;
    }
    int32_t length = static_cast<int32_t>(data.size());
    return report(family_handler(entry.family).access(entry, 2, def->name, data.data(), &length),
                  args[0] + " " + def->name);
}

int cmd_control(const std::string &store, const Args &args)
{
    ContainerEntry entry;
    const RecordDef *def = nullptr;
    if (!open_record(store, args, &entry, &def))
        return 1;
    // As many as fru_read_iter_control_bytes hands over in every family.
    uint8_t control[4] = {};
    int32_t length = sizeof control;
    const int32_t status = family_handler(entry.family).read_control(entry, def->name, control, &length);
    if (status != kOk)
        return report(status, args[0] + " " + def->name);
    std::printf("%s\n", hex_bytes(control, sizeof control, "").c_str());
    return 0;
}

// The image up to its last used byte: where the family says its content
// ends, else the last byte that is not erased.
size_t used_length(const ContainerEntry &entry, const Bytes &image)
{
    const FamilyHandler &family = family_handler(entry.family);
    if (family.used_length != nullptr)
        if (const size_t used = family.used_length(image); used > 0)
            return used;
    size_t end = image.size();
    while (end > 0 && image[end - 1] == 0xFF)
        --end;
    return end;
}

int cmd_image(const std::string &store, const Args &args)
{
    ContainerEntry entry;
    if (!open_entry(store, args[0], &entry))
        return 1;
    Bytes image;
    const int32_t status = with_image(entry, Access::Read, [&](Bytes &stored) -> int32_t {
        image = stored;
        return kOk;
    });
    if (status != kOk)
        return report(status, args[0]);
    image.resize(used_length(entry, image));
    const int fd = open(args[1].c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    size_t done = 0;
    while (fd >= 0 && done < image.size()) {
        const ssize_t n = write(fd, image.data() + done, image.size() - done);
        if (n <= 0)
            break;
        done += static_cast<size_t>(n);
    }
    if (fd < 0 || close(fd) != 0 || done != image.size()) {
        std::fprintf(stderr, "fructl: cannot write %s\n", args[1].c_str());
        return 1;
    }
    return 0;
}

int cmd_segments(const std::string &store, const Args &args)
{
    ContainerEntry entry;
    if (!open_segmented_entry(store, args[0], &entry))
        return 1;
    std::vector<SegmentSummary> segments;
    const int32_t status = family_handler(entry.family).segments(entry, &segments);
    for (const SegmentSummary &s : segments)
        std::printf("%s %zu %zu %s\n", s.name.c_str(), s.packets, s.bytes, s.usable ? "ok" : "bad");
    return report(status, args[0]);
}

// Flips the stored CRC of one segment in place, leaving everything else
// byte for byte as it was.
int cmd_corrupt(const std::string &store, const Args &args)
{
    ContainerEntry entry;
    if (!open_segmented_entry(store, args[0], &entry))
        return 1;
    const int32_t status = with_image(entry, Access::Write, [&](Bytes &image) -> int32_t {
        return family_handler(entry.family).corrupt_segment(image, args[1].c_str());
    });
    if (status == kNoSuchSegment) {
        std::fprintf(stderr, "fructl: %s has no segment %s\n", args[0].c_str(), args[1].c_str());
        return 1;
    }
    return report(status, args[0]);
}

// Converting is the one write of a format 1 device, and the one that a cut
// can empty: it runs only when asked, and says so before it starts.
int cmd_convert(const std::string &store, const Args &args)
{
    if (args.size() != 1 && !(args.size() == 3 && args[1] == "--backup")) {
        std::fprintf(stderr, "usage: fructl [--store DIR] convert NAC [--backup FILE]\n");
        return 1;
    }
    ContainerEntry entry;
    if (!open_entry(store, args[0], &entry))
        return 1;
    const auto convert = family_handler(entry.family).convert;
    if (convert == nullptr)
        return report(kUnsupportedFamily, args[0]);
    const int32_t status = convert(entry, args.size() == 3 ? &args[2] : nullptr, [&] {
        if (written_in_place(entry))
            std::fprintf(stderr,
                         "fructl: warning: converting %s in place is not cut-safe: a power cut before it ends "
                         "can leave the container empty, every record lost%s\n",
                         args[0].c_str(), args.size() == 3 ? "" : " (keep a copy with --backup FILE)");
    });
    if (status != kOk)
        return report(status, args[0]);
    std::printf("%s: converted to format 2%s%s\n", args[0].c_str(), args.size() == 3 ? "; the old image is in " : "",
                args.size() == 3 ? args[2].c_str() : "");
    return 0;
}

int cmd_registry(const std::string &, const Args &args)
{
    size_t count = 0;
    const EnumDef *defs = enum_defs(&count);
    bool shown = false;
    for (size_t i = 0; i < count; ++i) {
        if (!args.empty() && args[0] != defs[i].name)
            continue;
        shown = true;
        for (size_t e = 0; e < defs[i].count; ++e)
            std::printf("%s %s %u\n", defs[i].name, defs[i].entries[e].name,
                        static_cast<unsigned>(defs[i].entries[e].value));
    }
    if (!shown) {
        std::fprintf(stderr, "fructl: no definition %s in the registry\n", args[0].c_str());
        return 1;
    }
    return 0;
}

// Only with somewhere to keep the bytes it erases: they are someone's data.
int cmd_claim(const std::string &store, const Args &args)
{
    if (args.size() != 3 || args[1] != "--backup" || args[2].empty())
        return report(kClaimNeedsBackup, args[0]);
    ContainerEntry entry;
    if (!open_entry(store, args[0], &entry))
        return 1;
    return report(claim_customer_area(entry, args[2]), args[0]);
}

int cmd_show(const std::string &store, const Args &args)
{
    return show_command(store, args);
}

int cmd_doctor(const std::string &store, const Args &args)
{
    return run_doctor(store, args);
}

int cmd_help(const std::string &store, const Args &args);

struct Command {
    const char *name;
    size_t min_args;
    size_t max_args;
    int (*run)(const std::string &store, const Args &args);
    const char *synopsis;
    const char *explanation;  // one line
};

const Command kCommands[] = {
    {"init", 0, 0, cmd_init, "init", "create an empty store (no error if it exists)"},
    {"demo", 0, 0, cmd_demo, "demo", "add the demo platform's containers the store lacks"},
    {"add", 2, 12, cmd_add,
     "add NAC FAMILY [--type N|unknown] [--capacity BYTES] [--from IMAGE | --device PATH] "
     "[--page BYTES]",
     "add a container: a new image (empty or from IMAGE) or an existing file or device"},
    {"remove", 1, 1, cmd_remove, "remove NAC",
     "take a container out (its image in images/ is deleted, a device is left alone)"},
    {"list", 0, 0, cmd_list, "list", "one line per container: NAC TYPE FAMILY CAPACITY PATH"},
    {"get", 2, 2, cmd_get, "get NAC RECORD", "the record's stored bytes in hex, oldest entry first"},
    {"put", 3, 3, cmd_put, "put NAC RECORD HEX", "store the bytes as the record (a new entry)"},
    {"control", 2, 2, cmd_control, "control NAC RECORD", "the record's 4 iteration control bytes"},
    {"image", 2, 2, cmd_image, "image NAC FILE", "write the image, up to its last used byte, to FILE"},
    {"segments", 1, 1, cmd_segments, "segments NAC",
     "one line per segment: NAME PACKETS BYTES ok or bad"},
    {"corrupt", 2, 2, cmd_corrupt, "corrupt NAC SEGMENT",
     "damage the stored CRC of a segment (a testing aid)"},
    {"convert", 1, 3, cmd_convert, "convert NAC [--backup FILE]",
     "convert a format 1 image to format 2 (on a device not cut-safe: --backup keeps the old image)"},
    {"claim", 1, 3, cmd_claim, "claim NAC --backup FILE",
     "save a DIMM's customer area to FILE, then clear it for this platform's records"},
    {"show", 1, 4, cmd_show, "show NAC|--all|--file PATH FAMILY [--json]",
     "every record the container (each container, the image file) holds, decoded"},
    {"registry", 0, 1, cmd_registry, "registry [DEFINITION]",
     "enumeration entries: DEFINITION NAME VALUE"},
    {"doctor", 0, 1024, cmd_doctor, "doctor [NAC...]",
     "whether this user can read and write the store and its containers, and why not"},
    {"help", 0, 1, cmd_help, "help [COMMAND]", "this overview, or one command's arguments"},
};

const Command *find_command(const std::string &name)
{
    for (const Command &c : kCommands)
        if (name == c.name)
            return &c;
    return nullptr;
}

void overview(FILE *out, const std::string &store)
{
    std::fprintf(out,
                 "usage: fructl [--store DIR] COMMAND [ARGUMENTS]\n"
                 "       fructl --help | --version\n"
                 "The store is DIR, else $QUILLET_FRU_STORE, else the one built in (this run: %s).\n"
                 "commands:\n",
                 store.c_str());
    for (const Command &c : kCommands)
        std::fprintf(out, "  %-9s %s\n", c.name, c.explanation);
    std::fprintf(out, "'fructl help COMMAND' shows a command's arguments.\n");
}

int cmd_help(const std::string &store, const Args &args)
{
    if (args.empty()) {
        overview(stdout, store);
        return 0;
    }
    const Command *c = find_command(args[0]);
    if (c == nullptr) {
        std::fprintf(stderr, "fructl: unknown command %s\n", args[0].c_str());
        return 2;
    }
    std::printf("usage: fructl [--store DIR] %s\n  %s\n", c->synopsis, c->explanation);
    return 0;
}

int usage(const std::string &store)
{
    overview(stderr, store);
    return 2;
}

}  // namespace

int main(int argc, char **argv)
{
    Args args(argv + 1, argv + argc);
    std::string store = store_directory();
    if (args.size() >= 2 && args[0] == "--store") {
        store = args[1];
        args.erase(args.begin(), args.begin() + 2);
    }
    if (args.empty())
        return usage(store);
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h"))
        return cmd_help(store, {});
    if (args.size() == 1 && (args[0] == "--version" || args[0] == "-V")) {
        std::printf("fructl (quillet) %s\n", QUILLET_VERSION);
        return 0;
    }
    const Command *c = find_command(args[0]);
    if (c == nullptr) {
        std::fprintf(stderr, "fructl: unknown command %s\n", args[0].c_str());
        return usage(store);
    }
    const Args rest(args.begin() + 1, args.end());
    if (rest.size() < c->min_args || rest.size() > c->max_args) {
        std::fprintf(stderr, "usage: fructl [--store DIR] %s\n", c->synopsis);
        return 2;
    }
    return c->run(store, rest);
}
