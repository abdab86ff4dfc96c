#include "workdb/work_database_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <map>
#include <mutex>
#include <system_error>
#include <utility>

#include "host/error.h"
#include "util/file_descriptor.h"

namespace zanfor::workdb {

namespace {

// The open lock file of each work database this process holds, and how many holds share it.
// The count is kept by hand, under the mutex, so that the last hold closes the file before
// another thread can open it anew and find it locked by this very process.
struct Held {
    util::FileDescriptor fd;
    // A child made by fork() inherits the parent's holds but is another process: it takes its own.
    pid_t owner = 0;
    int holds = 0;
};

struct Registry {
    std::mutex mutex;
    std::map<std::filesystem::path, Held> byFile;
};

Registry& registry() {
    static Registry all;
    return all;
}

// Two spellings of one database (a link, "a/../w.db") must meet at one lock file.
std::filesystem::path lockFileOf(const std::filesystem::path& database) {
    std::error_code ec;
    auto real = std::filesystem::weakly_canonical(database, ec);
    if (ec)
        real = std::filesystem::absolute(database, ec);
    if (ec)
        real = database;
    real += std::string(kLockFileSuffix);
    return real;
}

util::FileDescriptor openLockFile(const std::filesystem::path& file) {
    util::FileDescriptor fd(::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666));
    if (!fd.valid())
        fd = util::FileDescriptor(::open(file.c_str(), O_RDONLY | O_CLOEXEC));
    return fd;
}

}  // namespace

WorkDatabaseLock WorkDatabaseLock::acquire(const std::filesystem::path& database) {
    const auto file = lockFileOf(database);
    const pid_t self = ::getpid();
    auto& all = registry();
    const std::lock_guard guard(all.mutex);
    if (auto it = all.byFile.find(file); it != all.byFile.end() && it->second.owner == self) {
        ++it->second.holds;
        return WorkDatabaseLock(file, self);
    }
    util::FileDescriptor fd = openLockFile(file);
    if (!fd.valid())
        return {};
    if (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0) {
        if (errno != EWOULDBLOCK)
            return {};  // a file system without flock: nothing to guard with
        throw host::Error(host::err::kFileInUse,
                          "ファイル '" + database.string() +
                              "' は既に使用中です。ほかの Zanfor が作業用データベースとして"
                              "開いています。");
    }
    all.byFile[file] = Held{std::move(fd), self, 1};
    return WorkDatabaseLock(file, self);
}

WorkDatabaseLock::WorkDatabaseLock(WorkDatabaseLock&& other) noexcept
    : lockFile_(std::exchange(other.lockFile_, {})), owner_(other.owner_) {}

WorkDatabaseLock& WorkDatabaseLock::operator=(WorkDatabaseLock&& other) noexcept {
    if (this != &other) {
        release();
        lockFile_ = std::exchange(other.lockFile_, {});
        owner_ = other.owner_;
    }
    return *this;
}

WorkDatabaseLock::~WorkDatabaseLock() { release(); }

void WorkDatabaseLock::release() noexcept {
    if (lockFile_.empty() || owner_ != ::getpid())
        return;
    auto& all = registry();
    const std::lock_guard guard(all.mutex);
    const auto it = all.byFile.find(lockFile_);
    if (it != all.byFile.end() && it->second.owner == owner_ && --it->second.holds == 0)
        all.byFile.erase(it);  // closing the file lets go of the lock
    lockFile_.clear();
}

}  // namespace zanfor::workdb
