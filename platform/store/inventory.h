// The FRU store: a directory whose `inventory` file lists the containers.
// A NAC name is only ever looked up here; no path is built from one.
#ifndef FRUPLATFORM_STORE_INVENTORY_H
#define FRUPLATFORM_STORE_INVENTORY_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace fruplat {

enum class Family { Zan, Ipmi, Dimm, Pirom };

const char *family_name(Family family);
bool family_from_name(const std::string &name, Family *family);

// The container types `fru_get_cont_type` may report for a family, as text
// ("0 or 4"); the tool sizes records by the type, the layer by the family,
// so the two must agree.
const char *family_types(Family family);
bool type_fits_family(int32_t type, Family family);

inline constexpr uint32_t kDefaultPageSize = 32;
inline constexpr uint32_t kMaxCapacity = 1u << 20;
inline constexpr size_t kMaxNacLength = 64;
inline constexpr size_t kMaxPathLength = 4095;
// Far beyond any platform's container count; a bound on what a read costs.
inline constexpr size_t kMaxInventoryBytes = 64u << 20;

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
    std::unordered_map<std::string, size_t> index;  // NAC name -> entries position
};

// Why a NAC name, an inventory path or a whole entry cannot be stored, or
// null when it can. The same rules hold when an inventory is written and
// when it is read.
const char *nac_problem(const std::string &nac);
const char *path_problem(const std::string &path);
std::string entry_problem(const ContainerEntry &entry);

// QUILLET_FRU_STORE, else the store fixed when the layer was built.
std::string store_directory();

// Loads the inventory of `store_dir`; a malformed line is reported on
// standard error with its number and fails the load.
[[nodiscard]] int32_t load_inventory(const std::string &store_dir, Inventory *inventory);

// The entry of one container in the inventory of store_directory(), read
// once per process (again only when the file was replaced). Only the lines
// whose NAC is `nac` are parsed: a malformed one fails the look-up as a
// whole-file load would report it, and so does a second one (listed
// twice); malformed lines of other containers do not concern this look-up.
// kUnknownContainer when no line names it.
[[nodiscard]] int32_t find_inventory_entry(const char *nac, ContainerEntry *entry);

// Writes the inventory back atomically; an entry that breaks the rules is
// refused (kBadInventory) and nothing is written.
[[nodiscard]] int32_t save_inventory(const Inventory &inventory);

const ContainerEntry *find_container(const Inventory &inventory, const char *nac);

// Keep the index in step with the entries.
void add_entry(Inventory *inventory, const ContainerEntry &entry);
bool remove_entry(Inventory *inventory, const std::string &nac);

std::string resolve_image_path(const std::string &store_dir, const std::string &path);

}  // namespace fruplat

#endif
