#include "ui/main_window.h"

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QEnterEvent>
#include <QEventLoop>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include "core/profile.h"
#include "ui/report_preview_window.h"
#include "ui/settings_window.h"
#include "window_fixture.h"

namespace {

using namespace zanfor;
using app::OptionGroup;
using app::PreviewButton;
using test::WindowFixture;

QString Q(std::string_view text) { return QString::fromUtf8(text.data(), text.size()); }

void Wait(int milliseconds) {
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

class MainWindowTest : public WindowFixture {
protected:
    QAbstractButton* option(OptionGroup group, int index) {
        return find<QButtonGroup>(Q(app::Info(group).name))->button(index);
    }
    QPushButton* preview(PreviewButton b) {
        return find<QPushButton>(Q(app::PreviewButtonName(b)));
    }
    void enableAllPreviews() {
        window->program().state().previewEnabled.fill(true);
        window->refresh();
    }
    // The report preview on screen now; a new preview closes the last one.
    app::ReportPreviewWindow* shownPreview() {
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        auto previews = window->findChildren<app::ReportPreviewWindow*>();
        previews.removeIf([](auto* p) { return !p->isVisible(); });
        EXPECT_LE(previews.size(), 1) << "one preview at a time";
        return previews.empty() ? nullptr : previews.front();
    }
};

TEST_F(MainWindowTest, startsWithEveryCommandDisabledAndTheOptionsAtTheirStartValues) {
    start();
    for (const auto& command : app::CommandTable())
        EXPECT_FALSE(find<QPushButton>(Q(command.button))->isEnabled()) << command.button;
    for (std::size_t b = 0; b < app::kPreviewButtonCount; ++b)
        EXPECT_FALSE(preview(static_cast<PreviewButton>(b))->isEnabled());
    // The code readers' preview buttons are captioned in half-width kana, the others are not.
    EXPECT_EQ(preview(PreviewButton::PPre)->text(), "ﾌﾟﾚﾋﾞｭｰ");
    EXPECT_EQ(preview(PreviewButton::TPre)->text(), "プレビュー");
    EXPECT_TRUE(option(OptionGroup::Object, 6)->isChecked());
    EXPECT_TRUE(option(OptionGroup::ModStep, 3)->isChecked());
}

TEST_F(MainWindowTest, theBatchSupportAndOutputMenusAskForATargetFirst) {
    start();
    for (const char* name : {"m6", "m7", "m9"}) {
        EXPECT_TRUE(find<QAction>(name)->isEnabled()) << name;
        trigger(name);
    }
    EXPECT_EQ(boxTexts(), std::vector<std::string>(3, "データベースを選択して下さい。"));
    EXPECT_EQ(window->findChild<QWidget*>("frmOut"), nullptr);
    openTarget(test::kMemoryTarget);
    trigger("m9");
    EXPECT_NE(window->findChild<QWidget*>("frmOut"), nullptr);
}

TEST_F(MainWindowTest, aSavedAnalysisFileReloadsWithItsPreviewsAndTheMenusLocked) {
    start();
    openTarget(test::kMemoryTarget);
    find<QPushButton>("cmdTable")->click();
    dialogs.files = {(home / "作業").string()};
    trigger("m1b");
    EXPECT_EQ(boxTexts().back(), "保存終了しました。");
    for (const char* name : {"m1a", "m1c", "RecentFile(0)"})
        EXPECT_FALSE(find<QAction>(name)->isEnabled()) << name;
    EXPECT_TRUE(find<QAction>("m1b")->isEnabled());

    window.reset();
    start();
    window->loadAtStartUp(home / "作業.adb");
    EXPECT_EQ(boxTexts().back(), "保存終了しました。") << "no message at start-up";
    EXPECT_TRUE(preview(PreviewButton::TPre)->isEnabled());
    EXPECT_FALSE(preview(PreviewButton::QPre)->isEnabled());
    EXPECT_TRUE(find<QPushButton>("cmdHyousi(1)")->isEnabled());
    EXPECT_FALSE(find<QPushButton>("cmdTable")->isEnabled());
    for (const char* name : {"m1a", "m1b", "m1c", "m6", "m7", "m8"})
        EXPECT_FALSE(find<QAction>(name)->isEnabled()) << name;
    preview(PreviewButton::TPre)->click();
    EXPECT_EQ(reports.back(), std::pair(std::string("R_AcTblTable"), 0));
}

// A click stores the option's setting and disables the preview of the report it changes.
TEST_F(MainWindowTest, optionClicksStoreTheSettingAndDisableTheirPreviewButton) {
    const std::tuple<OptionGroup, int, std::optional<PreviewButton>> clicks[] = {
        {OptionGroup::Object, 0, PreviewButton::OPre},
        {OptionGroup::TSelect, 1, PreviewButton::TPre},
        {OptionGroup::MPrint, 0, std::nullopt},
        {OptionGroup::File, 2, PreviewButton::FlPre}};
    start();
    for (const auto& [group, index, disabled] : clicks) {
        enableAllPreviews();
        option(group, index)->click();
        EXPECT_EQ(window->program().state().options.*app::Info(group).setting, index + 1);
        for (std::size_t b = 0; b < app::kPreviewButtonCount; ++b) {
            const auto button = static_cast<PreviewButton>(b);
            EXPECT_EQ(preview(button)->isEnabled(), disabled != button)
                << app::Info(group).name << " " << app::PreviewButtonName(button);
        }
    }
}

TEST_F(MainWindowTest, selectOptionsSwitchTheirListAndAllTablesRechecksLink) {
    start();
    const std::pair<OptionGroup, const char*> selects[] = {{OptionGroup::TSelect, "cboTable"},
                                                           {OptionGroup::QSelect, "cboQuery"},
                                                           {OptionGroup::FSelect, "cboForm"},
                                                           {OptionGroup::RSelect, "cboReport"},
                                                           {OptionGroup::McSelect, "cboMacro"}};
    for (const auto& [group, combo] : selects) {
        option(group, 1)->click();
        EXPECT_TRUE(find<QComboBox>(combo)->isEnabled()) << combo;
        option(group, 0)->click();
        EXPECT_FALSE(find<QComboBox>(combo)->isEnabled()) << combo;
    }
    auto* link = find<QCheckBox>("chkLink");
    link->click();
    EXPECT_EQ(window->program().state().options.link, 1);
    option(OptionGroup::TSelect, 1)->click();
    EXPECT_FALSE(link->isEnabled());
    option(OptionGroup::TSelect, 0)->click();
    EXPECT_TRUE(link->isEnabled());
    EXPECT_TRUE(link->isChecked());
    EXPECT_EQ(window->program().state().options.link, 2);
}

TEST_F(MainWindowTest, previewButtonsShowTheReportTheirOptionsName) {
    start();
    option(OptionGroup::Table, 0)->click();
    find<QCheckBox>("chkMod50")->click();
    option(OptionGroup::MPrint, 0)->click();
    enableAllPreviews();
    preview(PreviewButton::TPre)->click();
    preview(PreviewButton::MPre)->click();
    EXPECT_EQ(reports,
              (std::vector<std::pair<std::string, int>>{{"R_AcTblIndex", 0}, {"R_AcModule50", 0}}));
}

TEST_F(MainWindowTest, hintsFollowTheMouseAndTheBackgroundClearsThem) {
    start();
    window->show();
    auto* message = find<QLineEdit>("txtMesege");
    auto enter = [](QWidget* w) {
        QEnterEvent event(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
        QApplication::sendEvent(w, &event);
    };
    enter(find<QPushButton>("cmdTable"));
    EXPECT_EQ(message->text(), "テーブルの情報を印刷します。");
    enter(find<QPushButton>("cmdTPre"));
    EXPECT_EQ(message->text(), "テーブルの情報を印刷します。")
        << "a control without a hint keeps the text";
    enter(find<QLabel>("lblDBName"));
    EXPECT_EQ(message->text(), "");
    enter(find<QPushButton>("cmdComment"));
    auto* frame = find<QGroupBox>("framObject");
    QMouseEvent move(QEvent::MouseMove, QPointF(2, frame->height() - 2),
                     frame->mapToGlobal(QPointF(2, frame->height() - 2)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(frame, &move);
    EXPECT_EQ(message->text(), "");
}

TEST_F(MainWindowTest, progressDrawsTheGaugeAndTimer1ClearsItOnce) {
    start();
    auto& ui = static_cast<app::RunUi&>(*window);
    auto* gauge = find<QWidget>("linGuage");
    ui.showMessage("テーブル情報　取得中");
    ui.showGauge(true);
    ui.setProgress(45);
    EXPECT_EQ(find<QLabel>("lblPer")->text(), "45%");
    EXPECT_EQ(gauge->width(), window->twipsToPixels(1080));
    auto* timer = find<QTimer>("Timer1");
    ui.startClearTimer(20);
    Wait(120);
    EXPECT_EQ(find<QLineEdit>("txtMesege")->text(), "");
    EXPECT_EQ(find<QLabel>("lblPer")->text(), "%");
    EXPECT_TRUE(gauge->isHidden());
    EXPECT_EQ(gauge->width(), 0);
    EXPECT_FALSE(timer->isActive());
}

TEST_F(MainWindowTest, enterMovesTheFocusAsTabDoes) {
    start();
    window->show();
    QApplication::setActiveWindow(window.get());
    auto* title = find<QLineEdit>("txtTitle");
    title->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), title);
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, "\r");
    QApplication::sendEvent(title, &enter);
    EXPECT_EQ(QApplication::focusWidget(), find<QLineEdit>("txtSystem"));
    EXPECT_EQ(title->text(), "");
}

TEST_F(MainWindowTest, openingATargetFillsTheWindowAndEnablesItsCommands) {
    start();
    openTarget(test::kMemoryTarget);
    EXPECT_EQ(find<QLabel>("lblDBName")->text(), Q(test::kMemoryTarget));
    EXPECT_EQ(find<QComboBox>("cboTable")->count(), 2);
    EXPECT_EQ(find<QComboBox>("cboTable")->currentText(), "顧客");
    EXPECT_EQ(find<QComboBox>("cboFmImage")->currentText(), "メニュー");
    EXPECT_EQ(find<QLineEdit>("txtSystem")->text(), "販売管理システム");
    EXPECT_TRUE(find<QPushButton>("cmdSave")->isEnabled());
    EXPECT_TRUE(desktop.inhibited);

    option(OptionGroup::TSelect, 1)->click();
    find<QComboBox>("cboTable")->setCurrentIndex(1);
    EXPECT_EQ(window->program().state().pickers.tableText, "商品");
}

TEST_F(MainWindowTest, northwindFillsThePickersAndCmdTableCollectsAndPreviewsItsTables) {
    ZANFOR_REQUIRE_TESTDATA(data);
    start(true, true);
    openTarget((data / "mdb/northwind-ja.mdb").string());
    const std::tuple<const char*, int, const char*> pickers[] = {
        {"cboTable", 9, "社員"},
        {"cboForm", 22, "メイン スイッチボード"},
        {"cboMacro", 5, "Autokeys サンプル"},
        {"cboFmImage", 22, "得意先"}};
    for (const auto& [name, count, member] : pickers) {
        auto* combo = find<QComboBox>(name);
        EXPECT_EQ(combo->count(), count) << name;
        EXPECT_GE(combo->findText(QString::fromUtf8(member)), 0) << name;
        EXPECT_EQ(combo->currentIndex(), 0) << name;
    }
    EXPECT_EQ(window->program().state().counts.modules, 2);
    for (const auto& command : app::CommandTable())
        EXPECT_EQ(find<QPushButton>(Q(command.button))->isEnabled(), command.run != nullptr)
            << command.button;
    EXPECT_FALSE(preview(PreviewButton::TPre)->isEnabled());

    find<QPushButton>("cmdTable")->click();
    EXPECT_TRUE(dialogs.boxes.empty()) << dialogs.boxes.front().text;
    auto work = workdb::WorkDatabase::open(home / std::string(workdb::kWorkDatabaseFileName));
    workdb::Query tables(work, "SELECT COUNT(*) FROM T_AcTblInfo WHERE TableName NOT LIKE 'MSys%'");
    ASSERT_TRUE(tables.next());
    EXPECT_EQ(tables.value(0).toText(), "9");
    EXPECT_EQ(window->program().state().lastRun[app::Collector::Tables], 2);
    EXPECT_TRUE(preview(PreviewButton::TPre)->isEnabled());
    EXPECT_TRUE(window->isEnabled());
    EXPECT_EQ(find<QLabel>("lblPer")->text(), "100%");

    QPointer<app::ReportPreviewWindow> shown = shownPreview();
    ASSERT_FALSE(shown.isNull());
    EXPECT_EQ(shown->report().content().name, "R_AcTblTable");
    EXPECT_GT(shown->pageCount(), 0);

    // The user closes the preview; the preview button shows the stored result again.
    shown->close();
    preview(PreviewButton::TPre)->click();
    auto* again = shownPreview();
    ASSERT_NE(again, nullptr);
    EXPECT_NE(again, shown.data());
    EXPECT_EQ(again->report().content().name, "R_AcTblTable");
}

TEST_F(MainWindowTest, anExportFolderOpensAsATarget) {
    const auto folder =
        std::filesystem::path(ZANFOR_SOURCE_DIR) / "examples" / "hanbai-kanri.mdb.src";
    start(true);
    openTarget(folder.string());
    EXPECT_EQ(find<QLabel>("lblDBName")->text(), Q(folder.string()));
    const auto& counts = window->program().state().counts;
    EXPECT_EQ(counts.tables, 14);
    EXPECT_EQ(counts.forms, 9);
    EXPECT_EQ(find<QLineEdit>("txtSystem")->text(), "販売管理");
    EXPECT_EQ(boxTexts(),
              std::vector<std::string>{"AutoExecマクロの名前を変更してから解析して下さい。"});
    // The target has forms: the form picture's button comes on, without the waiting hint.
    EXPECT_TRUE(find<QPushButton>("cmdFmImage")->isEnabled());
    EXPECT_EQ(find<QPushButton>("cmdFmImage")->toolTip(), "");
}

// The site is written by the command line beside the program, as a script would write it.
TEST_F(MainWindowTest, theSiteMenuAsksForAFolderAndOpensTheWrittenSite) {
    start(true);
    trigger("m11");
    EXPECT_EQ(boxTexts(), std::vector<std::string>{std::string(app::kSelectDatabase)});

    openTarget(
        (std::filesystem::path(ZANFOR_SOURCE_DIR) / "examples" / "hanbai-kanri.mdb.src").string());
    dialogs.boxes.clear();
    const auto site = home / "販売管理 site";
    dialogs.files = {site.string()};
    trigger("m11");
    for (int waited = 0; desktop.documents.empty() && dialogs.boxes.empty() && waited < 120000;
         waited += 100)
        Wait(100);
    EXPECT_EQ(boxTexts(), std::vector<std::string>{});
    ASSERT_EQ(desktop.documents.size(), 1u);
    EXPECT_EQ(desktop.documents[0], site / "index.html");
    EXPECT_TRUE(std::filesystem::exists(site / "index.html"));
    EXPECT_EQ(find<QLineEdit>("txtMesege")->text(), "説明サイトを書き出しました。");
}

TEST_F(MainWindowTest, aCollectorAskingToExitRunsTheExitCommand) {
    start();
    window->tableCommands().replace(
        app::CommandId::Macro, [](app::CommandContext&) { return app::CommandEnd::ExitRequested; });
    openTarget(test::kMemoryTarget);
    dialogs.answers = {app::MsgResult::Ok};
    find<QPushButton>("cmdMacro")->click();
    EXPECT_EQ(dialogs.boxes.back().text, "終了します。");
    EXPECT_EQ(ended, 1);
}

TEST_F(MainWindowTest, registeringTheProfileWritesTheTextBoxes) {
    start();
    openTarget(test::kMemoryTarget);
    find<QLineEdit>("txtCompany")->setText("山田商事");
    find<QPushButton>("cmdSave")->click();
    EXPECT_EQ(app::ReadProfile(home.path()).kisya, "山田商事");
    EXPECT_EQ(find<QLineEdit>("txtMesege")->text(), "基本情報が登録されました。");
}

TEST_F(MainWindowTest, aPasswordProtectedTargetAsksToRemoveThePasswordThenToExit) {
    ZANFOR_REQUIRE_TESTDATA(data);
    const auto file = data / "mdb/ucanaccess/password.mdb";
    start(true);
    dialogs.answers = {app::MsgResult::Ok, app::MsgResult::Cancel};
    openTarget(file.string());
    ASSERT_EQ(dialogs.boxes.size(), 2u);
    EXPECT_TRUE(dialogs.boxes[0].text.starts_with("場所:選択ｴﾗｰNo:3031\n解析元")) << boxTexts()[0];
    EXPECT_EQ(dialogs.boxes[0].title, "Zanfor2000 Ver 2.1");
    EXPECT_EQ(dialogs.boxes[1].text, "終了します。");
    EXPECT_EQ(dialogs.boxes[1].buttons, app::MsgButtons::OkCancel);
    EXPECT_EQ(ended, 0) << "cancelling the exit keeps the program running";
    EXPECT_TRUE(window->isEnabled());
    EXPECT_FALSE(find<QPushButton>("cmdTable")->isEnabled());

    dialogs.answers = {app::MsgResult::Ok, app::MsgResult::Ok};
    openTarget(file.string());
    EXPECT_EQ(ended, 1);
}

TEST_F(MainWindowTest, theTargetFileIsByteIdenticalAfterOpenAndShutdown) {
    ZANFOR_REQUIRE_TESTDATA(data);
    const auto copy = home / "目標.mdb";
    std::filesystem::copy_file(data / "mdb/northwind-ja.mdb", copy);
    const auto before = test::FileBytes(copy);
    const auto modified = std::filesystem::last_write_time(copy);
    start(true);
    openTarget(copy.string());
    auto& props = window->program().session().target->properties();
    EXPECT_EQ(props.get("StartupForm").toText(), "(表示しない)");
    dialogs.answers = {app::MsgResult::Ok};
    trigger("m1z");
    EXPECT_EQ(ended, 1);
    EXPECT_EQ(test::FileBytes(copy), before);
    EXPECT_EQ(std::filesystem::last_write_time(copy), modified);
}

// The exit command may be cancelled and then changes nothing; the close box only informs.
TEST_F(MainWindowTest, theCloseBoxInformsThenWritesTheWindowPosition) {
    start();
    openTarget(test::kMemoryTarget);
    dialogs.answers = {app::MsgResult::Cancel};
    trigger("m1z");
    EXPECT_EQ(ended, 0);
    EXPECT_FALSE(std::filesystem::exists(home / "Zanfor.ini"));
    window->move(30, 45);
    window->close();
    ASSERT_FALSE(dialogs.boxes.empty());
    EXPECT_EQ(dialogs.boxes.back().text, "終了します。");
    EXPECT_EQ(dialogs.boxes.back().buttons, app::MsgButtons::Ok);
    EXPECT_EQ(ended, 1);
    EXPECT_EQ(ini("POS", "T"), std::to_string(window->pixelsToTwips(45)));
    EXPECT_EQ(ini("POS", "L"), std::to_string(window->pixelsToTwips(30)));
    EXPECT_EQ(ini("RECENT", "RecentFile1"), test::kMemoryTarget);
}

TEST_F(MainWindowTest, theSavedPositionIsRestoredInTwipsAndRecentFilesAreListed) {
    util::IniFile ini(home / "Zanfor.ini");
    ini.write("POS", "T", "1500");
    ini.write("POS", "L", "3000");
    ini.write("RECENT", "RecentFile1", test::kMemoryTarget);
    start();
    EXPECT_EQ(window->pos(), QPoint(window->twipsToPixels(3000), window->twipsToPixels(1500)));
    auto* first = find<QAction>("RecentFile(0)");
    EXPECT_TRUE(first->isVisible());
    EXPECT_EQ(first->text(), Q(test::kMemoryTarget));
    EXPECT_FALSE(find<QAction>("RecentFile(1)")->isVisible());
    first->trigger();
    EXPECT_EQ(find<QLabel>("lblDBName")->text(), Q(test::kMemoryTarget));
}

TEST_F(MainWindowTest, aPositionOffEveryScreenIsBroughtBackOntoOne) {
    util::IniFile ini(home / "Zanfor.ini");
    ini.write("POS", "T", "-900000");
    ini.write("POS", "L", "900000");
    start();
    EXPECT_NE(QGuiApplication::screenAt(window->pos()), nullptr);
}

TEST_F(MainWindowTest, screenSaverHelpAndAboutMenus) {
    start();
    trigger("m2");
    EXPECT_EQ(boxTexts(), std::vector<std::string>{std::string(app::kNoScreenSaverSettings)});
    desktop.hasScreenSaverSettings = true;
    trigger("m2");
    EXPECT_EQ(desktop.settingsShown, 1);
    EXPECT_EQ(dialogs.boxes.size(), 1u);

    trigger("m4");
    ASSERT_EQ(desktop.documents.size(), 1u);
    EXPECT_EQ(desktop.documents[0], home / "Zanfor2.html");

    openTarget(test::kMemoryTarget);
    trigger("m5");
    auto* about = window->findChild<QDialog*>("frmAbout");
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(about->findChild<QLabel*>("lblFileName")->text(), "販売管理.mdb");
}

}  // namespace
