#pragma once

// Byte builders and look-ups shared by the tests of the Access project readers.

#include <algorithm>
#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "host/access.h"
#include "host/error.h"

namespace zanfor::test {

// `v` as `width` little-endian bytes.
inline std::string Le(std::uint64_t v, int width) {
    std::string b;
    for (int i = 0; i < width; ++i)
        b += static_cast<char>(v >> 8 * i & 0xFF);
    return b;
}

// UTF-16LE of a text whose characters are all below U+0100.
inline std::string Utf16(std::string_view latin1) {
    std::string b;
    for (unsigned char c : latin1)
        b += Le(c, 2);
    return b;
}

inline const host::access::Control& ControlNamed(const host::access::DesignObject& o,
                                                 std::string_view name) {
    for (const auto& c : o.controls) {
        if (c.name() == name)
            return c;
    }
    throw std::runtime_error("no control " + std::string(name));
}

// The values of the space-separated `names` as text, joined by "|"; "?" for an absent one.
inline std::string ValuesOf(const host::Properties& p, std::string_view names) {
    std::string out;
    for (std::size_t at = 0; at < names.size();) {
        const std::size_t end = std::min(names.find(' ', at), names.size());
        const host::Property* found = p.find(names.substr(at, end - at));
        out += (out.empty() ? "" : "|") + (found ? found->value.toText() : std::string("?"));
        at = end + 1;
    }
    return out;
}

// The number of the host::Error `run` throws, 0 when it throws none; and its description.
inline int ErrorOf(const std::function<void()>& run, std::string* description = nullptr) {
    try {
        run();
    } catch (const host::Error& e) {
        if (description)
            *description = e.description();
        return e.number();
    }
    return 0;
}

}  // namespace zanfor::test
