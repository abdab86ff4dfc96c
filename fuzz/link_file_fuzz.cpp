// Any bytes as a linked table's connect string and as a file name matched against the file
// list's patterns (the patterns are the program's own): an answer, never a crash or a hang.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "collect/file_list.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    namespace collect = zanfor::collect;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    collect::LinkedFilePath(bytes);
    for (const std::string_view pattern : {"*.m*", "*.*"})
        collect::MatchesDirPattern(bytes, pattern);
    return 0;
}
