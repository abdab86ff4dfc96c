#include "host/name_index.h"

#include <algorithm>

#include "util/vb_string.h"

namespace zanfor::host {

NameIndex::NameIndex(std::size_t count, const NameAt& nameAt) {
    slots_.reserve(count);
    for (std::size_t i = 0; i < count; ++i)
        slots_.push_back({util::HashIgnoreCase(nameAt(i)), static_cast<std::uint32_t>(i)});
    std::sort(slots_.begin(), slots_.end());
}

std::size_t NameIndex::find(std::string_view name, const NameAt& nameAt) const {
    const std::uint32_t hash = util::HashIgnoreCase(name);
    for (auto it = std::lower_bound(slots_.begin(), slots_.end(), Slot{hash, 0});
         it != slots_.end() && it->hash == hash; ++it) {
        if (util::EqualsIgnoreCase(nameAt(it->position), name))
            return it->position;
    }
    return npos;
}

}  // namespace zanfor::host
