// zanfor: the desktop program.

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QStyleFactory>
#include <QTranslator>
#include <exception>

#include "core/program_files.h"
#include "core/startup.h"
#include "ui/desktop_window.h"
#include "ui/main_window.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    // Qt's own texts (file dialog, context menus) in the user's language when installed.
    QTranslator qtTexts;
    if (qtTexts.load(QLocale(), QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTexts);

    zanfor::app::QtDialogs dialogs;
    std::optional<zanfor::app::Startup> startup;
    try {
        startup =
            zanfor::app::StartUp(QCoreApplication::applicationFilePath().toStdString(), dialogs);
    } catch (const std::exception& e) {
        dialogs.messageBox(e.what(), zanfor::app::kProductTitle, zanfor::app::MsgButtons::Ok,
                           zanfor::app::MsgIcon::Critical);
        return 1;
    }
    if (!startup)
        return 0;
    zanfor::app::InstallHelpPage(startup->paths.folder);
    zanfor::app::MainWindow window(std::move(*startup));
    window.show();
    return QApplication::exec();
}
