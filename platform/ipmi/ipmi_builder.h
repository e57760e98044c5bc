// Builds standard IPMI FRU images, for fructl's demo and for tests.
#ifndef FRUPLATFORM_IPMI_IPMI_BUILDER_H
#define FRUPLATFORM_IPMI_IPMI_BUILDER_H

#include <cstdint>
#include <string>
#include <vector>

#include "store/bytes.h"

namespace fruplat {

// One field: its type/length type (0 binary, 1 BCD plus, 2 6-bit ASCII,
// 3 8-bit ASCII) and its encoded bytes.
struct IpmiField {
    uint8_t type;
    Bytes data;
};

IpmiField ipmi_text(const std::string &text);
IpmiField ipmi_bcd_plus(const std::string &digits);  // 0-9, space, '-', '.'
IpmiField ipmi_six_bit(const std::string &text);     // 0x20 to 0x5F
IpmiField ipmi_binary(const Bytes &bytes);

struct IpmiAreaContent {
    bool present = false;
    uint8_t type_or_language = 0;  // chassis type, or language code
    uint32_t mfg_minutes = 0;      // board only: minutes since 1996
    std::vector<IpmiField> fields;
};

// One multirecord: its type and data; the builder adds the header, both
// checksums and the end-of-list mark on the last one.
struct IpmiMultiRecord {
    uint8_t type;
    Bytes data;
};

struct IpmiImageContent {
    IpmiAreaContent chassis;
    IpmiAreaContent board;
    IpmiAreaContent product;
    std::vector<IpmiMultiRecord> multirecords;  // none: no multirecord area
};

Bytes build_ipmi_image(const IpmiImageContent &content);

}  // namespace fruplat

#endif
