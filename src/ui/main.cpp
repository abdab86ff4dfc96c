// zanfor: the desktop program.

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QStyleFactory>
#include <QTranslator>
#include <exception>
#include <filesystem>

#include "core/program_files.h"
#include "core/startup.h"
#include "output/workbook_export.h"
#include "ui/desktop_window.h"
#include "ui/main_window.h"
#include "util/vb_string.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    // Qt's own texts (file dialog, context menus) in the user's language when installed.
    QTranslator qtTexts;
    if (qtTexts.load(QLocale(), QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTexts);

    // A file named as the first argument (a desktop's "open with" passes it so): an analysis
    // file is loaded, a database or an export folder opened as the target. Taken relative to
    // where the program was started, before start-up changes folder.
    std::filesystem::path analysisFile;
    if (argc > 1) {
        auto named = zanfor::util::Trim(argv[1]);
        if (named.size() >= 2 && named.front() == '"' && named.back() == '"')
            named = named.substr(1, named.size() - 2);
        if (!named.empty())
            analysisFile = std::filesystem::absolute(named);
    }

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
    try {
        // The desktop program's first start lays the workbook template out for the user to
        // adapt; the command line makes it only when it exports a workbook.
        zanfor::output::EnsureTemplate(startup->paths.folder);
    } catch (const std::exception&) {
        // A folder that cannot take it only costs the Excel buttons, which then say so.
    }
    zanfor::app::MainWindow window(std::move(*startup));
    window.show();
    if (!analysisFile.empty())
        window.loadAtStartUp(analysisFile);
    return QApplication::exec();
}
