#include "platform/store_fixture.h"

#include <cstdlib>

#include "platform/container_interface.h"
#include "zan/zan_records.h"

namespace quillet_test {

std::vector<std::string> walk(fru_nodehdl_t handle, int32_t *status, std::vector<char *> *bad)
{
    std::pair<std::vector<std::string>, std::vector<char *> *> seen{{}, bad};
    const int32_t walked = fru_for_each_segment(handle, [](fru_seghdl_t segment, void *arg) -> int32_t {
        auto &[names, bad_names] = *static_cast<decltype(seen) *>(arg);
        char *name = nullptr;
        if (const int32_t found = fru_get_segment_name(segment, &name); found != 0)
            return found;
        const bool is_bad = fru_get_num_packets(segment) <= 0 || bad_seg != 0;
        names.push_back(name + std::string(is_bad ? " bad" : ""));
        if (is_bad && bad_names != nullptr)
            bad_names->push_back(name);
        else
            std::free(name);
        return 0;
    }, &seen);
    if (status != nullptr)
        *status = walked;
    return seen.first;
}

int32_t flash(const std::string &nac, const fruplat::Bytes &bytes)
{
    capi_container_t container{};
    uint32_t written = 0;
    int32_t status = capi_fruid_open_container(nac.c_str(), &container);
    if (status == 0)
        status = capi_fruid_write_container(&container, bytes.data(), 0, static_cast<uint32_t>(bytes.size()), &written);
    const int32_t closed = capi_fruid_close_container(&container);
    return status != 0 ? status : closed;
}

void StoreTest::SetUp()
{
    char dir[] = "/tmp/quillet-store-XXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    store_ = dir;
    setenv("QUILLET_FRU_STORE", store_.c_str(), 1);
    setenv("QUILLET_LOCK_DIR", (store_ + "/locks").c_str(), 1);
    ASSERT_EQ(fruplat::init_store(store_), 0);
}

void StoreTest::TearDown()
{
    EXPECT_EQ(fru_close_data_source(), 0);
    ASSERT_EQ(std::system(("rm -rf '" + store_ + "'").c_str()), 0);
}

void StoreTest::add(const std::string &nac, fruplat::Family family, uint32_t capacity, int32_t type)
{
    fruplat::AddRequest request;
    request.nac = nac;
    request.family = family;
    if (capacity != 0)
        request.capacity = capacity;
    if (type >= 0)
        request.type = type;
    ASSERT_EQ(fruplat::add_container(store_, request), 0);
}

void StoreTest::add_image(const std::string &nac, const fruplat::Bytes &image)
{
    fruplat::AddRequest request;
    request.nac = nac;
    request.image = image;
    ASSERT_EQ(fruplat::add_container(store_, request), 0);
}

void StoreTest::add_device(const std::string &nac, const std::string &path, uint32_t page, fruplat::Family family)
{
    fruplat::AddRequest request;
    request.nac = nac;
    request.family = family;
    request.device = path;
    if (page != 0)
        request.page_size = page;
    ASSERT_EQ(fruplat::add_container(store_, request), 0);
}

fruplat::ContainerEntry StoreTest::entry(const std::string &nac) const
{
    fruplat::ContainerEntry e;
    EXPECT_TRUE(fruplat::open_entry(store_, nac, &e));
    return e;
}

fru_nodehdl_t StoreTest::node(const std::string &nac)
{
    fru_nodehdl_t handle = 0;
    EXPECT_EQ(fru_get_node(nac.c_str(), &handle), 0);
    return handle;
}

fruplat::Bytes StoreTest::image(const std::string &nac) const
{
    fruplat::Bytes bytes;
    EXPECT_EQ(fruplat::read_image(entry(nac), &bytes), 0);
    return bytes;
}

fruplat::ZanImage StoreTest::parsed(const std::string &nac) const
{
    fruplat::ZanImage out;
    EXPECT_EQ(fruplat::parse_zan_image(image(nac), &out), 0) << nac;
    return out;
}

std::vector<uint8_t> StoreTest::pattern(const char *record, uint8_t seed)
{
    std::vector<uint8_t> bytes(fruplat::find_record_def(record)->size);
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<uint8_t>(seed + i);
    return bytes;
}

int32_t StoreTest::update(const std::string &nac, const char *name, std::vector<uint8_t> bytes)
{
    int32_t length = 2048;
    return libfru_access_data(nac.c_str(), bytes.data(), &length, 2, name);
}

int32_t StoreTest::remove(const std::string &nac, const char *name)
{
    int32_t length = 2048;
    return libfru_access_data(nac.c_str(), nullptr, &length, 3, name);
}

int32_t StoreTest::read(const std::string &nac, const char *name)
{
    uint8_t buffer[2048];
    int32_t length = sizeof buffer;
    ::testing::internal::CaptureStdout();
    const int32_t status = libfru_access_data(nac.c_str(), buffer, &length, 1, name);
    ::testing::internal::GetCapturedStdout();
    return status;
}

int32_t StoreTest::slots(const std::string &nac, const char *name, int32_t length, std::vector<uint8_t> *out)
{
    out->assign(static_cast<size_t>(length), 0xEE);
    const fru_nodehdl_t handle = node(nac);
    const int32_t status = fru_read_record(handle, out->data(), &length, name);
    if (status == 0)
        out->resize(static_cast<size_t>(length));
    EXPECT_EQ(fru_close_node(handle), 0);
    return status;
}

std::vector<uint8_t> StoreTest::stored(const std::string &nac, const char *name, int32_t length)
{
    std::vector<uint8_t> out;
    EXPECT_EQ(slots(nac, name, length, &out), 0) << nac << " " << name;
    return out;
}

int32_t StoreTest::flash_records(const std::string &nac, std::initializer_list<const char *> records, uint8_t seed,
                                 uint32_t capacity)
{
    fruplat::ZanImage image;
    image.capacity = capacity;
    for (const char *name : records)
        if (const int32_t put = fruplat::put_record(image, *fruplat::find_record_def(name), pattern(name, seed).data());
            put != 0)
            return put;
    return flash(nac, fruplat::serialize_zan_image(image));
}

int32_t StoreTest::opaque_write(const std::string &nac, const char *segment, int32_t section, uint32_t size,
                                uint8_t seed)
{
    uint8_t descriptor[FRU_SEGMENT_DESCRIPTOR_SIZE] = {};
    std::vector<uint8_t> data(size, seed);
    const fru_nodehdl_t handle = node(nac);
    const int32_t status = fru_update_op_segment(handle, segment, descriptor, section, data.data(), &size);
    EXPECT_EQ(fru_close_node(handle), 0);
    return status;
}

}  // namespace quillet_test
