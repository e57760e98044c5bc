// The medium a container image lives on, one call per transfer as the
// system calls make them, so that the store's retry and failure handling
// is the same for a real EEPROM file and for a test's model of one.
#ifndef FRUPLATFORM_STORE_DEVICE_H
#define FRUPLATFORM_STORE_DEVICE_H

#include <cstdint>
#include <string>
#include <sys/types.h>

namespace fruplat {

class Device {
public:
    virtual ~Device() = default;
    // Bytes the container may use, and the size of a program page.
    virtual uint64_t size() const = 0;
    virtual uint32_t page() const = 0;
    // Bytes moved (maybe fewer than asked; 0 at the end), or -1 with errno.
    virtual ssize_t read(uint8_t *data, size_t size, uint64_t offset) = 0;
    virtual ssize_t write(const uint8_t *data, size_t size, uint64_t offset) = 0;
    // 0, or -1 with errno, once what was written is on the medium.
    virtual int sync() = 0;
};

// A file or device node, through a descriptor the device owns.
class FileDevice final : public Device {
public:
    FileDevice(int fd, uint64_t size, uint32_t page) : fd_(fd), size_(size), page_(page) {}
    FileDevice(const FileDevice &) = delete;
    FileDevice &operator=(const FileDevice &) = delete;
    ~FileDevice() override;

    uint64_t size() const override { return size_; }
    uint32_t page() const override { return page_; }
    ssize_t read(uint8_t *data, size_t size, uint64_t offset) override;
    ssize_t write(const uint8_t *data, size_t size, uint64_t offset) override;
    int sync() override;

private:
    int fd_;
    uint64_t size_;
    uint32_t page_;
};

// While it lives, the store reads and writes the container whose image is
// at `path` through `device` instead of opening the path.
class DeviceBinding {
public:
    DeviceBinding(const std::string &path, Device &device);
    DeviceBinding(const DeviceBinding &) = delete;
    DeviceBinding &operator=(const DeviceBinding &) = delete;
    ~DeviceBinding();

private:
    std::string path_;
};

// The device bound to `path`, or nullptr.
Device *bound_device(const std::string &path);

}  // namespace fruplat

#endif
