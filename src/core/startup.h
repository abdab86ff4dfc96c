#pragma once

// Start-up up to the main window: one running copy per program folder, the program's files,
// Zanfor.ini and Zanfor.dat, the work database created when missing.

#include <filesystem>
#include <optional>
#include <string_view>
#include <utility>

#include "core/dialogs.h"
#include "core/profile.h"
#include "core/settings_file.h"
#include "util/file_descriptor.h"

namespace zanfor::app {

inline constexpr std::string_view kAlreadyRunning = "既にZanforは、起動しています。";
inline constexpr std::string_view kLockFileName = "Zanfor.lock";

// An advisory lock on a file of the program folder, held while the program runs. The system
// drops it when the process ends, so a crashed copy never blocks the next start.
class InstanceLock {
public:
    // Nothing when another running copy holds the lock. A folder where no lock file can be made
    // gives a lock that guards nothing rather than a program that cannot start.
    static std::optional<InstanceLock> acquire(const std::filesystem::path& folder);
    static InstanceLock none() { return InstanceLock(util::FileDescriptor()); }

private:
    explicit InstanceLock(util::FileDescriptor fd) : fd_(std::move(fd)) {}
    util::FileDescriptor fd_;
};

struct ProgramPaths {
    std::filesystem::path folder;
    std::filesystem::path workDatabase;
    std::filesystem::path settingsFile;

    static ProgramPaths in(const std::filesystem::path& folder);
};

struct Startup {
    InstanceLock lock;
    ProgramPaths paths;
    StartupSettings settings;  // Zanfor.ini as read at start
    Profile profile;
};

// Nothing when another copy runs: its message has been shown and the program ends. Makes the
// program folder the current directory. Throws std::system_error when no program folder can be
// made. A run given its own work database leaves the program folder's alone: it neither
// creates it nor takes the lock that guards it.
std::optional<Startup> StartUp(const std::filesystem::path& executable, Dialogs& dialogs,
                               const std::filesystem::path& workDatabase = {});

}  // namespace zanfor::app
