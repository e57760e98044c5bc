#ifndef QUILLET_TESTS_HEX_H
#define QUILLET_TESTS_HEX_H

#include <cstdint>
#include <string>
#include <vector>

namespace quillet_test {

inline std::string to_hex(const uint8_t *data, size_t size)
{
    std::string out;
    for (size_t i = 0; i < size; ++i)
        out += {"0123456789abcdef"[data[i] >> 4], "0123456789abcdef"[data[i] & 15]};
    return out;
}
inline std::string to_hex(const std::vector<uint8_t> &bytes) { return to_hex(bytes.data(), bytes.size()); }
inline std::string text_hex(const std::string &text)
{
    return to_hex(reinterpret_cast<const uint8_t *>(text.data()), text.size());
}
inline std::string zeros(size_t bytes) { return std::string(2 * bytes, '0'); }

}  // namespace quillet_test

#endif
