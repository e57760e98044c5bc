// Generated IPMI FRU and SPD images, with what each field must decode to.
#ifndef QUILLET_TESTS_CORPUS_H
#define QUILLET_TESTS_CORPUS_H

#include <map>
#include <string>
#include <vector>

#include "dimm/spd_builder.h"
#include "ipmi/ipmi_builder.h"

namespace quillet_test {

struct ExpectedField {
    std::string area;      // Chassis_Info_Area_S, Board_Info_Area_S, Product_Info_Area_S
    std::string name;      // as quillet presents it
    std::string value;     // decoded, without padding
    std::string encoding;  // "", "binary", "BCD plus", "6-bit ASCII"
};

struct IpmiSample {
    fruplat::Bytes image;
    std::vector<std::string> present_areas;
    std::vector<ExpectedField> fields;
};

// At least 50 images varying every encoding, custom fields, empty fields
// and absent areas.
std::vector<IpmiSample> ipmi_corpus();

struct SpdSample {
    std::string label;
    fruplat::SpdContent content;
    fruplat::Bytes image;
};

std::vector<SpdSample> spd_corpus();

}  // namespace quillet_test

#endif
