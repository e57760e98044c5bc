// The FRU store: a directory whose `inventory` file lists the containers.
// A NAC name is only ever looked up here; no path is built from one.
#ifndef FRUPLATFORM_STORE_INVENTORY_H
#define FRUPLATFORM_STORE_INVENTORY_H

#include <cstdint>
#include <string>
#include <vector>

namespace fruplat {

enum class Family { Zan, Ipmi, Dimm, Pirom };

const char *family_name(Family family);
bool family_from_name(const std::string &name, Family *family);

inline constexpr uint32_t kDefaultPageSize = 32;

struct ContainerEntry {
    std::string nac;
    bool type_known = true;
    int32_t type = 0;
    Family family = Family::Zan;
    std::string path;        // as written in the inventory
    std::string image_path;  // resolved against the store directory
    uint32_t capacity = 0;
    // An existing file or device node (an EEPROM the kernel exposes) that is
    // written in place and never replaced, renamed, truncated or extended.
    bool device = false;
    // Writes to a device go in runs aligned to this many bytes.
    uint32_t page_size = kDefaultPageSize;
};

struct Inventory {
    std::string store_dir;
    std::vector<ContainerEntry> entries;
};

inline constexpr uint32_t kMaxCapacity = 1u << 20;

// QUILLET_FRU_STORE, else the store fixed when the layer was built.
std::string store_directory();

// Loads the inventory of `store_dir`; a malformed line is reported on
// standard error with its number and fails the load.
int32_t load_inventory(const std::string &store_dir, Inventory *inventory);

// Writes the inventory back atomically.
int32_t save_inventory(const Inventory &inventory);

const ContainerEntry *find_container(const Inventory &inventory, const char *nac);

std::string resolve_image_path(const std::string &store_dir, const std::string &path);

}  // namespace fruplat

#endif
