#pragma once

// Finds a name in a list that no longer changes without walking the list: names compare
// without regard to case as util::EqualsIgnoreCase compares them, and of names that repeat the
// first in the list is found, as a walk from the start finds it.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

namespace zanfor::host {

class NameIndex {
public:
    using NameAt = std::function<std::string_view(std::size_t)>;
    static constexpr std::size_t npos = static_cast<std::size_t>(-1);

    NameIndex() = default;
    // The list's `count` names, `nameAt(i)` giving the i-th.
    NameIndex(std::size_t count, const NameAt& nameAt);

    // The position of that name, npos when absent; `nameAt` reads the same list.
    std::size_t find(std::string_view name, const NameAt& nameAt) const;

private:
    struct Slot {
        std::uint32_t hash;
        std::uint32_t position;
        auto operator<=>(const Slot&) const = default;
    };
    std::vector<Slot> slots_;
};

}  // namespace zanfor::host
