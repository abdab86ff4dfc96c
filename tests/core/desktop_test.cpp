#include "core/desktop.h"

#include <gtest/gtest.h>

#include <set>

namespace {

using zanfor::app::ScreenSaverSettingsCommand;
using Command = std::vector<std::string>;

auto Installed(std::set<std::string> programs) {
    return [programs](std::string_view name) { return programs.contains(std::string(name)); };
}

TEST(ScreenSaverSettings, theDesktopsOwnProgramComesFirst) {
    const auto all = Installed({"gnome-control-center", "xfce4-screensaver-preferences",
                                "xscreensaver-settings", "kcmshell5"});
    EXPECT_EQ(ScreenSaverSettingsCommand("ubuntu:GNOME", all),
              (Command{"gnome-control-center", "privacy"}));
    EXPECT_EQ(ScreenSaverSettingsCommand("XFCE", all), Command{"xfce4-screensaver-preferences"});
    EXPECT_EQ(ScreenSaverSettingsCommand("kde", all), (Command{"kcmshell5", "screenlocker"}));
}

TEST(ScreenSaverSettings, anotherDesktopsProgramIsNeverChosenButXscreensaverIs) {
    const auto gnomeOnly = Installed({"gnome-control-center"});
    EXPECT_EQ(ScreenSaverSettingsCommand("XFCE", gnomeOnly), std::nullopt);
    EXPECT_EQ(ScreenSaverSettingsCommand("", gnomeOnly), std::nullopt);
    EXPECT_EQ(ScreenSaverSettingsCommand("GNOMEISH", gnomeOnly), std::nullopt);
    // xscreensaver serves any desktop.
    EXPECT_EQ(ScreenSaverSettingsCommand("i3", Installed({"xscreensaver-demo"})),
              Command{"xscreensaver-demo"});
    EXPECT_EQ(ScreenSaverSettingsCommand("MATE", Installed({"xscreensaver-settings"})),
              Command{"xscreensaver-settings"});
}

}  // namespace
