// A temporary FRU store that the platform layer is pointed at.
#ifndef QUILLET_TESTS_STORE_FIXTURE_H
#define QUILLET_TESTS_STORE_FIXTURE_H

#include <gtest/gtest.h>

#include <string>

#include "fructl/store_admin.h"
#include "platform/fru_access.h"
#include "registry/registry.h"
#include "store/image_file.h"
#include "store/inventory.h"
#include "store/status.h"
#include "zan/zan_image.h"

namespace quillet_test {

// The segments a walk of `handle` shows in order, " bad" after each it
// reports bad; the walk's status lands in `status`, and the names of the bad
// ones as handed out (the caller's to free) in `bad`.
std::vector<std::string> walk(fru_nodehdl_t handle, int32_t *status = nullptr, std::vector<char *> *bad = nullptr);

// Flashes `bytes` onto container `nac` through the container interface, as
// quillet -i does.
int32_t flash(const std::string &nac, const fruplat::Bytes &bytes);

class StoreTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    void add(const std::string &nac, fruplat::Family family = fruplat::Family::Zan, uint32_t capacity = 0,
             int32_t type = -1);
    void add_image(const std::string &nac, const fruplat::Bytes &image);
    // A file or node used in place, with `page` (0: the page the store picks).
    void add_device(const std::string &nac, const std::string &path, uint32_t page = 0,
                    fruplat::Family family = fruplat::Family::Zan);
    fruplat::ContainerEntry entry(const std::string &nac) const;
    fru_nodehdl_t node(const std::string &nac);
    fruplat::Bytes image(const std::string &nac) const;
    fruplat::ZanImage parsed(const std::string &nac) const;

    // A record of `def` filled with `seed`, seed+1, ...
    static std::vector<uint8_t> pattern(const char *record, uint8_t seed);
    // Stores through the access call as the tool does (length 2048).
    int32_t update(const std::string &nac, const char *name, std::vector<uint8_t> bytes);
    int32_t remove(const std::string &nac, const char *name);
    // Reads with presentation, which is dropped.
    int32_t read(const std::string &nac, const char *name);
    int32_t slots(const std::string &nac, const char *name, int32_t length, std::vector<uint8_t> *out);
    // The slots of a record that must read.
    std::vector<uint8_t> stored(const std::string &nac, const char *name, int32_t length = 2048);
    // Flashes a ZAN image of `capacity` bytes holding `records`, each its
    // pattern from `seed`.
    static int32_t flash_records(const std::string &nac, std::initializer_list<const char *> records, uint8_t seed,
                                 uint32_t capacity = 8192);
    // Writes `size` bytes of `seed` into section 0 (DYNAMIC) or 1 (STATIC).
    int32_t opaque_write(const std::string &nac, const char *segment, int32_t section, uint32_t size, uint8_t seed);

    std::string store_;
};

}  // namespace quillet_test

#endif
