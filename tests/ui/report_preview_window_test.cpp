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
                      ErrorCase{2103,
                                true,
                                false,
                                {"場所:レポート表示ｴﾗｰNo:2103",
                                 "場所、ｴﾗｰNo、内容を控えメールをお願いします。", "内容:説明"}},
                      ErrorCase{
                          2500,
                          true,
                          true,
                          {"場所:レポート表示ｴﾗｰNo:2500", "システムが不安定です。",
                           "詳細はヘルプを参照下さい。", "システムを終了します。", "内容:説明"}}),
    [](const auto& test) { return "error" + std::to_string(test.param.number); });

TEST(PreviewButtons, chooseTheReportOfTheCurrentOptionSettings) {
    using app::PreviewButton;
    struct Case {
        PreviewButton button;
        std::int16_t table, query, proc50, mprint, mod50;
        std::string_view report;
    };
    const Case cases[] = {
        {PreviewButton::OPre, 2, 3, 0, 2, 0, "R_AcObjectAll"},
        {PreviewButton::TPre, 1, 3, 0, 2, 0, "R_AcTblIndex"},
        {PreviewButton::TPre, 2, 3, 0, 2, 0, "R_AcTblTable"},
        {PreviewButton::QPre, 2, 1, 0, 2, 0, "R_AcQerySql"},
        {PreviewButton::QPre, 2, 3, 0, 2, 0, "R_AcQeryAll"},
        {PreviewButton::PPre, 2, 3, 1, 2, 0, "R_AcProcName50"},
        {PreviewButton::PPre, 2, 3, 0, 2, 0, "R_AcProcName"},
        {PreviewButton::MPre, 2, 3, 0, 1, 0, "R_AcModule"},
        {PreviewButton::MPre, 2, 3, 0, 1, 1, "R_AcModule50"},
        {PreviewButton::MPre, 2, 3, 0, 2, 0, "R_AcModule2"},
        {PreviewButton::MPre, 2, 3, 0, 2, 1, "R_AcModule250"},
        {PreviewButton::CmPre, 2, 3, 0, 2, 0, "R_AcComment"},
    };
    const auto names = report::ReportNames();
    for (const auto& c : cases) {
        app::OptionSettings settings;
        settings.table = c.table;
        settings.query = c.query;
        settings.proc50 = c.proc50;
        settings.mprint = c.mprint;
        settings.mod50 = c.mod50;
        EXPECT_EQ(app::PreviewButtonReport(c.button, settings), c.report);
        EXPECT_NE(std::find(names.begin(), names.end(), c.report), names.end()) << c.report;
        // The command table lists every report its command's preview can show.
        const auto rows = app::CommandTable();
        const auto row = std::find_if(rows.begin(), rows.end(),
                                      [&](const auto& r) { return r.preview == c.button; });
        ASSERT_NE(row, rows.end());
        EXPECT_NE(std::find(row->reports.begin(), row->reports.end(), c.report), row->reports.end())
            << c.report;
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

TEST_F(Preview, printingWithoutAPrinterShowsThePrinterDriverMessage) {
    presenter.ShowReport("R_AcFile", 1);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].lines,
              (Lines{"場所:レポート表示プリンタドライバがインストールされていません。",
                     "プリンタドライバをインストールして下さい。"}));
    EXPECT_EQ(presenter.preview(), nullptr);
}

TEST_F(Preview, otherModesShowAndPrintNothing) {
    presenter.ShowReport("R_AcFile", 2);
    presenter.ShowReport("R_AcFile", -1);
    EXPECT_TRUE(errors.empty());
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
