#ifndef QUILLET_RECORDS_BYTE_ORDER_H
#define QUILLET_RECORDS_BYTE_ORDER_H

#include "platform/byte_order.h"

namespace quillet {

using fru_be::load_be;
using fru_be::load_be32;
using fru_be::store_be;
using fru_be::store_be32;

}  // namespace quillet

#endif
