#pragma once

// The Access project stored in a file, as a tree of storages and streams. Access 2000 keeps it
// as an OLE compound file cut into the rows of MSysAccessObjects; Access 2002-2003 as the rows
// of MSysAccessStorage. Both readers give this one tree.

#include <string>
#include <string_view>
#include <vector>

namespace zanfor::host::access {

struct StorageNode {
    std::string name;
    bool isStream = false;
    std::string data;                   // a stream's bytes
    std::vector<StorageNode> children;  // a storage's entries, in stored order

    // The entry of that name (compared without regard to ASCII case, as OLE does), or nullptr.
    const StorageNode* child(std::string_view childName) const;
    // A path of names separated by "/", such as "VBA/dir"; nullptr when any step is missing.
    const StorageNode* find(std::string_view path) const;
};

}  // namespace zanfor::host::access
