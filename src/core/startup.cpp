#include "core/startup.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

#include "core/program_files.h"
#include "host/error.h"
#include "util/ini_file.h"
#include "workdb/work_database.h"

namespace zanfor::app {

std::optional<InstanceLock> InstanceLock::acquire(const std::filesystem::path& folder) {
    const auto file = folder / kLockFileName;
    const int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return InstanceLock(-1);
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const bool held = errno == EWOULDBLOCK;
        ::close(fd);
        if (held)
            return std::nullopt;
        return InstanceLock(-1);
    }
    return InstanceLock(fd);
}

InstanceLock::InstanceLock(InstanceLock&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}

InstanceLock& InstanceLock::operator=(InstanceLock&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
}

InstanceLock::~InstanceLock() {
    if (fd_ >= 0)
        ::close(fd_);
}

ProgramPaths ProgramPaths::in(const std::filesystem::path& folder) {
    return {folder, folder / std::string(workdb::kWorkDatabaseFileName),
            folder / std::string(kSettingsFileName)};
}

std::optional<Startup> StartUp(const std::filesystem::path& executable, Dialogs& dialogs) {
    const auto paths = ProgramPaths::in(ResolveProgramFolder(executable));
    auto lock = InstanceLock::acquire(paths.folder);
    if (!lock) {
        dialogs.messageBox(kAlreadyRunning, kProductTitle, MsgButtons::Ok, MsgIcon::None);
        return std::nullopt;
    }
    const auto settings = ReadSettings(util::IniFile(paths.settingsFile));
    std::error_code ignored;
    std::filesystem::current_path(paths.folder, ignored);
    auto profile = ReadProfile(paths.folder);
    try {
        workdb::WorkDatabase::open(paths.workDatabase);
    } catch (const host::Error&) {
        // Opening a target opens the work database again and reports the failure there.
    }
    return Startup{std::move(*lock), paths, settings, std::move(profile)};
}

}  // namespace zanfor::app
