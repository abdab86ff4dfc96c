#include "host/access/design_directory.h"

#include "util/encoding.h"
#include "util/vb_string.h"

namespace zanfor::host::access {

namespace {

constexpr unsigned char kEntryMark = 0x04;
constexpr std::size_t kNumberSize = 4;

std::uint32_t le(std::string_view b, std::size_t at, std::size_t width) {
    std::uint32_t v = 0;
    for (std::size_t i = width; i-- > 0;)
        v = (v << 8) | static_cast<unsigned char>(b[at + i]);
    return v;
}

}  // namespace

std::vector<DirDataEntry> ReadDirData(std::string_view data) {
    std::vector<DirDataEntry> entries;
    std::size_t at = 4;
    while (at + 2 <= data.size() && static_cast<unsigned char>(data[at]) == kEntryMark) {
        const std::size_t n = static_cast<unsigned char>(data[at + 1]);
        if (n < kNumberSize)
            break;
        const std::size_t nameStart = at + 2;
        std::size_t numberAt = nameStart + (n - kNumberSize);
        if (numberAt + kNumberSize > data.size())
            break;
        if (le(data, numberAt + 2, 2) != 0) {
            std::size_t scan = nameStart + 2;
            while (scan + 2 <= data.size() && le(data, scan, 2) != 0)
                scan += 2;
            if (scan + 2 > data.size())
                break;
            // Two zero halves in a row are the whole number 0, not a number ending in 0.
            const bool zeroNumber = scan + 4 <= data.size() && le(data, scan + 2, 2) == 0;
            numberAt = zeroNumber ? scan : scan - 2;
        }
        entries.push_back({util::Utf16LeToUtf8(data.substr(nameStart, numberAt - nameStart)),
                           le(data, numberAt, kNumberSize)});
        at = numberAt + kNumberSize;
    }
    return entries;
}

const StorageNode* ContainerStream(const StorageNode& container, std::string_view name) {
    for (const auto& c : container.children) {
        std::string_view n = c.name;
        while (!n.empty() && static_cast<unsigned char>(n.front()) < 0x20)
            n.remove_prefix(1);
        if (c.isStream && util::EqualsIgnoreCase(n, name))
            return &c;
    }
    return nullptr;
}

}  // namespace zanfor::host::access
