#include "dimm/claim.h"

#include "dimm/customer_area.h"
#include "store/backup_file.h"
#include "store/image_file.h"
#include "store/status.h"

namespace fruplat {

int32_t claim_customer_area(const ContainerEntry &entry, const std::string &backup)
{
    if (entry.family != Family::Dimm)
        return kUnsupportedFamily;
    return with_image(entry, Access::Write, [&](Bytes &image) -> int32_t {
        Bytes previous;
        const int32_t status = claim_customer(image, &previous);
        return status != kOk ? status : write_backup_file(backup, previous);
    });
}

}  // namespace fruplat
