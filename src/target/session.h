#pragma once

// What stays open while a target is: the analysis Access instance, the target database and the
// work database. They are released together when the target is left or the program ends.

#include <memory>
#include <optional>

#include "core/app_state.h"
#include "host/access.h"
#include "host/dao.h"
#include "workdb/work_database.h"

namespace zanfor::target {

struct Session {
    std::unique_ptr<host::access::Application> access;
    std::unique_ptr<host::dao::Database> target;
    std::optional<workdb::WorkDatabase> work;

    bool isOpen() const { return access && target && work; }
    // Closes Access's current database (an instance already gone raises 2467, which is of no
    // concern here) and releases everything.
    void release();
};

// Gives the target the startup properties it had when it was opened. A property the target does
// not define is passed over; nothing here fails.
void GiveBackStartupSettings(host::dao::Database& target, const app::SavedStartupSettings& saved);

}  // namespace zanfor::target
