#pragma once

// The first page of a Jet file: format version, page size, code page and whether a database
// password is set. Checked before anything else is read, so a foreign, truncated or protected
// file is refused with the number Jet gave, never half-read. An Access 2007+ (ACE) file is a
// Jet 4 file in its pages and rows; it is read as one, with its ACE version kept beside.

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
    // 0 for a Jet file; the version byte of an ACE file: 2 Access 2007, 3 Access 2010,
    // 4 Access 2013, 5 Access 2016 and later.
    int aceVersion = 0;
    // The pages of an ACE file are encrypted (Access encrypts a file it gives a database
    // password); nothing of them can be read without the password.
    bool encrypted = false;
};

inline constexpr int kAce2007 = 2;
inline constexpr int kAceLatest = 5;

// `bytes` is the start of the file (at least its first page when the file has one) and
// `fileSize` the whole file's size. Host errors: 3343 not a Jet 3/4 or ACE database (also an
// ACE version newer than this reader knows, and anything too short to have a header), 3049 a
// header whose file is cut short. A database password or encryption is reported in the
// result, not as an error.
JetHeader ParseJetHeader(std::string_view bytes, std::uint64_t fileSize,
                         const std::string& fileName);

}  // namespace zanfor::host::jet
