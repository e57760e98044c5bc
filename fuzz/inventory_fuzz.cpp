// The store's inventory file. What loads must save and load back to the
// same entries, since fructl rewrites the inventory on every change.
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "fuzz_support.h"
#include "store/inventory.h"
#include "store/status.h"

namespace {

bool same(const fruplat::ContainerEntry &a, const fruplat::ContainerEntry &b)
{
    return a.nac == b.nac && a.type_known == b.type_known && (!a.type_known || a.type == b.type) &&
           a.family == b.family && a.path == b.path && a.image_path == b.image_path &&
           a.capacity == b.capacity && a.device == b.device && a.page_size == b.page_size;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const std::string dir = [] {
        std::string made = fuzzing::scratch_dir() + "/inventory-store";
        std::filesystem::create_directory(made);
        return made;
    }();
    fuzzing::write_file(dir + "/inventory", data, size);
    fruplat::Inventory loaded;
    if (fruplat::load_inventory(dir, &loaded) != fruplat::kOk)
        return 0;
    for (const fruplat::ContainerEntry &e : loaded.entries)
        if (fruplat::find_container(loaded, e.nac.c_str()) == nullptr)
            std::abort();
    if (fruplat::save_inventory(loaded) != fruplat::kOk)
        std::abort();
    fruplat::Inventory again;
    if (fruplat::load_inventory(dir, &again) != fruplat::kOk ||
        again.entries.size() != loaded.entries.size())
        std::abort();
    for (size_t i = 0; i < loaded.entries.size(); ++i)
        if (!same(loaded.entries[i], again.entries[i]))
            std::abort();
    return 0;
}
