// What fructl does to a store, apart from its command line.
#ifndef FRUPLATFORM_FRUCTL_STORE_ADMIN_H
#define FRUPLATFORM_FRUCTL_STORE_ADMIN_H

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "store/bytes.h"
#include "store/inventory.h"

namespace fruplat {

struct AddRequest {
    std::string nac;
    Family family = Family::Zan;
    bool type_known = true;
    std::optional<int32_t> type;
    std::optional<uint32_t> capacity;
    std::optional<Bytes> image;
    std::optional<std::string> device;  // an existing file or node, used in place
    std::optional<uint32_t> page_size;
};

// A container to add and what to write into its image once it exists.
struct SeededAdd {
    AddRequest request;
    std::function<int32_t(const ContainerEntry &entry)> seed;
};

// Each edit holds the store's lock and changes the inventory in one
// rename; a failure leaves the store as it was. Each returns 0, or prints
// its reason on standard error and returns 1 (2 for a request the
// inventory's rules refuse).
[[nodiscard]] int init_store(const std::string &store);
[[nodiscard]] int add_container(const std::string &store, const AddRequest &request);
[[nodiscard]] int remove_container(const std::string &store, const std::string &nac);
// Adds, in one edit, each container the store does not hold yet.
[[nodiscard]] int add_seeded(const std::string &store, const std::vector<SeededAdd> &adds);

uint32_t default_capacity(Family family);
int32_t default_type(Family family);

// Loads the store's inventory, reporting a failure on standard error.
[[nodiscard]] bool load_store(const std::string &store, Inventory *inventory);

// Loads the inventory and finds the container, reporting failures.
[[nodiscard]] bool open_entry(const std::string &store, const std::string &nac, ContainerEntry *entry);

// Adds the demo platform's containers that the store does not have yet.
[[nodiscard]] int add_demo(const std::string &store);

// Decodes hexadecimal text (no separators); false when it is not.
[[nodiscard]] bool parse_hex(const std::string &text, Bytes *out);

}  // namespace fruplat

#endif
