#include "fructl/store_admin.h"

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <string_view>
#include <unordered_set>
#include <vector>
#include <sys/stat.h>
#include <unistd.h>

#include "store/image_file.h"
#include "store/status.h"
#include "store/store_hint.h"
#include "store/store_lock.h"
#include "access/family.h"

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

int fail(const char *format, const std::string &argument)
{
    std::fprintf(stderr, format, argument.c_str());
    return 1;
}

}  // namespace

// A store that is missing, or there but unreadable, is named with what to
// do about it, as the platform's own hint says it to quillet's users.
bool load_store(const std::string &store, Inventory *inventory)
{
    const int32_t status = load_inventory(store, inventory);
    if (status == kOk)
        return true;
    const std::string hint = store_hint(status, store, nullptr);
    if (!hint.empty())
        std::fprintf(stderr, "fructl: %s\n", hint.c_str() + std::strlen("fru store: "));
    else
        std::fprintf(stderr, "fructl: %s: %s\n", store.c_str(), status_text(status));
    return false;
}

namespace {

// One edit of a store under its lock: the inventory as it stands, and the
// images made for it so far. The inventory changes only at commit(), in one
// rename; an edit that ends without a commit deletes the images it made, so
// a failure leaves the store as it found it.
class StoreEdit {
public:
    StoreEdit(const StoreEdit &) = delete;
    StoreEdit &operator=(const StoreEdit &) = delete;
    StoreEdit() = default;
    ~StoreEdit()
    {
        if (committed_)
            return;
        for (const std::string &path : created_) {
            unlink(path.c_str());
            unlink((path + ".lock").c_str());
        }
    }

    bool begin(const std::string &store)
    {
        const int32_t status = lock_.acquire(store);
        if (status == kStoreBusy) {
            std::fprintf(stderr, "fructl: %s: %s\n", store.c_str(), status_text(status));
            return false;
        }
        if (status != kOk) {
            std::fprintf(stderr, "fructl: no store at %s (run 'fructl init')\n", store.c_str());
            return false;
        }
        if (!load_store(store, &inventory))
            return false;
        for (const ContainerEntry &e : inventory.entries)
            used_paths_.insert(e.path);
        return true;
    }

    // Gives `entry` an image file of its own, created exclusively so that
    // no two containers ever share one, and writes `image` into it. Names
    // are never made from the NAC name.
    int32_t create_image(ContainerEntry *entry, const Bytes &image)
    {
        const std::string &store = inventory.store_dir;
        if (!make_directory(store + "/images"))
            return kImageIo;
        for (unsigned n = 1;; ++n) {
            const std::string candidate = "images/c" + std::to_string(n) + ".img";
            if (used_paths_.count(candidate) != 0)
                continue;
            const std::string path = resolve_image_path(store, candidate);
            const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
            if (fd < 0 && errno == EEXIST)
                continue;
            if (fd < 0)
                return kImageIo;
            close(fd);
            created_.push_back(path);
            used_paths_.insert(candidate);
            entry->path = candidate;
            entry->image_path = path;
            return write_image(*entry, image);
        }
    }

    bool commit()
    {
        if (save_inventory(inventory) != kOk) {
            std::fprintf(stderr, "fructl: cannot write %s/inventory\n", inventory.store_dir.c_str());
            return false;
        }
        committed_ = true;
        return true;
    }

    Inventory inventory;

private:
    StoreLock lock_;
    std::vector<std::string> created_;
    std::unordered_set<std::string> used_paths_;
    bool committed_ = false;
};

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

int32_t request_status(const AddRequest &request)
{
    if (nac_problem(request.nac) != nullptr)
        return kBadNacName;
    if (request.type_known && request.type && !type_fits_family(*request.type, request.family))
        return kTypeNotInFamily;
    if (request.image && request.image->size() > kMaxCapacity)
        return kInputTooLarge;
    return kOk;
}

// Adds the container to the edit's inventory; 0, 1 on a failure, 2 for a
// request that breaks the inventory's rules.
int add_to(StoreEdit &edit, const AddRequest &request, ContainerEntry *added)
{
    if (const int32_t status = request_status(request); status != kOk) {
        std::fprintf(stderr, "fructl: %s: %s\n", request.nac.c_str(), status_text(status));
        return 2;
    }
    if (find_container(edit.inventory, request.nac.c_str()) != nullptr)
        return fail("fructl: container %s already exists\n", request.nac);
    ContainerEntry entry;
    entry.nac = request.nac;
    entry.family = request.family;
    entry.type_known = request.type_known;
    entry.type = request.type.value_or(default_type(request.family));
    entry.page_size = request.page_size.value_or(kDefaultPageSize);
    if (request.device) {
        if (request.image)
            return fail("fructl: %s: --device and --from exclude each other; flash with quillet -i\n",
                        request.nac);
        entry.path = absolute_path(*request.device);
        if (const char *problem = path_problem(entry.path)) {
            std::fprintf(stderr, "fructl: %s: %s\n", entry.path.c_str(), problem);
            return 2;
        }
        if (!device_capacity(*request.device, request.capacity, &entry.capacity))
            return 1;
        // Each part of the layout starts a page of its own on a device: a
        // page too large leaves no room for a single segment.
        const auto largest_page = family_handler(entry.family).largest_page;
        if (const uint32_t fits = largest_page != nullptr ? largest_page(entry.capacity) : UINT32_MAX;
            entry.page_size > fits) {
            std::fprintf(stderr,
                         "fructl: %s: a page of %u bytes leaves no room for the layout on %u bytes; the largest page that fits is %u\n",
                         request.nac.c_str(), static_cast<unsigned>(entry.page_size),
                         static_cast<unsigned>(entry.capacity), static_cast<unsigned>(fits));
            return 2;
        }
        entry.device = true;
        entry.image_path = entry.path;
        add_entry(&edit.inventory, entry);
        *added = entry;
        return 0;
    }
    entry.capacity = request.capacity.value_or(default_capacity(request.family));
    if (request.image && !request.capacity && request.image->size() > entry.capacity)
        entry.capacity = static_cast<uint32_t>(request.image->size());
    Bytes image;
    if (request.image) {
        image = *request.image;
        if (image.size() > entry.capacity)
            return fail("fructl: the image is larger than the capacity of %s\n", request.nac);
        const FamilyHandler &family = family_handler(entry.family);
        if (const char *warning = family.image_warning != nullptr ? family.image_warning(image) : nullptr)
            std::fprintf(stderr, "fructl: warning: %s %s\n", request.nac.c_str(), warning);
    } else if (family_handler(entry.family).blank_image != nullptr) {
        image = family_handler(entry.family).blank_image(entry.capacity);
    }
    if (edit.create_image(&entry, image) != kOk)
        return fail("fructl: cannot write the image of %s\n", request.nac);
    add_entry(&edit.inventory, entry);
    *added = entry;
    return 0;
}

// Deletes an image fructl made: only a plain name directly inside the
// store's own images/ directory, reached without following a symbolic link,
// so that an inventory path that climbs out ("images/../x") or an images/
// that links elsewhere never costs a file outside the store.
void delete_store_image(const std::string &store, const std::string &path)
{
    constexpr std::string_view kImages = "images/";
    if (path.compare(0, kImages.size(), kImages) != 0)
        return;
    const std::string name = path.substr(kImages.size());
    if (name.empty() || name == "." || name == ".." || name.find('/') != std::string::npos)
        return;
    const int dir = open((store + "/images").c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (dir < 0)
        return;
    unlinkat(dir, name.c_str(), 0);
    unlinkat(dir, (name + ".lock").c_str(), 0);
    close(dir);
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
    StoreLock lock;
    const int32_t status = lock.acquire(store);
    if (status != kOk) {
        std::fprintf(stderr, "fructl: %s: %s\n", store.c_str(), status_text(status));
        return 1;
    }
    if (access((store + "/inventory").c_str(), F_OK) == 0)
        return 0;
    Inventory empty;
    empty.store_dir = store;
    return save_inventory(empty) == kOk ? 0 : fail("fructl: cannot write %s/inventory\n", store);
}

bool open_entry(const std::string &store, const std::string &nac, ContainerEntry *entry)
{
    Inventory inventory;
    if (!load_store(store, &inventory))
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
    return add_seeded(store, {{request, nullptr}});
}

int add_seeded(const std::string &store, const std::vector<SeededAdd> &adds)
{
    StoreEdit edit;
    if (!edit.begin(store))
        return 1;
    for (const SeededAdd &add : adds) {
        if (adds.size() > 1 && find_container(edit.inventory, add.request.nac.c_str()) != nullptr) {
            std::fprintf(stderr, "fructl: %s already in the store, kept as it is\n",
                         add.request.nac.c_str());
            continue;
        }
        ContainerEntry added;
        if (const int result = add_to(edit, add.request, &added); result != 0)
            return result;
        const int32_t status = add.seed ? add.seed(added) : kOk;
        if (status != kOk) {
            std::fprintf(stderr, "fructl: seeding %s: %s\n", added.nac.c_str(), status_text(status));
            return 1;
        }
    }
    return edit.commit() ? 0 : 1;
}

int remove_container(const std::string &store, const std::string &nac)
{
    StoreEdit edit;
    if (!edit.begin(store))
        return 1;
    const ContainerEntry *found = find_container(edit.inventory, nac.c_str());
    if (found == nullptr)
        return fail("fructl: no container %s in the store\n", nac);
    const ContainerEntry removed = *found;
    remove_entry(&edit.inventory, nac);
    if (!edit.commit())
        return 1;
    if (!removed.device)
        delete_store_image(store, removed.path);
    return 0;
}

}  // namespace fruplat
