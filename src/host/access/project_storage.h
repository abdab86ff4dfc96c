#pragma once

// The Access project of an .mdb: Access 2000 format files keep it as an OLE compound file cut
// into the rows of MSysAccessObjects, Access 2002-2003 format files as the rows of
// MSysAccessStorage. Either way it comes back as one storage tree.

#include <cstdint>
#include <map>
#include <string>

#include "host/access/storage_node.h"

namespace zanfor::host::jet {
class JetFile;
}

namespace zanfor::host::access {

// The compound file held in the rows of MSysAccessObjects (ID -> Data). Host error 30010 when a
// row is missing or repeated or the header row is absent.
std::string AssembleAccessObjects(const std::map<std::int64_t, std::string>& rows);

// Host errors: 7866 for a Jet 3 (Access 97) file, whose project Access 2000 could not read
// either; 30010 when the project storage is missing or damaged.
StorageNode ReadAccessProject(const jet::JetFile& file);

}  // namespace zanfor::host::access
