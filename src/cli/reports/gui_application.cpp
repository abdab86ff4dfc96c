#include "cli/reports/gui_application.h"

#include <unistd.h>

#include <QGuiApplication>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>

namespace zanfor::cli::reports {

// Reports and form pictures measure text with Qt's fonts, which need an application object; the
// command line has no display, so it uses the offscreen platform unless the caller chose one.
void EnsureGuiApplication() {
    if (QGuiApplication::instance())
        return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Scripts and CI often run without a session's runtime folder; Qt then warns on every run.
    // A private folder of our own serves it as well.
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        std::error_code ec;
        const auto dir = std::filesystem::temp_directory_path(ec) /
                         ("zanfor-runtime-" + std::to_string(::getuid()));
        std::filesystem::create_directories(dir, ec);
        std::filesystem::permissions(dir, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::replace, ec);
        if (!ec)
            qputenv("XDG_RUNTIME_DIR", QByteArray::fromStdString(dir.string()));
    }
    static int argc = 1;
    static char name[] = "zanfor-cli";
    static char* argv[] = {name, nullptr};
    static auto app = std::make_unique<QGuiApplication>(argc, argv);
}

}  // namespace zanfor::cli::reports
