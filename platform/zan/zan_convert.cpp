#include "zan/zan_convert.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

#include "store/backup_file.h"
#include "store/image_file.h"
#include "store/status.h"
#include "zan/zan_access.h"
#include "zan/zan_image.h"

namespace fruplat {

int32_t convert_zan_container(const ContainerEntry &entry, const std::string *backup)
{
    const bool in_place = written_in_place(entry);
    return with_image_ordered(entry, Access::Write, [&](Bytes &raw, WriteOrder *order) -> int32_t {
        ZanImage image;
        int32_t status = parse_zan_image(raw, &image, in_place ? std::max<uint32_t>(entry.page_size, 1) : 0);
        if (status != kOk)
            return status;
        if (image.version != kZanFormatVersion1)
            return kNotFormat1;
        if (backup != nullptr) {
            Bytes used(raw.begin(), raw.begin() + static_cast<long>(std::min<size_t>(image.used, raw.size())));
            if ((status = write_backup_file(*backup, used)) != kOk)
                return status;
        }
        image.capacity = entry.capacity;
        return commit_zan_image(image, entry.page_size, in_place, raw, order);
    });
}

int32_t convert_zan_format1(const ContainerEntry &entry, const std::string *backup,
                            const std::function<void()> &before)
{
    const int32_t format = with_zan_image(entry, Access::Read, [](ZanImage &image) -> int32_t {
        return image.version == kZanFormatVersion1 ? kOk : kNotFormat1;
    });
    if (format != kOk)
        return format;
    before();
    return convert_zan_container(entry, backup);
}

}  // namespace fruplat
