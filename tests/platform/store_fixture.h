// A temporary FRU store that the platform layer is pointed at.
#ifndef QUILLET_TESTS_STORE_FIXTURE_H
#define QUILLET_TESTS_STORE_FIXTURE_H

#include <gtest/gtest.h>

#include <string>

#include "fructl/store_admin.h"
#include "platform/fru_access.h"
#include "registry/registry.h"
#include "store/inventory.h"

namespace quillet_test {

class StoreTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    void add(const std::string &nac, fruplat::Family family = fruplat::Family::Zan,
             uint32_t capacity = 0, int32_t type = -1);
    fruplat::ContainerEntry entry(const std::string &nac) const;
    fru_nodehdl_t node(const std::string &nac);

    // A record of `def` filled with `seed`, seed+1, ...
    static std::vector<uint8_t> pattern(const char *record, uint8_t seed);
    // Stores through the access call as the tool does (length 2048).
    int32_t update(const std::string &nac, const char *name, std::vector<uint8_t> bytes);
    int32_t remove(const std::string &nac, const char *name);
    // Reads with presentation; the printed text lands in `shown`.
    int32_t read(const std::string &nac, const char *name, std::string *shown = nullptr);
    int32_t slots(const std::string &nac, const char *name, int32_t length, std::vector<uint8_t> *out);

    std::string store_;
};

}  // namespace quillet_test

#endif
