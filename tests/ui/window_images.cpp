// Renders the desktop program's windows to PNG files for review: the main window before and
// after a target is opened, the print-title settings window, the developer support window before
// and after its initial processing, the output window, the capture viewer and the About box.
//
//   window_images OUTDIR [TARGET.mdb]
//   window_images OUTDIR --load FILE.adb   the main window with a saved analysis file loaded
//
// Without a target, an in-memory sample target with Japanese names stands in.

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QStyleFactory>
#include <QWidget>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string_view>

#include "core/desktop.h"
#include "core/dialogs.h"
#include "core/startup.h"
#include "host/memory/memory_target.h"
#include "sample_target.h"
#include "ui/main_window.h"
#include "ui/settings_window.h"
#include "ui/support_window.h"

namespace {

bool Save(QWidget* widget, const QString& file) {
    QApplication::processEvents();
    if (!widget->grab().save(file)) {
        std::cerr << "cannot write " << file.toStdString() << "\n";
        return false;
    }
    std::cout << file.toStdString() << "\n";
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << "usage: window_images OUTDIR [TARGET.mdb]\n";
        return 2;
    }
    QApplication app(argc, argv);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    const std::filesystem::path out = argv[1];
    std::filesystem::create_directories(out / "home");
    setenv("ZANFOR_HOME", (out / "home").c_str(), 1);
    std::filesystem::remove(out / "home" / "Zanfor.ini");

    zanfor::app::ScriptedDialogs dialogs;
    zanfor::app::RecordingDesktop desktop;
    zanfor::host::memory::MemoryEngine memory;
    zanfor::host::memory::MemoryApplicationFactory memoryAccess(memory);
    zanfor::app::MainWindowServices services;
    services.dialogs = &dialogs;
    services.desktop = &desktop;
    services.today = [] { return std::string("2024/04/01"); };
    services.endProgram = [] {};
    std::string target;
    std::filesystem::path loadFile;
    if (argc > 3 && std::string_view(argv[2]) == "--load") {
        // Taken before start-up makes the program folder the current directory.
        loadFile = std::filesystem::absolute(argv[3]);
    } else if (argc > 2 && std::filesystem::exists(argv[2])) {
        target = std::filesystem::canonical(argv[2]).string();
    } else {
        const auto sample = zanfor::test::SampleTarget();
        memory.add(sample);
        target = sample->path;
        services.engine = &memory;
        services.accessFactory = &memoryAccess;
    }

    auto startup = zanfor::app::StartUp(argv[0], dialogs);
    if (!startup)
        return 1;
    zanfor::app::MainWindow window(std::move(*startup), services);
    window.show();
    const QString dir = QString::fromStdString(out.string());
    if (!loadFile.empty()) {
        window.loadAtStartUp(loadFile);
        return Save(&window, dir + "/main-loaded.png") ? 0 : 1;
    }
    bool ok = Save(&window, dir + "/main-before.png");

    dialogs.files = {target};
    window.findChild<QAction*>("m1a")->trigger();
    window.findChild<QButtonGroup*>("optTSelect")->button(1)->click();
    ok = Save(&window, dir + "/main-after.png") && ok;

    window.findChild<QAction*>("m8")->trigger();
    if (auto* settings = window.settingsWindow())
        ok = Save(settings, dir + "/settings.png") && ok;

    window.findChild<QAction*>("m7")->trigger();
    if (auto* support = window.supportWindow()) {
        ok = Save(support, dir + "/support-before.png") && ok;
        support->findChild<QPushButton*>("cmdSyoki")->click();
        ok = Save(support, dir + "/support-after.png") && ok;
        support->close();
    }

    window.findChild<QAction*>("m9")->trigger();
    if (auto* output = window.findChild<QWidget*>("frmOut")) {
        ok = Save(output, dir + "/output.png") && ok;
        output->close();
    }

    window.findChild<QAction*>("m10")->trigger();
    if (auto* depends = window.findChild<QWidget*>("frmDepend")) {
        ok = Save(depends, dir + "/dependencies.png") && ok;
        depends->close();
    }

    // The capture viewer with the picture of the first form, taken without the wait.
    auto* forms = window.findChild<QComboBox*>("cboFmImage");
    if (forms != nullptr && forms->count() > 0) {
        forms->setCurrentIndex(0);
        window.findChild<QLineEdit*>("txtCapTime")->setText(QStringLiteral("0"));
        window.findChild<QPushButton*>("cmdFmImage")->click();
        for (int i = 0; i < 20 && window.findChild<QWidget*>("frmCapture") == nullptr; ++i)
            QApplication::processEvents(QEventLoop::AllEvents, 50);
        if (auto* capture = window.findChild<QWidget*>("frmCapture"))
            ok = Save(capture, dir + "/capture.png") && ok;
    }

    window.findChild<QAction*>("m5")->trigger();
    if (auto* about = window.findChild<QWidget*>("frmAbout"))
        ok = Save(about, dir + "/about.png") && ok;
    return ok ? 0 : 1;
}
