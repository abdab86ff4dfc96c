#include "collect/collector_run.h"

#include <exception>

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

// Any failure, ours or the library's, is shown through the common error report; a host error
// the collection has its own lines for gets those.
RunResult reportFailure(RunContext& ctx, const CollectorRun& run, std::exception_ptr failure) {
    app::ErrorReport report;
    try {
        std::rethrow_exception(failure);
    } catch (const host::Error& e) {
        auto own = run.specialLines ? run.specialLines(e) : std::nullopt;
        report = own ? app::BuildSpecialErrorReport(run.place, e.number(), std::move(*own))
                     : app::BuildErrorReport(run.place, e, run.window);
    } catch (const std::exception& e) {
        report = app::BuildErrorReport(run.place, e, run.window);
    } catch (...) {
        report = app::BuildErrorReport(run.place, host::err::kInvalidProcedureCall, "不明なエラー",
                                       run.window);
    }
    ctx.ui.messageBox(report.text(), report.title, app::MsgButtons::Ok, app::MsgIcon::Critical);
    ctx.ui.setBusy(false);
    return report.shutdown ? RunResult::ShutdownRequested : RunResult::Failed;
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
    Finish how = Finish::NoReport;
    std::exception_ptr failure;
    {
        workdb::Transaction tx(ctx.work);
        try {
            if (run.attachAccess)
                AttachAccess(ctx);
            how = body(ctx);
        } catch (...) {
            failure = std::current_exception();
        }
        // Committed once, failed or not, so the rows written before an error stay. A COMMIT
        // that fails is the error reported when the body went well; after a failed body the
        // body's error is the cause, and the transaction rolls back.
        try {
            tx.commit();
        } catch (...) {
            if (!failure)
                failure = std::current_exception();
        }
    }
    if (failure)
        return reportFailure(ctx, run, failure);
    if (how == Finish::NoReport) {
        ctx.ui.setBusy(false);
        return RunResult::EndedWithoutReport;
    }
    ctx.ui.showMessage(kFinished);
    ctx.ui.setProgress(100);
    finish(ctx, run);
    return RunResult::Collected;
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
