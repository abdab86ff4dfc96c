#pragma once

// The directory of a container of the Access project (Forms, Reports, Scripts): its DirData
// stream names each object and the numbered sub-storage that holds it.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "host/access/storage_node.h"

namespace zanfor::host::access {

struct DirDataEntry {
    std::string name;
    std::uint32_t storage = 0;  // the sub-storage's name is this number in decimal
};

// u32 0, then {u8 4, u8 n, UTF-16LE name of n - 4 bytes, u32 storage number} per object, until
// the bytes end or an entry does not start with 4. Some writers count n short for a name with
// a character whose low byte is 0 (U+4E00 ...): the number's high half is then not 0, and the
// name is taken to run to the next 2-byte-aligned 00 00, which is that high half (or, when two
// follow each other, the whole number 0).
std::vector<DirDataEntry> ReadDirData(std::string_view data);

// A stream of a container by name; in the compound file some names carry a leading control
// character ("\x03DirData"), which is not part of the name.
const StorageNode* ContainerStream(const StorageNode& container, std::string_view name);

}  // namespace zanfor::host::access
