#include "collect/collector_run.h"

#include "core/progress.h"

namespace zanfor::collect {

namespace {

void finish(RunContext& ctx, const CollectorRun& run) {
    ctx.ui.setBusy(false);
    ctx.ui.showReport(run.report, 0);
    ctx.state.lastRun[run.collector] = run.option;
    ctx.state.enablePreview(run.preview);
    ctx.ui.showMessage(kPrintThenClose);
    ctx.ui.startClearTimer(kClearAfterMilliseconds);
}

}  // namespace

RunResult RunCollection(RunContext& ctx, const CollectorRun& run,
                        const std::function<Finish(RunContext&)>& body) {
    if (run.skip) {
        finish(ctx, run);
        return RunResult::Previewed;
    }
    ctx.ui.setBusy(true);
    ctx.ui.showGauge(true);
    ctx.ui.setProgress(0);
    workdb::Transaction tx(ctx.work);
    try {
        if (run.attachAccess)
            AttachAccess(ctx);
        const Finish how = body(ctx);
        tx.commit();
        if (how == Finish::NoReport) {
            ctx.ui.setBusy(false);
            return RunResult::EndedWithoutReport;
        }
        ctx.ui.showMessage(kFinished);
        ctx.ui.setProgress(100);
        finish(ctx, run);
        return RunResult::Collected;
    } catch (const host::Error& e) {
        tx.commit();
        std::optional<std::vector<std::string>> own;
        if (run.specialLines)
            own = run.specialLines(e);
        const app::ErrorReport report =
            own ? app::BuildSpecialErrorReport(run.place, e.number(), std::move(*own))
                : app::BuildErrorReport(run.place, e.number(), e.description(), run.window);
        ctx.ui.messageBox(report.text(), report.title, app::MsgButtons::Ok, app::MsgIcon::Critical);
        ctx.ui.setBusy(false);
        return report.shutdown ? RunResult::ShutdownRequested : RunResult::Failed;
    }
}

void AttachAccess(RunContext& ctx) {
    if (!ctx.access)
        throw host::Error(host::err::kAccessClosed, "データベースが開かれていません。");
    try {
        ctx.access->closeCurrentDatabase();
    } catch (const host::Error& e) {
        if (e.number() != host::err::kAccessClosed)
            throw;
    }
    ctx.access->openCurrentDatabase(ctx.state.targetPath);
}

void ShowProgress(RunContext& ctx, long done, long total) {
    ctx.ui.setProgress(app::ProgressPercent(done, total));
}

workdb::RowWriter OpenEmptied(RunContext& ctx, std::string_view table) {
    workdb::RowWriter writer(ctx.work, table);
    ctx.work.execute("delete * from " + std::string(table) + ";");
    return writer;
}

}  // namespace zanfor::collect
