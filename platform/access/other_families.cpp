// IPMI, DIMM and PIROM containers: not served yet; every call says so.
#include "access/family.h"
#include "store/status.h"

namespace fruplat {

namespace {

int32_t unsupported_access(const ContainerEntry &, int32_t, const char *, uint8_t *, int32_t *)
{
    return kUnsupportedFamily;
}

int32_t unsupported_read(const ContainerEntry &, const char *, uint8_t *, int32_t *)
{
    return kUnsupportedFamily;
}

}  // namespace

const FamilyHandler kIpmiHandler = {unsupported_access, unsupported_read, unsupported_read};
const FamilyHandler kDimmHandler = {unsupported_access, unsupported_read, unsupported_read};
const FamilyHandler kPiromHandler = {unsupported_access, unsupported_read, unsupported_read};

}  // namespace fruplat
