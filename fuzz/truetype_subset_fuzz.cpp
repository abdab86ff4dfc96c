// Any bytes as a font file's tables (an sfnt directory) cut down to a few of its glyphs: a font
// file or nothing, never a crash, a hang or a read outside the tables.

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>

#include "util/big_endian.h"
#include "util/truetype_subset.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view file(reinterpret_cast<const char*>(data), size);
    std::map<std::string, std::string, std::less<>> tables;
    const std::uint32_t count = zanfor::util::ReadBeOrZero(file, 4, 2);
    for (std::uint32_t i = 0; i < count && 12 + i * 16 + 16 <= file.size(); ++i) {
        const std::size_t record = 12 + i * 16;
        const std::size_t offset = zanfor::util::ReadBeOrZero(file, record + 8, 4);
        if (offset <= file.size())
            tables[std::string(file.substr(record, 4))] =
                std::string(file.substr(offset, zanfor::util::ReadBeOrZero(file, record + 12, 4)));
    }
    auto face = zanfor::util::TrueTypeSubset::FromTables([&](std::string_view tag) {
        const auto it = tables.find(tag);
        return it == tables.end() ? std::string() : it->second;
    });
    if (!face)
        return 0;
    // The glyphs drawn are read from the file's first bytes.
    for (std::size_t at = 0; at + 2 <= std::min<std::size_t>(size, 64); at += 2)
        face->advance(face->use(zanfor::util::ReadBeOrZero(file, at, 2)));
    const std::string built = face->build();
    (void)built;
    return 0;
}
