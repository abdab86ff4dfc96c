#pragma once

// Zanfor.ini: the main window's position, the folder of the last target and the four most
// recent targets. Read at start-up, written at shutdown.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "util/ini_file.h"

namespace zanfor::app {

using RecentFiles = std::array<std::string, 4>;

struct StartupSettings {
    std::int32_t top = 0;   // twips
    std::int32_t left = 0;  // twips
    std::string defaultFolder = "0";
    RecentFiles recent{"0", "0", "0", "0"};
};

// A stored value beginning with "0" means the key is not set.
bool IsUnsetValue(std::string_view value);
// Where the open and save dialogs start: the stored default folder, or the current directory
// while none is stored.
std::string InitialFolder(std::string_view defaultFolder);

StartupSettings ReadSettings(const util::IniFile& ini);

struct RecentMenuEntry {
    bool visible = false;
    std::string caption;
};
// The four File-menu entries: hidden for an unset entry, else captioned with the path itself.
std::array<RecentMenuEntry, 4> RecentFileMenu(const RecentFiles& recent);

// Puts the opened path at the head of [RECENT]. `recentAsRead` is the list read at start-up.
// Nothing is written when the path already stands first or is empty. A path that stands
// further down moves to the head instead of appearing twice.
void WriteRecentFiles(util::IniFile& ini, std::string_view openedPath,
                      const RecentFiles& recentAsRead);

// Shutdown: window position, the folder of the target shown, and the recent-file list.
void WriteShutdownSettings(util::IniFile& ini, std::int32_t top, std::int32_t left,
                           std::string_view targetPath, const RecentFiles& recentAsRead);

}  // namespace zanfor::app
