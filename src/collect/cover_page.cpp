#include "collect/cover_page.h"

#include <exception>
#include <optional>

#include "core/error_report.h"
#include "core/program_files.h"
#include "util/jet_date.h"
#include "util/vb_string.h"

namespace zanfor::collect {

namespace {

constexpr const char* kPlace = "場所:表紙";
constexpr std::size_t kTextLength = 255;
constexpr std::size_t kAuthorLength = 20;

void writeCover(RunContext& ctx, double createDate) {
    const auto& h = ctx.state.header;
    workdb::Transaction tx(ctx.work);
    auto row = OpenEmptied(ctx, "T_AcHyousi");
    ctx.ui.showMessage("表紙 情報　取得中");
    row.addNew();
    row.set("SysTitle", util::LeftRTrim(h.title, kTextLength))
        .set("SysName", util::LeftRTrim(h.system, kTextLength))
        .set("Company", util::LeftRTrim(h.company, kTextLength))
        .set("Bumon", util::LeftRTrim(h.bumon, kTextLength))
        .set("Auther", util::LeftRTrim(h.auther, kAuthorLength))
        .set("CreateDate", host::Date{createDate});
    row.update();
    tx.commit();
}

RunResult reportFailure(RunContext& ctx, const std::exception& failure) {
    const auto report = app::BuildErrorReport(kPlace, failure, app::WindowKind::Main);
    ctx.ui.messageBox(report.text(), report.title, app::MsgButtons::Ok, app::MsgIcon::Critical);
    return report.shutdown ? RunResult::ShutdownRequested : RunResult::Failed;
}

// Not a collection of the target: nothing is skipped, remembered or enabled, so the frame's
// finishing steps are not this command's.
RunResult RunCover(RunContext& ctx, std::string_view report) {
    const std::optional<double> date = util::ParseVbDate(ctx.state.header.date);
    if (!date) {
        ctx.ui.messageBox(kCoverDateMissing, app::kProductTitle, app::MsgButtons::Ok,
                          app::MsgIcon::None);
        return RunResult::EndedWithoutReport;
    }
    try {
        writeCover(ctx, *date);
    } catch (const std::exception& e) {
        return reportFailure(ctx, e);
    }
    ctx.ui.showReport(report, 0);
    ctx.ui.showMessage(kPrintThenClose);
    ctx.ui.startClearTimer(kClearAfterMilliseconds);
    return RunResult::Collected;
}

}  // namespace

RunResult RunCoverSheet(RunContext& ctx) { return RunCover(ctx, "R_AcHyousi"); }

RunResult RunCoverLabelPortrait(RunContext& ctx) { return RunCover(ctx, "R_AcHyousiH"); }

RunResult RunCoverLabelLandscape(RunContext& ctx) { return RunCover(ctx, "R_AcHyousiW"); }

}  // namespace zanfor::collect
