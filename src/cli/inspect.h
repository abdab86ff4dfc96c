#pragma once

// zanfor-cli inspect: the target as the platform layer sees it, as text or JSON: the DAO side
// (properties, containers, tables, queries, import/export specifications) and the Access side
// (modules, forms and reports opened in design view with their controls, macros with their
// rows), for .mdb files and object export folders alike.

#include <ostream>
#include <string>

#include "host/access/file_application.h"
#include "host/dao.h"

namespace zanfor::cli {

// `app` has the target open and `db` is its current database. When the target's Access
// project cannot be read (an Access 97 file, a damaged project) `app` is null, `db` is the
// target's DAO side read alone and `projectError` says why.
void WriteInspectJson(host::dao::Database& db, host::access::FileApplication* app,
                      const std::string& projectError, std::ostream& out);
void WriteInspectText(host::dao::Database& db, host::access::FileApplication* app,
                      const std::string& projectError, std::ostream& out);

}  // namespace zanfor::cli
