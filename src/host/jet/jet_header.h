#pragma once

// The first page of a Jet file: format version, page size, code page and whether a database
// password is set. Checked before anything else is read, so a foreign, truncated or protected
// file is refused with the number Jet gave, never half-read.

#include <cstdint>
#include <string>
#include <string_view>

namespace zanfor::host::jet {

enum class JetVersion { Jet3, Jet4 };

struct JetHeader {
    JetVersion version = JetVersion::Jet4;
    std::size_t pageSize = 4096;
    int codePage = 1252;  // of the text in a Jet 3 file; Jet 4 stores text as UCS-2
    bool hasPassword = false;
};

// `bytes` is the start of the file (at least its first page when the file has one) and
// `fileSize` the whole file's size. Host errors: 3343 not a Jet 3/4 database (also Access 2007
// files and anything too short to have a header), 3049 a header whose file is cut short.
// A database password is reported in the result, not as an error.
JetHeader ParseJetHeader(std::string_view bytes, std::uint64_t fileSize,
                         const std::string& fileName);

}  // namespace zanfor::host::jet
