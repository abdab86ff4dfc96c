#pragma once

// One process per work database. Two runs writing one work database at once interleave their
// rows (each empties a table and fills it again), so the first process that opens a work
// database holds it against every other process until its last connection to it closes. The
// connections of one process (a run, the reports it renders, the preview window) share the hold.
//
// The hold is an flock() on a file beside the database ("Zanfor2.db-lock"), not a lock on the
// database itself: POSIX record locks belong to the process and all go with the first close() of
// any descriptor of the file, so a descriptor of our own on Zanfor2.db would take SQLite's locks
// with it when it closed, and SQLite closing one of its own would take ours. SQLite's exclusive
// locking mode would shut out this process's own second connections as well. An flock belongs
// to the one open file that holds it, and the system lets it go when the process ends, so a run
// that crashed never blocks the next one. The lock file stays: removing it would let a third
// process lock a new file while a second still holds the old one.

#include <sys/types.h>

#include <filesystem>
#include <string_view>

namespace zanfor::workdb {

inline constexpr std::string_view kLockFileSuffix = "-lock";

class WorkDatabaseLock {
public:
    // A hold that guards nothing (an in-memory database).
    WorkDatabaseLock() = default;

    // Holds `database` for this process. Host error 3045 when another process holds it. Where
    // no lock file can be made or opened (a read-only folder) the hold guards nothing, as
    // nothing can be written there anyway.
    static WorkDatabaseLock acquire(const std::filesystem::path& database);

    WorkDatabaseLock(WorkDatabaseLock&& other) noexcept;
    WorkDatabaseLock& operator=(WorkDatabaseLock&& other) noexcept;
    WorkDatabaseLock(const WorkDatabaseLock&) = delete;
    WorkDatabaseLock& operator=(const WorkDatabaseLock&) = delete;
    ~WorkDatabaseLock();

    bool guards() const { return !lockFile_.empty(); }

private:
    WorkDatabaseLock(std::filesystem::path lockFile, pid_t owner)
        : lockFile_(std::move(lockFile)), owner_(owner) {}
    void release() noexcept;

    std::filesystem::path lockFile_;  // empty when nothing is guarded
    pid_t owner_ = 0;
};

}  // namespace zanfor::workdb
