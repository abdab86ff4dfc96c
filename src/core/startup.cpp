#include "core/startup.h"

#include <fcntl.h>
#include <sys/file.h>

#include <cerrno>
#include <utility>

#include "core/program_files.h"
#include "host/error.h"
#include "util/file_descriptor.h"
#include "util/ini_file.h"
#include "workdb/work_database.h"

namespace zanfor::app {

std::optional<InstanceLock> InstanceLock::acquire(const std::filesystem::path& folder) {
    const auto file = folder / kLockFileName;
    util::FileDescriptor fd(::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600));
    if (!fd.valid())
        return InstanceLock(util::FileDescriptor());
    if (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0) {
        if (errno == EWOULDBLOCK)
            return std::nullopt;
        return InstanceLock(util::FileDescriptor());
    }
    return InstanceLock(std::move(fd));
}

ProgramPaths ProgramPaths::in(const std::filesystem::path& folder) {
    return {folder, folder / std::string(workdb::kWorkDatabaseFileName),
            folder / std::string(kSettingsFileName)};
}

std::optional<Startup> StartUp(const std::filesystem::path& executable, Dialogs& dialogs,
                               const std::filesystem::path& workDatabase) {
    auto paths = ProgramPaths::in(ResolveProgramFolder(executable));
    if (!workDatabase.empty())
        paths.workDatabase = workDatabase;
    auto lock = workDatabase.empty() ? InstanceLock::acquire(paths.folder) : InstanceLock::none();
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
