// An EEPROM as the power-cut and I/O tests see it: a file underneath, a
// byte budget after which power is lost (optionally tearing the page being
// programmed), and one chosen call that fails.
#ifndef QUILLET_TESTS_DEVICE_MODEL_H
#define QUILLET_TESTS_DEVICE_MODEL_H

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/store_fixture.h"
#include "store/bytes.h"
#include "store/device.h"

namespace quillet_test {

class DeviceModel final : public fruplat::Device {
public:
    enum class Call { Read, Write };
    enum class Fault { None, Eio, Eintr, Short };

    DeviceModel(const std::string &path, uint64_t size, uint32_t page);
    ~DeviceModel() override;

    uint64_t size() const override { return size_; }
    uint32_t page() const override { return page_; }
    ssize_t read(uint8_t *data, size_t size, uint64_t offset) override;
    ssize_t write(const uint8_t *data, size_t size, uint64_t offset) override;
    int sync() override { return 0; }

    // Power is lost once `bytes` more are written; torn: the rest of the
    // page being programmed then holds garbage. SIZE_MAX: never.
    void cut_after(size_t bytes, bool torn);
    // The `index`th (from 0) read or write call from now on fails so.
    void fail(Call call, size_t index, Fault fault);
    size_t written() const { return written_; }
    size_t calls(Call call) const { return call == Call::Read ? reads_ : writes_; }
    void reset_counts() { written_ = reads_ = writes_ = 0; }

private:
    bool failing(Call call, size_t *size);

    int fd_;
    uint64_t size_;
    uint32_t page_;
    size_t budget_ = SIZE_MAX;
    bool torn_ = false;
    bool dead_ = false;
    size_t written_ = 0;
    size_t reads_ = 0, writes_ = 0;
    Call fail_call_ = Call::Read;
    size_t fail_at_ = SIZE_MAX;
    Fault fault_ = Fault::None;
};

// A test store with modelled devices: each a device container whose file
// (on tmpfs where there is one: the cut tests sync thousands of writes) is
// bound to a DeviceModel. The last one made is the one in use; a new one,
// or the end of the test, unbinds it and removes its file.
class DeviceTest : public StoreTest {
protected:
    void TearDown() override;

    // A device of `capacity` bytes holding `erased`, added with `page` (0:
    // the page the store picks); adding it leaves those bytes as they were.
    void make_device(uint32_t capacity, uint8_t erased = 0xFF, uint32_t page = 0, const std::string &nac = "EE",
                     fruplat::Family family = fruplat::Family::Zan);
    DeviceModel &model() { return *model_; }
    // Puts `bytes` on the device from byte 0, past the model: no budget,
    // no counts.
    void put(const fruplat::Bytes &bytes) const;
    // Runs `op` from `before` uncut, then cut after each byte it wrote,
    // clean and then torn: each cut fails the op and `check` judges what it
    // left. Returns the bytes the uncut run wrote: the cut points of each kind.
    size_t cut_everywhere(const std::string &what, const fruplat::Bytes &before, const std::function<int32_t()> &op,
                          const std::function<void()> &check);

private:
    void drop_device();

    std::string path_;
    std::unique_ptr<DeviceModel> model_;
    std::unique_ptr<fruplat::DeviceBinding> binding_;
};

}  // namespace quillet_test

#endif
