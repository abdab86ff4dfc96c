#pragma once

// The Qt side of the program's dialogs and of the desktop services: message boxes titled with
// the product title, the open-file dialog, the screen-saver inhibit over the desktop's D-Bus
// service, the screen-saver settings program, opening documents, and the help page installed
// into the program folder. (Named *_window so that the build puts it with the windows: it is
// the only place besides them that needs Qt.)

#include <QPointer>
#include <QWidget>
#include <filesystem>
#include <string_view>

#include "core/desktop.h"
#include "core/dialogs.h"

namespace zanfor::app {

inline constexpr std::string_view kHelpFileName = "Zanfor2.html";

class QtDialogs : public Dialogs {
public:
    explicit QtDialogs(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }

    MsgResult messageBox(std::string_view text, std::string_view title, MsgButtons buttons,
                         MsgIcon icon) override;
    std::string openFileName(const OpenFileRequest& request) override;
    std::string saveFileName(const OpenFileRequest& request) override;

private:
    QPointer<QWidget> parent_;
};

class SystemDesktop : public Desktop {
public:
    ~SystemDesktop() override;
    void inhibitScreenSaver() override;
    void releaseScreenSaver() override;
    bool openScreenSaverSettings() override;
    bool openDocument(const std::filesystem::path& file) override;

private:
    bool inhibited_ = false;
    unsigned int cookie_ = 0;
};

// Copies the help page shipped with the program into the program folder when it is not there.
void InstallHelpPage(const std::filesystem::path& programFolder);

}  // namespace zanfor::app
