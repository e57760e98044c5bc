#include "platform/device_model.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <unistd.h>
#include <vector>

namespace quillet_test {

DeviceModel::DeviceModel(const std::string &path, uint64_t size, uint32_t page)
    : fd_(open(path.c_str(), O_RDWR | O_CLOEXEC)), size_(size), page_(page)
{
}

DeviceModel::~DeviceModel()
{
    close(fd_);
}

void DeviceModel::cut_after(size_t bytes, bool torn)
{
    budget_ = bytes;
    torn_ = torn;
    dead_ = false;
}

void DeviceModel::fail(Call call, size_t index, Fault fault)
{
    fail_call_ = call;
    fail_at_ = (call == Call::Read ? reads_ : writes_) + index;
    fault_ = fault;
}

// Whether this call is the chosen one; a short count halves `size`.
bool DeviceModel::failing(Call call, size_t *size)
{
    const size_t index = call == Call::Read ? reads_++ : writes_++;
    if (fault_ == Fault::None || call != fail_call_ || index != fail_at_)
        return false;
    const Fault fault = fault_;
    fault_ = Fault::None;
    if (fault == Fault::Short && *size > 1) {
        *size /= 2;
        return false;
    }
    errno = fault == Fault::Eintr ? EINTR : EIO;
    return fault != Fault::Short;
}

ssize_t DeviceModel::read(uint8_t *data, size_t size, uint64_t offset)
{
    return failing(Call::Read, &size) ? -1 : pread(fd_, data, size, static_cast<off_t>(offset));
}

ssize_t DeviceModel::write(const uint8_t *data, size_t size, uint64_t offset)
{
    if (failing(Call::Write, &size))
        return -1;
    if (dead_) {
        errno = EIO;
        return -1;
    }
    const size_t n = std::min(size, budget_);
    if (n > 0 && pwrite(fd_, data, n, static_cast<off_t>(offset)) != static_cast<ssize_t>(n))
        return -1;
    budget_ -= n;
    written_ += n;
    if (n == size)
        return static_cast<ssize_t>(n);
    // Power lost while the page holding the next byte was being programmed.
    dead_ = true;
    const uint64_t cut = offset + n;
    if (torn_) {
        const uint64_t end = std::min<uint64_t>((cut / page_ + 1) * page_, size_);
        std::vector<uint8_t> garbage(static_cast<size_t>(end - cut));
        for (size_t i = 0; i < garbage.size(); ++i)
            garbage[i] = static_cast<uint8_t>((cut + i) * 167 + 0x5A);
        if (pwrite(fd_, garbage.data(), garbage.size(), static_cast<off_t>(cut)) < 0)
            return -1;
    }
    if (n > 0)
        return static_cast<ssize_t>(n);
    errno = EIO;
    return -1;
}

void DeviceTest::TearDown()
{
    drop_device();
    StoreTest::TearDown();
}

void DeviceTest::drop_device()
{
    binding_.reset();
    model_.reset();
    if (!path_.empty())
        unlink(path_.c_str());
}

void DeviceTest::make_device(uint32_t capacity, uint8_t erased, uint32_t page, const std::string &nac,
                             fruplat::Family family)
{
    static unsigned made = 0;
    drop_device();
    path_ = (access("/dev/shm", W_OK) == 0 ? std::string("/dev/shm") : store_) + "/quillet-eeprom-" +
            std::to_string(getpid()) + "-" + std::to_string(made++);
    std::ofstream(path_, std::ios::binary) << std::string(capacity, static_cast<char>(erased));
    add_device(nac, path_, page, family);
    model_ = std::make_unique<DeviceModel>(path_, capacity, entry(nac).page_size);
    binding_ = std::make_unique<fruplat::DeviceBinding>(path_, *model_);
    ASSERT_TRUE(image(nac) == fruplat::Bytes(capacity, erased));
}

void DeviceTest::put(const fruplat::Bytes &bytes) const
{
    std::fstream(path_, std::ios::binary | std::ios::in | std::ios::out)
        .write(reinterpret_cast<const char *>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

size_t DeviceTest::cut_everywhere(const std::string &what, const fruplat::Bytes &before,
                                  const std::function<int32_t()> &op, const std::function<void()> &check)
{
    SCOPED_TRACE(what);
    put(before);
    model().reset_counts();
    EXPECT_EQ(op(), 0);
    const size_t total = model().written();
    for (const bool torn : {false, true})
        for (size_t cut = 0; cut < total; ++cut) {
            SCOPED_TRACE(testing::Message() << "cut at byte " << cut << (torn ? " (torn)" : " (clean)"));
            put(before);
            model().cut_after(cut, torn);
            ::testing::internal::CaptureStderr();
            const int32_t status = op();
            ::testing::internal::GetCapturedStderr();
            model().cut_after(SIZE_MAX, false);
            EXPECT_EQ(fru_close_data_source(), 0);
            EXPECT_NE(status, 0);
            check();
        }
    std::printf("power cut: %s: %zu cut points, clean and torn each\n", what.c_str(), total);
    return total;
}

}  // namespace quillet_test
