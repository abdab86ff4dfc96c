#include "collect/collector_run.h"

#include <exception>

#include "core/progress.h"

namespace zanfor::collect {

namespace {

// A batch step opens no report and leaves the closing words to the batch; the report it would
// have shown is handed to the batch instead.
void finish(RunContext& ctx, const CollectorRun& run) {
    ctx.ui.setBusy(false);
    auto& step = ctx.state.batch.running;
    if (step)
        step->report = run.report;
    else if (!run.report.empty())
        ctx.ui.showReport(run.report, 0);
    if (run.finished) {
        run.finished(ctx);
        return;
    }
    ctx.state.lastRun[run.collector] = run.option;
    ctx.state.enablePreview(run.preview);
    if (step)
        return;
    ctx.ui.showMessage(kPrintThenClose);
    ctx.ui.startClearTimer(kClearAfterMilliseconds);
}

// A batch step names the batch's step as the place, and the batch has its own lines for the
// errors a whole-database run meets.
app::ErrorReport batchErrorReport(std::string_view place, int number,
                                  std::string_view description) {
    switch (number) {
        case 2516:
            return app::BuildSpecialErrorReport(
                place, number,
                {"Access2000以前のバージョンで作成した", "ファイルのため解析出来ません。"});
        case 2544:
            return app::BuildSpecialErrorReport(
                place, number,
                {"隠しオブジェクトで指定されているマクロがあります。",
                 "隠しオブジェクトを表示後、解析して下さい。"});
        case host::err::kLinkedFileMissing:
            return app::BuildSpecialErrorReport(
                place, number,
                {"リンクテーブルのパスが不正です。", "リンクテーブルのリンクを",
                 "再設定後実行下さい。"});
        case host::err::kOlderAccessVersion:
            return app::BuildSpecialErrorReport(
                place, number,
                {"Access2000以前のバージョンで作成した", "ファイルのため解析出来ません。",
                 "Access2000で変換後、解析して下さい。"});
        default:
            return app::BuildErrorReport(place, number, description, app::WindowKind::Batch);
    }
}

std::string_view placeOf(const RunContext& ctx, const CollectorRun& run) {
    const auto& step = ctx.state.batch.running;
    return step ? std::string_view(step->place) : std::string_view(run.place);
}

RunResult failed(RunContext& ctx, const app::ErrorReport& report) {
    ctx.ui.messageBox(report.text(), report.title, app::MsgButtons::Ok, app::MsgIcon::Critical);
    if (auto& step = ctx.state.batch.running)
        step->failed = true;
    return report.shutdown ? RunResult::ShutdownRequested : RunResult::Failed;
}

// Any failure, ours or the library's, is shown through the common error report; a host error
// the collection has its own lines for gets those.
RunResult reportFailure(RunContext& ctx, const CollectorRun& run, std::exception_ptr failure) {
    const auto place = placeOf(ctx, run);
    const bool batch = ctx.state.batch.running.has_value();
    const auto window = batch ? app::WindowKind::Batch : run.window;
    app::ErrorReport report;
    try {
        std::rethrow_exception(failure);
    } catch (const host::Error& e) {
        auto own = run.specialLines && !batch ? run.specialLines(e) : std::nullopt;
        if (batch)
            report = batchErrorReport(place, e.number(), e.description());
        else if (own)
            report = app::BuildSpecialErrorReport(place, e.number(), std::move(*own));
        else
            report = app::BuildErrorReport(place, e, window);
    } catch (const std::exception& e) {
        report = app::BuildErrorReport(place, e, window);
    } catch (...) {
        report =
            app::BuildErrorReport(place, host::err::kInvalidProcedureCall, "不明なエラー", window);
    }
    const auto result = failed(ctx, report);
    ctx.ui.setBusy(false);
    return result;
}

// The error closing a collection that went on past objects it could not read: the report is
// previewed with what was read, and the message says what is missing from it.
RunResult reportUnreadable(RunContext& ctx, const CollectorRun& run) {
    std::vector<std::string> lines{"読み取れないオブジェクトがあります。",
                                   "一覧には読み取れた部分だけを載せています:"};
    lines.insert(lines.end(), ctx.unreadable.begin(), ctx.unreadable.end());
    return failed(ctx, app::BuildSpecialErrorReport(placeOf(ctx, run), host::err::kDatabaseDamaged,
                                                    std::move(lines)));
}

}  // namespace

void NoteUnreadable(RunContext& ctx, std::string_view object, const host::Error& why) {
    ctx.unreadable.push_back("　" + std::string(object) + ": " +
                             app::ErrorSummary(why.number(), why.description()));
}

std::string UnreadableNote(const host::Error& why) {
    return "読み取れません (" + app::ErrorSummary(why.number(), why.description()) + ")";
}

RunResult RunCollection(RunContext& ctx, const CollectorRun& run,
                        const std::function<Finish(RunContext&)>& body) {
    // A batch step always collects anew.
    if (run.skip && !ctx.state.batch.running) {
        finish(ctx, run);
        return RunResult::Previewed;
    }
    ctx.unreadable.clear();
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
            // What the reader could not read of the database is missing from every listing.
            for (const auto& e : ctx.target.readFailures())
                NoteUnreadable(ctx, "データベース", e);
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
        return ctx.unreadable.empty() ? RunResult::EndedWithoutReport : reportUnreadable(ctx, run);
    }
    ctx.ui.showMessage(kFinished);
    ctx.ui.setProgress(100);
    finish(ctx, run);
    return ctx.unreadable.empty() ? RunResult::Collected : reportUnreadable(ctx, run);
}

void AttachAccess(RunContext& ctx) {
    if (!ctx.access)
        throw host::Error(host::err::kAccessClosed, "データベースが開かれていません。");
    MakeCurrent(*ctx.access, ctx.state.targetPath);
}

void MakeCurrent(host::access::Application& access, const std::string& target) {
    try {
        access.closeCurrentDatabase();
    } catch (const host::Error& e) {
        if (e.number() != host::err::kAccessClosed)
            throw;
    }
    access.openCurrentDatabase(target);
}

ClosingGuard::~ClosingGuard() {
    if (!closed_) {
        try {
            access_.close(type_, name_);
        } catch (...) {
            // The failure already on its way is the one to report.
        }
    }
}

void ClosingGuard::close() {
    closed_ = true;
    access_.close(type_, name_);
}

OpenDesign::OpenDesign(host::access::Application& access, host::access::ObjectType type,
                       const std::string& name)
    : design_(type == host::access::ObjectType::Report
                  ? access.openReport(name, host::access::View::Design)
                  : access.openForm(name, host::access::View::Design)),
      guard_(access, type, name) {}

void ShowProgress(RunContext& ctx, long done, long total) {
    ctx.ui.setProgress(app::ProgressPercent(done, total));
}

workdb::RowWriter OpenEmptied(RunContext& ctx, std::string_view table) {
    workdb::RowWriter writer(ctx.work, table);
    ctx.work.execute("delete * from " + std::string(table) + ";");
    return writer;
}

}  // namespace zanfor::collect
