#include "ui/desktop_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QTimer>
#include <fstream>
#include <functional>

#include "test_support.h"

namespace {

using namespace zanfor;

TEST(HelpPage, isCopiedAtFirstStartAndNeverOverwritten) {
    test::TempDir dir;
    app::InstallHelpPage(dir.path());
    const auto page = dir / "Zanfor2.html";
    const auto text = test::FileBytes(page);
    EXPECT_NE(text.find("<title>Zanfor2000 Ver 2.1"), std::string::npos);
    EXPECT_NE(text.find("システムが不安定です。"), std::string::npos)
        << "the unstable-system report sends the user here";
    std::ofstream(page) << "利用者の追記";
    app::InstallHelpPage(dir.path());
    EXPECT_EQ(test::FileBytes(page), "利用者の追記");
}

// Runs `answer` on the open dialog once it shows, then returns what the dialog returned.
std::string AnswerOpenDialog(const app::OpenFileRequest& request,
                             const std::function<void(QFileDialog&)>& answer) {
    QTimer::singleShot(0, [&] {
        for (auto* widget : QApplication::topLevelWidgets()) {
            if (auto* dialog = qobject_cast<QFileDialog*>(widget); dialog && dialog->isVisible()) {
                answer(*dialog);
                return;
            }
        }
        ADD_FAILURE() << "no open dialog";
    });
    app::QtDialogs dialogs;
    return dialogs.openFileName(request);
}

TEST(OpenDialog, takesAnExportFolderAsTheTargetAndStepsIntoAnyOtherFolder) {
    test::TempDir dir;
    const auto exportFolder = dir / "販売管理.mdb.src";
    const auto plainFolder = dir / "資料";
    std::filesystem::create_directory(exportFolder);
    std::filesystem::create_directory(plainFolder);
    std::ofstream(dir / "顧客.mdb") << "x";
    const app::OpenFileRequest request{"解析ファイルの選択", "Access(*.mdb)", "*.mdb",
                                       dir.path().string(), true};

    EXPECT_EQ(AnswerOpenDialog(request,
                               [&](QFileDialog& d) {
                                   EXPECT_EQ(d.windowTitle(), "解析ファイルの選択");
                                   d.selectFile(QString::fromStdString(exportFolder.string()));
                                   static_cast<QDialog&>(d).accept();
                               }),
              exportFolder.string());
    EXPECT_EQ(
        AnswerOpenDialog(request,
                         [&](QFileDialog& d) {
                             d.selectFile(QString::fromStdString((dir / "顧客.mdb").string()));
                             static_cast<QDialog&>(d).accept();
                         }),
        (dir / "顧客.mdb").string());
    std::string entered;
    EXPECT_EQ(AnswerOpenDialog(request,
                               [&](QFileDialog& d) {
                                   d.selectFile(QString::fromStdString(plainFolder.string()));
                                   static_cast<QDialog&>(d).accept();
                                   entered = d.directory().absolutePath().toStdString();
                                   d.reject();
                               }),
              "");
    EXPECT_EQ(entered, plainFolder.string());

    auto filesOnly = request;
    filesOnly.exportFolders = false;
    EXPECT_EQ(AnswerOpenDialog(filesOnly,
                               [&](QFileDialog& d) {
                                   d.selectFile(QString::fromStdString(exportFolder.string()));
                                   static_cast<QDialog&>(d).accept();
                                   d.reject();
                               }),
              "")
        << "a dialog for files only steps into the folder";
}

}  // namespace
