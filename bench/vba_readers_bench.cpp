// vba_readers_bench: how fast the four code readers (module listing, detailed procedure
// listing, step counts, comments) get through a target's code. Generates an in-memory target
// of 200,000 VBA lines (or the count given) in forms and standard modules, runs each reader once
// over all of it into an in-memory work database, and reports lines per second.
//
//   vba_readers_bench [lines]

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <memory>
#include <string>

#include "collect/collector_run.h"
#include "core/app_state.h"
#include "core/run_ui.h"
#include "host/memory/memory_target.h"
#include "vba/comment_listing.h"
#include "vba/module_listing.h"
#include "vba/procedure_listing.h"
#include "vba/step_counts.h"
#include "workdb/work_database.h"

namespace {

using zanfor::collect::RunContext;
using zanfor::collect::RunResult;

constexpr long kLinesPerModule = 1000;

// One procedure of 25 lines: comments above and inside, a heading continued over three lines,
// declarations, calls, code with trailing comments and blank lines.
void appendProcedure(std::string& text, long module, long index) {
    const std::string name = "処理" + std::to_string(module) + "_" + std::to_string(index);
    text += "\r\n";
    text += "' " + name + ": 受注データを集計して結果を返します。\r\n";
    text += "Public Function " + name + "(ByVal 得意先ID As Long, _\r\n";
    text += "                ByVal 開始日 As Date, _\r\n";
    text += "                Optional ByVal 条件 As String = \"\") As Currency\r\n";
    text += "    ' 変数の宣言\r\n";
    text += "    Dim rs As DAO.Recordset ' 受注\r\n";
    text += "    Dim 合計 As Currency\r\n";
    text += "    Const SQL_BASE = \"SELECT * FROM 受注 WHERE 区分='A'\" ' 基本\r\n";
    text += "\r\n";
    text += "    Set rs = CurrentDb.OpenRecordset(SQL_BASE & 条件)\r\n";
    text += "    Do Until rs.EOF\r\n";
    text += "        合計 = 合計 + rs!金額 ' 加算\r\n";
    text += "        rs.MoveNext\r\n";
    text += "    Loop\r\n";
    text += "    Rem 後始末\r\n";
    text += "    rs.Close\r\n";
    text += "    Call ログ出力(\"" + name + "\", 合計)\r\n";
    text += "\r\n";
    text += "    If 合計 < 0 Then Exit Function\r\n";
    text += "    " + name + " = 合計\r\n";
    text += "End Function\r\n";
}

constexpr long kProcedureLines = 22;
constexpr long kDeclarationLines = 6;

std::string moduleText(long module, long lines) {
    std::string text;
    text += "Option Compare Database\r\nOption Explicit\r\n";
    text += "Private Declare Function GetTickCount Lib \"kernel32\" () As Long\r\n";
    text += "Private m_件数 As Long ' 件数\r\n";
    text += "Public Const 上限 = 1000\r\n";
    text += "Dim m_名前 As String\r\n";
    long written = kDeclarationLines;
    long index = 0;
    while (written + kProcedureLines <= lines) {
        appendProcedure(text, module, ++index);
        written += kProcedureLines;
    }
    for (; written < lines; ++written)
        text += "' 終わり\r\n";
    return text;
}

// The target open twice, as in a run: the DAO database the collections read, and Access with
// the same file open for the code. The readers close and reopen Access's database, so the
// collections' database must be a separate one that outlives that.
struct Bench {
    explicit Bench(long lines)
        : work(zanfor::workdb::WorkDatabase::open(":memory:")), application(engine) {
        zanfor::host::memory::MemoryTargetBuilder builder("/bench/大規模.mdb");
        for (long written = 0, module = 0; written < lines; written += kLinesPerModule, ++module) {
            const long size = std::min(kLinesPerModule, lines - written);
            if (module % 2 == 0) {
                builder.form("F画面" + std::to_string(module)).code(moduleText(module, size));
            } else {
                builder.module("mod業務" + std::to_string(module), moduleText(module, size));
            }
        }
        auto target = builder.build();
        for (const auto& form : target->forms)
            generated += form.module->model().CountOfLines();
        for (const auto& module : target->modules)
            generated += module->model().CountOfLines();
        engine.add(target);
        database = std::make_unique<zanfor::host::memory::MemoryDatabase>(target);
        application.openCurrentDatabase(target->path);
        application.setVisible(true);
        state.openMode = zanfor::app::OpenMode::Target;
        state.targetPath = target->path;
        state.counts.forms = static_cast<long>(database->documents("Forms").size());
        state.counts.modules = static_cast<long>(database->documents("Modules").size());
        state.options.module = 4;
        state.options.modstep = 4;
        state.options.proc = 2;
    }

    RunContext context() { return {state, work, *database, ui, &application}; }

    long generated = 0;
    zanfor::app::AppState state;
    zanfor::app::RecordingUi ui;
    zanfor::workdb::WorkDatabase work;
    zanfor::host::memory::MemoryEngine engine;
    zanfor::host::memory::MemoryApplication application;
    std::unique_ptr<zanfor::host::memory::MemoryDatabase> database;
};

}  // namespace

int main(int argc, char** argv) {
    const long lines = argc > 1 ? std::atol(argv[1]) : 200000;
    if (lines <= 0) {
        std::fprintf(stderr, "usage: vba_readers_bench [lines]\n");
        return 2;
    }
    Bench bench(lines);
    if (bench.generated != lines) {
        std::fprintf(stderr, "generated %ld lines instead of %ld\n", bench.generated, lines);
        return 1;
    }
    struct Reader {
        const char* name;
        const char* table;
        std::function<RunResult(RunContext&)> run;
    };
    const Reader readers[] = {
        {"module listing", "T_AcModule", zanfor::vba::RunModuleListing},
        {"procedures (detailed)", "T_AcProcName", zanfor::vba::RunProcedureListing},
        {"step counts", "T_AcProcCount", zanfor::vba::RunStepCounts},
        {"comments", "T_AcComment", zanfor::vba::RunCommentListing},
    };
    // The machine may be shared: processor time shows the readers' own cost beside the wall.
    std::printf("%ld VBA lines                wall        lines/s     cpu        lines/s\n", lines);
    double wallTotal = 0;
    double cpuTotal = 0;
    for (const Reader& reader : readers) {
        RunContext ctx = bench.context();
        const auto wallStart = std::chrono::steady_clock::now();
        const std::clock_t cpuStart = std::clock();
        const RunResult result = reader.run(ctx);
        const double cpu = static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
        const std::chrono::duration<double> wall = std::chrono::steady_clock::now() - wallStart;
        if (result != RunResult::Collected) {
            // Every event of the window: the run's error message is among them.
            std::fprintf(stderr, "%s failed:\n", reader.name);
            for (const auto& event : bench.ui.events)
                std::fprintf(stderr, "  %s\n", event.c_str());
            return 1;
        }
        wallTotal += wall.count();
        cpuTotal += cpu;
        std::printf("%-22s %8.3f s %11.0f %8.3f s %11.0f   %lld rows in %s\n", reader.name,
                    wall.count(), static_cast<double>(lines) / wall.count(), cpu,
                    static_cast<double>(lines) / cpu,
                    static_cast<long long>(bench.work.rowCount(reader.table)), reader.table);
    }
    std::printf("%-22s %8.3f s %11.0f %8.3f s %11.0f\n", "all four", wallTotal,
                4.0 * static_cast<double>(lines) / wallTotal, cpuTotal,
                4.0 * static_cast<double>(lines) / cpuTotal);
    return 0;
}
