#include "store/inventory.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

#include "store/image_file.h"
#include "store/status.h"

#ifndef QUILLET_DEFAULT_STORE
#define QUILLET_DEFAULT_STORE "/var/lib/quillet"
#endif

namespace fruplat {

namespace {

struct FamilyName {
    Family family;
    const char *name;
};

constexpr FamilyName kFamilies[] = {
    {Family::Zan, "zan"}, {Family::Ipmi, "ipmi"}, {Family::Dimm, "dimm"}, {Family::Pirom, "pirom"}};

bool parse_number(const std::string &text, long long low, long long high, long long *out)
{
    if (text.empty())
        return false;
    errno = 0;
    char *end = nullptr;
    const long long v = std::strtoll(text.c_str(), &end, 0);
    if (errno != 0 || *end != '\0' || v < low || v > high)
        return false;
    *out = v;
    return true;
}

// Fills `entry` from one inventory line; the problem when it cannot.
const char *parse_line(const std::string &line, ContainerEntry *entry)
{
    std::istringstream in(line);
    std::string type, family, capacity, extra;
    if (!(in >> entry->nac >> type >> family >> entry->path >> capacity))
        return "expected: NAC TYPE FAMILY PATH CAPACITY [device] [page=BYTES]";
    long long number = 0;
    while (in >> extra) {
        if (extra == "device" && !entry->device)
            entry->device = true;
        else if (extra.rfind("page=", 0) == 0 && parse_number(extra.substr(5), 1, 4096, &number))
            entry->page_size = static_cast<uint32_t>(number);
        else
            return "after CAPACITY only 'device' and 'page=BYTES' (1 to 4096) may follow";
    }
    if (type == "unknown") {
        entry->type_known = false;
    } else if (parse_number(type, INT32_MIN, INT32_MAX, &number)) {
        entry->type = static_cast<int32_t>(number);
    } else {
        return "TYPE must be a number or 'unknown'";
    }
    if (!family_from_name(family, &entry->family))
        return "FAMILY must be zan, ipmi, dimm or pirom";
    if (!parse_number(capacity, 1, kMaxCapacity, &number))
        return "CAPACITY must be a byte count from 1 to 1048576";
    entry->capacity = static_cast<uint32_t>(number);
    return nullptr;
}

}  // namespace

const char *family_name(Family family)
{
    for (const FamilyName &f : kFamilies)
        if (f.family == family)
            return f.name;
    return "?";
}

bool family_from_name(const std::string &name, Family *family)
{
    for (const FamilyName &f : kFamilies) {
        if (name == f.name) {
            *family = f.family;
            return true;
        }
    }
    return false;
}

std::string store_directory()
{
    const char *env = std::getenv("QUILLET_FRU_STORE");
    return env != nullptr && *env != '\0' ? env : QUILLET_DEFAULT_STORE;
}

std::string resolve_image_path(const std::string &store_dir, const std::string &path)
{
    return !path.empty() && path[0] == '/' ? path : store_dir + "/" + path;
}

int32_t load_inventory(const std::string &store_dir, Inventory *inventory)
{
    inventory->store_dir = store_dir;
    inventory->entries.clear();
    const std::string file = store_dir + "/inventory";
    std::ifstream in(file);
    if (!in)
        return kNoStore;
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        const size_t first = line.find_first_not_of(" \t\r");
        if (first == std::string::npos || line[first] == '#')
            continue;
        ContainerEntry entry;
        if (const char *problem = parse_line(line, &entry)) {
            std::fprintf(stderr, "fru store: %s line %d: %s\n", file.c_str(), number, problem);
            return kBadInventory;
        }
        if (find_container(*inventory, entry.nac.c_str()) != nullptr) {
            std::fprintf(stderr, "fru store: %s line %d: container %s listed twice\n",
                         file.c_str(), number, entry.nac.c_str());
            return kBadInventory;
        }
        entry.image_path = resolve_image_path(store_dir, entry.path);
        inventory->entries.push_back(entry);
    }
    return kOk;
}

int32_t save_inventory(const Inventory &inventory)
{
    std::ostringstream out;
    out << "# NAC TYPE FAMILY PATH CAPACITY [device] [page=BYTES]\n";
    for (const ContainerEntry &e : inventory.entries) {
        out << e.nac << ' ' << (e.type_known ? std::to_string(e.type) : "unknown") << ' '
            << family_name(e.family) << ' ' << e.path << ' ' << e.capacity;
        if (e.device)
            out << " device";
        if (e.page_size != kDefaultPageSize)
            out << " page=" << e.page_size;
        out << '\n';
    }
    const std::string text = out.str();
    return replace_file(inventory.store_dir + "/inventory", Bytes(text.begin(), text.end()));
}

const ContainerEntry *find_container(const Inventory &inventory, const char *nac)
{
    if (nac == nullptr)
        return nullptr;
    for (const ContainerEntry &e : inventory.entries)
        if (e.nac == nac)
            return &e;
    return nullptr;
}

}  // namespace fruplat
