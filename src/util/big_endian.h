#pragma once

// Big-endian integers, as font files store them. Bytes past the end read as 0, so that a reader
// of damaged tables needs no check before each field.

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace zanfor::util {

// An unsigned of `bytes` bytes (1 to 4) at `at`.
inline std::uint32_t ReadBeOrZero(std::string_view b, std::size_t at, int bytes) {
    std::uint32_t v = 0;
    for (int i = 0; i < bytes; ++i) {
        const std::size_t p = at + static_cast<std::size_t>(i);
        v = v << 8 | (p < b.size() ? static_cast<unsigned char>(b[p]) : 0u);
    }
    return v;
}

}  // namespace zanfor::util
