#pragma once

// The VBA project inside an Access project ([MS-OVBA]): the compressed "dir" stream naming the
// modules, and each module's source text.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "host/access/storage_node.h"

namespace zanfor::host::access {

// [MS-OVBA] 2.4.1 decompression. Host error 30011 (err::kVbaProjectDamaged) on a malformed
// container or chunk.
std::string DecompressVba(std::string_view compressed);

struct VbaModuleInfo {
    std::string name;        // the module's name (the Unicode name record when present)
    std::string streamName;  // its stream in the VBA storage
    bool procedural = true;  // a standard module; false for class and document modules
    std::uint32_t textOffset = 0;
    std::string source;  // UTF-8, lines joined with CR LF, without the "Attribute VB_" lines
};

struct VbaProjectInfo {
    int codePage = 1252;
    std::vector<VbaModuleInfo> modules;  // in the order of the dir stream
};

// `vba` is the storage holding "dir" and the module streams. Host error 30011 when "dir" is
// missing or damaged; a module whose stream is missing or damaged is an error naming it.
VbaProjectInfo ReadVbaProject(const StorageNode& vba);

}  // namespace zanfor::host::access
