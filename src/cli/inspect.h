#pragma once

// zanfor-cli inspect: the target as the platform layer sees it, as text or JSON.

#include <ostream>
#include <string>

#include "host/access/access_project.h"
#include "host/dao.h"

namespace zanfor::cli {

// `project` is null when the target's Access project cannot be read; `projectError` then says
// why (an Access 97 file, a damaged project).
void WriteInspectJson(host::dao::Database& db, const host::access::AccessProject* project,
                      const std::string& projectError, std::ostream& out);
void WriteInspectText(host::dao::Database& db, const host::access::AccessProject* project,
                      const std::string& projectError, std::ostream& out);

}  // namespace zanfor::cli
