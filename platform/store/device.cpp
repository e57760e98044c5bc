#include "store/device.h"

#include <cerrno>
#include <map>
#include <unistd.h>

#include "store/paths.h"

namespace fruplat {

namespace {

std::map<std::string, Device *> &bindings()
{
    static std::map<std::string, Device *> bound;
    return bound;
}

}  // namespace

FileDevice::~FileDevice()
{
    close(fd_);
}

ssize_t FileDevice::read(uint8_t *data, size_t size, uint64_t offset)
{
    return pread(fd_, data, size, static_cast<off_t>(offset));
}

ssize_t FileDevice::write(const uint8_t *data, size_t size, uint64_t offset)
{
    return pwrite(fd_, data, size, static_cast<off_t>(offset));
}

// fsync of a sysfs attribute is not supported and means nothing there.
int FileDevice::sync()
{
    if (fsync(fd_) == 0 || errno == EINVAL || errno == EROFS)
        return 0;
    return -1;
}

DeviceBinding::DeviceBinding(const std::string &path, Device &device) : path_(real_path(path))
{
    bindings()[path_] = &device;
}

DeviceBinding::~DeviceBinding()
{
    bindings().erase(path_);
}

Device *bound_device(const std::string &path)
{
    if (bindings().empty())
        return nullptr;
    const auto it = bindings().find(real_path(path));
    return it == bindings().end() ? nullptr : it->second;
}

}  // namespace fruplat
