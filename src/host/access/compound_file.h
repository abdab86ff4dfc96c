#pragma once

// A reader of OLE compound files ([MS-CFB]), for the Access project of Access 2000 files.
// Every sector number, chain and directory entry is checked: a cycle, a sector outside the
// file or a short file is an error, never a loop or a read outside the bytes.

#include <string_view>

#include "host/access/storage_node.h"

namespace zanfor::host::access {

// The root storage with the whole tree below it. Host error 30010 (err::kProjectStorageDamaged)
// naming what is wrong when the bytes are not a sound compound file.
StorageNode ReadCompoundFile(std::string_view bytes);

}  // namespace zanfor::host::access
