#include "ui/report_preview_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QGraphicsView>
#include <QScrollBar>
#include <QSpinBox>

#include "commands/commands.h"
#include "report/page_layout.h"
#include "report/report_fixture.h"
#include "test_support.h"
#include "workdb/work_database.h"

namespace {

using namespace zanfor;
using Lines = std::vector<std::string>;

struct ErrorCase {
    int number;
    bool shown;
    bool shutdown;
    Lines lines;
};

void PrintTo(const ErrorCase& c, std::ostream* out) { *out << "error " << c.number; }

class ShowReportErrors : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(ShowReportErrors, followTheCommonReportWithTheTwoSpecialCases) {
    const auto& c = GetParam();
    const auto report = app::ShowReportErrorReport(c.number, "説明");
    ASSERT_EQ(report.has_value(), c.shown);
    if (!report)
        return;
    EXPECT_EQ(report->title, "Zanfor2000 Ver 2.1");
    EXPECT_EQ(report->lines, c.lines);
    EXPECT_EQ(report->shutdown, c.shutdown);
}

INSTANTIATE_TEST_SUITE_P(
    Numbers, ShowReportErrors,
    ::testing::Values(ErrorCase{2455, false, false, {}},
                      ErrorCase{
                          2500,
                          true,
                          true,
                          {"場所:レポート表示ｴﾗｰNo:2500", "システムが不安定です。",
                           "詳細はヘルプを参照下さい。", "システムを終了します。", "内容:説明"}}),
    [](const auto& test) { return "error" + std::to_string(test.param.number); });

TEST(PreviewButtons, chooseTheReportOfTheCurrentOptionSettings) {
    using app::PreviewButton;
    const std::tuple<PreviewButton, app::OptionSettings, std::string_view> cases[] = {
        {PreviewButton::TPre, {.table = 1}, "R_AcTblIndex"},
        {PreviewButton::TPre, {}, "R_AcTblTable"},
        {PreviewButton::QPre, {.query = 1}, "R_AcQerySql"},
        {PreviewButton::QPre, {}, "R_AcQeryAll"},
        {PreviewButton::PPre, {.proc50 = 1}, "R_AcProcName50"},
        {PreviewButton::PPre, {}, "R_AcProcName"},
        {PreviewButton::MPre, {.mprint = 1}, "R_AcModule"},
        {PreviewButton::MPre, {.mod50 = 1, .mprint = 1}, "R_AcModule50"},
        {PreviewButton::MPre, {}, "R_AcModule2"},
        {PreviewButton::MPre, {.mod50 = 1}, "R_AcModule250"},
    };
    const auto names = report::ReportNames();
    const auto rows = app::CommandTable();
    for (const auto& [button, settings, name] : cases) {
        EXPECT_EQ(app::PreviewButtonReport(button, settings), name);
        EXPECT_NE(std::find(names.begin(), names.end(), name), names.end()) << name;
        // The command table lists every report its command's preview can show.
        const auto row = std::find_if(rows.begin(), rows.end(),
                                      [&](const auto& r) { return r.preview == button; });
        ASSERT_NE(row, rows.end());
        EXPECT_NE(std::find(row->reports.begin(), row->reports.end(), name), row->reports.end())
            << name;
    }
}

class Preview : public ::testing::Test {
protected:
    void SetUp() override {
        auto db = workdb::WorkDatabase::open(database());
        test::FillReportFixture(db);
        presenter.setErrorSink([this](const app::ErrorReport& r) { errors.push_back(r); });
        presenter.setPrinterList([] { return QList<QPrinterInfo>(); });
    }
    void TearDown() override {
        delete presenter.preview();
        QApplication::processEvents();
    }
    std::filesystem::path database() const { return folder.path() / "Zanfor2.db"; }

    test::TempDir folder;
    app::ReportPresenter presenter{database()};
    std::vector<app::ErrorReport> errors;
};

TEST_F(Preview, opensTheReportInAPreviewWindowWithAllItsPages) {
    presenter.ShowReport("R_AcFrmCntl", 0);
    QApplication::processEvents();
    auto* window = presenter.preview();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(errors.empty());
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowTitle(), "フォーム コントロール一覧（詳細） - 印刷プレビュー");
    const auto& doc = window->report().layout(report::A4Twips(report::Orientation::Landscape));
    EXPECT_EQ(window->pageCount(), static_cast<int>(doc.pages.size()));
    // The page box follows the page shown, whatever moved it.
    auto* box = window->findChild<QSpinBox*>("page");
    auto* bar = window->findChild<QGraphicsView*>()->verticalScrollBar();
    auto shows = [&](int page) {
        return window->currentPage() == page && box->text() == QString::number(page);
    };
    window->showPage(3);
    EXPECT_TRUE(shows(3));
    bar->setValue(bar->maximum());
    EXPECT_TRUE(shows(window->pageCount()));
    window->showPage(10000);
    EXPECT_TRUE(shows(window->pageCount()));
}

TEST_F(Preview, printingWithoutAPrinterShowsThePrinterDriverMessageAndOtherModesDoNothing) {
    presenter.ShowReport("R_AcFile", 2);
    presenter.ShowReport("R_AcFile", -1);
    EXPECT_TRUE(errors.empty());
    presenter.ShowReport("R_AcFile", 1);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].lines,
              (Lines{"場所:レポート表示プリンタドライバがインストールされていません。",
                     "プリンタドライバをインストールして下さい。"}));
    EXPECT_EQ(presenter.preview(), nullptr);
}

TEST_F(Preview, anUnknownReportIsReportedWithItsPlaceAndNumber) {
    presenter.ShowReport("R_AcUnknown", 0);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].lines.front(), "場所:レポート表示ｴﾗｰNo:2103");
    EXPECT_EQ(errors[0].lines.back(), "内容:レポート 'R_AcUnknown' はありません。");
    EXPECT_EQ(presenter.preview(), nullptr);
}

TEST_F(Preview, anUnopenableWorkDatabaseIsReported) {
    app::ReportPresenter broken(folder.path() / "missing" / "Zanfor2.db");
    std::vector<app::ErrorReport> seen;
    broken.setErrorSink([&](const app::ErrorReport& r) { seen.push_back(r); });
    broken.ShowReport("R_AcFile", 0);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].lines.front(), "場所:レポート表示ｴﾗｰNo:30001");
}

TEST_F(Preview, savingToAnUnwritablePlaceIsReportedAndWritesNothing) {
    presenter.ShowReport("R_AcFile", 0);
    ASSERT_NE(presenter.preview(), nullptr);
    const auto target = folder.path() / "missing" / "out.pdf";
    EXPECT_FALSE(presenter.preview()->saveTo(QString::fromStdString(target.string()),
                                             report::OutputFormat::Pdf));
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].lines.front(), "場所:レポート表示ｴﾗｰNo:75");
    EXPECT_FALSE(std::filesystem::exists(target));
    const auto good = folder.path() / "out.html";
    EXPECT_TRUE(presenter.preview()->saveTo(QString::fromStdString(good.string()),
                                            report::OutputFormat::Html));
    EXPECT_NE(test::FileBytes(good).find("ファイル一覧"), std::string::npos);
}

}  // namespace
