#pragma once

// What the program asks of the desktop it runs on: keeping the screen saver off while a target
// is open, showing the screen-saver settings and opening a document (the help page).

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zanfor::app {

class Desktop {
public:
    virtual ~Desktop() = default;
    // Several inhibits are one; a release without an inhibit does nothing.
    virtual void inhibitScreenSaver() = 0;
    virtual void releaseScreenSaver() = 0;
    // False when the desktop has no known settings program for its screen saver.
    virtual bool openScreenSaverSettings() = 0;
    virtual bool openDocument(const std::filesystem::path& file) = 0;
};

// Keeps what was asked, for tests: whether the screen saver is held off, how often it was
// asked to be, and the documents opened.
class RecordingDesktop : public Desktop {
public:
    void inhibitScreenSaver() override;
    void releaseScreenSaver() override;
    bool openScreenSaverSettings() override;
    bool openDocument(const std::filesystem::path& file) override;

    bool inhibited = false;
    int inhibitCalls = 0;
    int releaseCalls = 0;
    bool hasScreenSaverSettings = false;
    int settingsShown = 0;
    std::vector<std::filesystem::path> documents;
};

// The program and arguments that show the screen-saver settings of the desktop named by
// XDG_CURRENT_DESKTOP ("ubuntu:GNOME"), or xscreensaver's when that is installed; nothing when
// none of them is. `installed` tells whether a program is on the PATH.
std::optional<std::vector<std::string>> ScreenSaverSettingsCommand(
    std::string_view currentDesktop, const std::function<bool(std::string_view)>& installed);

inline constexpr std::string_view kNoScreenSaverSettings =
    "この環境にはスクリーンセーバーの設定画面が見つかりません。";

}  // namespace zanfor::app
