#include "core/settings_file.h"

#include <filesystem>
#include <system_error>
#include <vector>

#include "core/program_files.h"

namespace zanfor::app {

namespace {
std::string recentKey(std::size_t number) { return "RecentFile" + std::to_string(number); }
}  // namespace

bool IsUnsetValue(std::string_view value) { return !value.empty() && value.front() == '0'; }

std::string InitialFolder(std::string_view defaultFolder) {
    if (!IsUnsetValue(defaultFolder))
        return std::string(defaultFolder);
    std::error_code ec;
    return std::filesystem::current_path(ec).string();
}

StartupSettings ReadSettings(const util::IniFile& ini) {
    StartupSettings s;
    s.top = TextToLong(ini.read("POS", "T", "0"));
    s.left = TextToLong(ini.read("POS", "L", "0"));
    s.defaultFolder = ini.read("DEF", "Folder", "0");
    for (std::size_t i = 0; i < s.recent.size(); ++i) {
        s.recent[i] = ini.read("RECENT", recentKey(i + 1), "0");
    }
    return s;
}

std::array<RecentMenuEntry, 4> RecentFileMenu(const RecentFiles& recent) {
    std::array<RecentMenuEntry, 4> menu;
    for (std::size_t k = 0; k < menu.size(); ++k) {
        // An empty value would give a blank, clickable entry: it counts as unset too.
        if (!IsUnsetValue(recent[k]) && !recent[k].empty())
            menu[k] = {true, recent[k]};
    }
    return menu;
}

void WriteRecentFiles(util::IniFile& ini, std::string_view openedPath,
                      const RecentFiles& recentAsRead) {
    const auto menu = RecentFileMenu(recentAsRead);
    if (openedPath.empty() || (menu[0].visible && menu[0].caption == openedPath))
        return;

    std::vector<std::string> list{std::string(openedPath)};
    for (const auto& entry : menu) {
        if (entry.visible && entry.caption != openedPath && list.size() < recentAsRead.size()) {
            list.push_back(entry.caption);
        }
    }
    for (std::size_t i = 0; i < list.size(); ++i)
        ini.write("RECENT", recentKey(i + 1), list[i]);
    // A slot emptied by moving a path to the head must not keep a stale copy of it.
    for (std::size_t i = list.size(); i < recentAsRead.size(); ++i) {
        if (menu[i].visible)
            ini.write("RECENT", recentKey(i + 1), "0");
    }
}

void WriteShutdownSettings(util::IniFile& ini, std::int32_t top, std::int32_t left,
                           std::string_view targetPath, const RecentFiles& recentAsRead) {
    ini.write("POS", "T", std::to_string(top));
    ini.write("POS", "L", std::to_string(left));
    ini.write("DEF", "Folder", FolderPart(targetPath));
    WriteRecentFiles(ini, targetPath, recentAsRead);
}

}  // namespace zanfor::app
