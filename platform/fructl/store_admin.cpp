#include "fructl/store_admin.h"

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "store/image_file.h"
#include "store/status.h"
#include "zan/zan_image.h"

namespace fruplat {

namespace {

struct FamilyDefaults {
    Family family;
    int32_t type;
    uint32_t capacity;
};

// A ZAN container fits its records and one full 8192-byte opaque section.
constexpr FamilyDefaults kDefaults[] = {
    {Family::Zan, 0, 16384},
    {Family::Ipmi, 1, 2048},
    {Family::Dimm, 2, 256},
    {Family::Pirom, 3, 128},
};

const FamilyDefaults &defaults_of(Family family)
{
    for (const FamilyDefaults &d : kDefaults)
        if (d.family == family)
            return d;
    return kDefaults[0];
}

bool make_directory(const std::string &path)
{
    return mkdir(path.c_str(), 0755) == 0 || errno == EEXIST;
}

// Images fructl creates get a name of their own, never one made from the
// NAC name.
std::string new_image_path(const Inventory &inventory)
{
    for (unsigned n = 1;; ++n) {
        const std::string candidate = "images/c" + std::to_string(n) + ".img";
        bool used = access((inventory.store_dir + "/" + candidate).c_str(), F_OK) == 0;
        for (const ContainerEntry &e : inventory.entries)
            used = used || e.path == candidate;
        if (!used)
            return candidate;
    }
}

int fail(const char *format, const std::string &argument)
{
    std::fprintf(stderr, format, argument.c_str());
    return 1;
}

bool load(const std::string &store, Inventory *inventory)
{
    const int32_t status = load_inventory(store, inventory);
    if (status == kOk)
        return true;
    if (status == kNoStore)
        std::fprintf(stderr, "fructl: no store at %s (run 'fructl init')\n", store.c_str());
    return false;
}

// A device's capacity is its size; a character device has none to read, so
// the operator gives it.
bool device_capacity(const std::string &path, const std::optional<uint32_t> &given,
                     uint32_t *capacity)
{
    struct stat info;
    if (stat(path.c_str(), &info) != 0)
        return fail("fructl: cannot use %s as a device\n", path) == 0;
    uint64_t size = 0;
    if (S_ISREG(info.st_mode)) {
        size = static_cast<uint64_t>(info.st_size);
    } else if (S_ISBLK(info.st_mode)) {
        const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd >= 0) {
            const off_t end = lseek(fd, 0, SEEK_END);
            size = end > 0 ? static_cast<uint64_t>(end) : 0;
            close(fd);
        }
    } else if (!S_ISCHR(info.st_mode)) {
        return fail("fructl: %s is neither a file nor a device node\n", path) == 0;
    }
    if (given) {
        if (size != 0 && *given > size)
            return fail("fructl: --capacity is larger than %s\n", path) == 0;
        *capacity = *given;
        return true;
    }
    if (size == 0)
        return fail("fructl: the size of %s cannot be read; give --capacity\n", path) == 0;
    if (size > kMaxCapacity)
        return fail("fructl: %s is larger than the largest container (1048576 bytes)\n", path) == 0;
    *capacity = static_cast<uint32_t>(size);
    return true;
}

std::string absolute_path(const std::string &path)
{
    if (!path.empty() && path[0] == '/')
        return path;
    char here[4096];
    return getcwd(here, sizeof here) != nullptr ? std::string(here) + "/" + path : path;
}

int add_device(const std::string &store, Inventory &inventory, ContainerEntry &entry,
               const AddRequest &request)
{
    if (request.image)
        return fail("fructl: %s: --device and --from exclude each other; flash with quillet -i\n",
                    request.nac);
    if (!device_capacity(*request.device, request.capacity, &entry.capacity))
        return 1;
    entry.device = true;
    entry.path = absolute_path(*request.device);
    entry.image_path = entry.path;
    inventory.entries.push_back(entry);
    return save_inventory(inventory) == kOk ? 0 : fail("fructl: cannot write %s/inventory\n", store);
}

}  // namespace

uint32_t default_capacity(Family family)
{
    return defaults_of(family).capacity;
}

int32_t default_type(Family family)
{
    return defaults_of(family).type;
}

bool parse_hex(const std::string &text, Bytes *out)
{
    if (text.size() % 2 != 0)
        return false;
    out->clear();
    for (size_t i = 0; i < text.size(); i += 2) {
        unsigned value = 0;
        if (std::sscanf(text.c_str() + i, "%2x", &value) != 1 ||
            !std::isxdigit(static_cast<unsigned char>(text[i])) ||
            !std::isxdigit(static_cast<unsigned char>(text[i + 1])))
            return false;
        out->push_back(static_cast<uint8_t>(value));
    }
    return true;
}

int init_store(const std::string &store)
{
    if (!make_directory(store) || !make_directory(store + "/images"))
        return fail("fructl: cannot create store %s\n", store);
    if (access((store + "/inventory").c_str(), F_OK) == 0)
        return 0;
    Inventory empty;
    empty.store_dir = store;
    return save_inventory(empty) == kOk ? 0 : fail("fructl: cannot write %s/inventory\n", store);
}

bool open_entry(const std::string &store, const std::string &nac, ContainerEntry *entry)
{
    Inventory inventory;
    if (!load(store, &inventory))
        return false;
    const ContainerEntry *found = find_container(inventory, nac.c_str());
    if (found == nullptr) {
        std::fprintf(stderr, "fructl: no container %s in the store\n", nac.c_str());
        return false;
    }
    *entry = *found;
    return true;
}

int add_container(const std::string &store, const AddRequest &request)
{
    Inventory inventory;
    if (!load(store, &inventory))
        return 1;
    if (request.nac.empty() || request.nac.find_first_of(" \t\r\n#") != std::string::npos)
        return fail("fructl: a NAC name may not be empty or hold blanks or '#': '%s'\n",
                    request.nac);
    if (find_container(inventory, request.nac.c_str()) != nullptr)
        return fail("fructl: container %s already exists\n", request.nac);
    ContainerEntry entry;
    entry.nac = request.nac;
    entry.family = request.family;
    entry.type_known = request.type_known;
    entry.type = request.type.value_or(default_type(request.family));
    entry.page_size = request.page_size.value_or(kDefaultPageSize);
    if (request.device)
        return add_device(store, inventory, entry, request);
    entry.capacity = request.capacity.value_or(default_capacity(request.family));
    if (request.image && !request.capacity && request.image->size() > entry.capacity)
        entry.capacity = static_cast<uint32_t>(request.image->size());
    entry.path = new_image_path(inventory);
    entry.image_path = resolve_image_path(store, entry.path);
    Bytes image;
    if (request.image) {
        image = *request.image;
        if (image.size() > entry.capacity)
            return fail("fructl: the image is larger than the capacity of %s\n", request.nac);
        ZanImage parsed;
        if (entry.family == Family::Zan && parse_zan_image(image, &parsed) != kOk)
            std::fprintf(stderr, "fructl: warning: %s holds no valid ZAN image\n",
                         request.nac.c_str());
    } else if (entry.family == Family::Zan) {
        image = empty_zan_image(entry.capacity);
    }
    if (!make_directory(store + "/images"))
        return fail("fructl: cannot create %s/images\n", store);
    if (write_image(entry, image) != kOk)
        return fail("fructl: cannot write the image of %s\n", request.nac);
    inventory.entries.push_back(entry);
    return save_inventory(inventory) == kOk ? 0 : fail("fructl: cannot write %s/inventory\n", store);
}

int remove_container(const std::string &store, const std::string &nac)
{
    Inventory inventory;
    if (!load(store, &inventory))
        return 1;
    for (auto it = inventory.entries.begin(); it != inventory.entries.end(); ++it) {
        if (it->nac != nac)
            continue;
        // Only images fructl made inside the store are deleted; an EEPROM
        // device or a file elsewhere stays where it is.
        const bool own_image = it->path.rfind("images/", 0) == 0;
        const std::string image = it->image_path;
        inventory.entries.erase(it);
        if (save_inventory(inventory) != kOk)
            return fail("fructl: cannot write %s/inventory\n", store);
        if (own_image) {
            unlink(image.c_str());
            unlink((image + ".lock").c_str());
        }
        return 0;
    }
    return fail("fructl: no container %s in the store\n", nac);
}

}  // namespace fruplat
