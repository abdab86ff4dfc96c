#pragma once

// Little-endian integers at a byte offset of a buffer, as every Microsoft file format stores
// them. The caller has checked that the bytes are there.

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace zanfor::util {

inline std::uint16_t ReadLe16(std::string_view b, std::size_t at) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(b[at]) |
                                      static_cast<unsigned char>(b[at + 1]) << 8);
}

inline std::uint32_t ReadLe32(std::string_view b, std::size_t at) {
    return ReadLe16(b, at) | std::uint32_t{ReadLe16(b, at + 2)} << 16;
}

}  // namespace zanfor::util
