#pragma once

// The DAO side of a real .mdb file (Jet 3 or Jet 4), read-only: DAO's OpenDatabase as the
// program used it. The file is never written; property writes live in the open database only.

#include <memory>
#include <string>

#include "host/dao.h"

namespace zanfor::host::jet {

class JetEngine : public dao::Engine {
public:
    // Host errors: 3024 missing, 3051 unreadable, 3343 not a Jet 3/4 database, 3049 damaged,
    // 3031 protected by a database password.
    std::unique_ptr<dao::Database> openDatabase(const std::string& path) override;
};

}  // namespace zanfor::host::jet
