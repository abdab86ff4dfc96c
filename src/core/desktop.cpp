#include "core/desktop.h"

#include "util/vb_string.h"

namespace zanfor::app {

namespace {

struct SettingsProgram {
    std::string_view desktop;  // a name of XDG_CURRENT_DESKTOP; "" for any desktop
    std::vector<std::string> command;
};

const std::vector<SettingsProgram>& SettingsPrograms() {
    static const std::vector<SettingsProgram> programs{
        {"GNOME", {"gnome-control-center", "privacy"}},
        {"Unity", {"gnome-control-center", "privacy"}},
        {"KDE", {"kcmshell6", "kcm_screenlocker"}},
        {"KDE", {"kcmshell5", "screenlocker"}},
        {"XFCE", {"xfce4-screensaver-preferences"}},
        {"MATE", {"mate-screensaver-preferences"}},
        {"X-Cinnamon", {"cinnamon-settings", "screensaver"}},
        {"", {"xscreensaver-settings"}},
        {"", {"xscreensaver-demo"}},
    };
    return programs;
}

bool NamesDesktop(std::string_view currentDesktop, std::string_view name) {
    const std::string wanted = util::UCase(name);
    std::size_t start = 0;
    while (start <= currentDesktop.size()) {
        auto end = currentDesktop.find(':', start);
        if (end == std::string_view::npos)
            end = currentDesktop.size();
        if (util::UCase(currentDesktop.substr(start, end - start)) == wanted)
            return true;
        start = end + 1;
    }
    return false;
}

}  // namespace

void RecordingDesktop::inhibitScreenSaver() {
    inhibited = true;
    ++inhibitCalls;
}

void RecordingDesktop::releaseScreenSaver() {
    inhibited = false;
    ++releaseCalls;
}

bool RecordingDesktop::openScreenSaverSettings() {
    if (hasScreenSaverSettings)
        ++settingsShown;
    return hasScreenSaverSettings;
}

bool RecordingDesktop::openDocument(const std::filesystem::path& file) {
    documents.push_back(file);
    return true;
}

std::optional<std::vector<std::string>> ScreenSaverSettingsCommand(
    std::string_view currentDesktop, const std::function<bool(std::string_view)>& installed) {
    // The desktop's own program first: another desktop's tool would configure a screen saver
    // that is not running.
    for (const bool own : {true, false}) {
        for (const auto& program : SettingsPrograms()) {
            const bool matches =
                own ? !program.desktop.empty() && NamesDesktop(currentDesktop, program.desktop)
                    : program.desktop.empty();
            if (matches && installed(program.command.front()))
                return program.command;
        }
    }
    return std::nullopt;
}

}  // namespace zanfor::app
