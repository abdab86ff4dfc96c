// procedure_scan_bench: whether the procedure reference search costs the same with many names as
// with few. Generates an in-memory target of 200,000 VBA lines (or the count given) whose code
// uses 50 procedures of the table, then scans it with a table of those 50 names and with one of
// 5,000 names (the 50 among them), side by side, several rounds, keeping each one's best time.
// Both find the same uses, so any difference is the cost of the number of names.
//
//   procedure_scan_bench [lines]

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "collect/collector_run.h"
#include "core/app_state.h"
#include "core/run_ui.h"
#include "host/memory/memory_target.h"
#include "vba/procedure_references.h"
#include "workdb/work_database.h"

namespace {

using zanfor::app::ProcedureEntry;

constexpr long kLinesPerModule = 1000;
constexpr long kUsedNames = 50;
constexpr long kManyNames = 5000;
constexpr int kRounds = 3;

std::string usedName(long k) { return "共通処理" + std::to_string(k % kUsedNames); }

// One procedure of 16 lines: uses by Call, by "=", by ".", without either, and the names again
// inside literals and comments, where they are no uses.
void appendProcedure(std::string& text, long module, long index) {
    const std::string name = "処理" + std::to_string(module) + "_" + std::to_string(index);
    const long seed = module * 31 + index * 7;
    text += "' " + name + ": 受注を集計します。" + usedName(seed + 4) + " を使います。\r\n";
    text += "Public Function " + name + "(ByVal 得意先ID As Long) As Currency\r\n";
    text += "    Dim rs As DAO.Recordset ' 受注\r\n";
    text += "    Dim 合計 As Currency\r\n";
    text += "    Set rs = CurrentDb.OpenRecordset(\"SELECT * FROM 受注 WHERE " + usedName(seed) +
            " = 1\")\r\n";
    text += "    Do Until rs.EOF\r\n";
    text += "        合計 = 合計 + " + usedName(seed + 1) + "(rs!金額) ' 加算\r\n";
    text += "        Call " + usedName(seed + 2) + "(合計, 得意先ID)\r\n";
    text += "        " + usedName(seed + 3) + " 合計, \"集計\"\r\n";
    text += "        rs.MoveNext\r\n";
    text += "    Loop\r\n";
    text += "    If 合計 < 0 Then Exit Function\r\n";
    text += "    Me." + usedName(seed + 5) + "\r\n";
    text += "    rs.Close\r\n";
    text += "    " + name + " = 合計\r\n";
    text += "End Function\r\n";
}

constexpr long kProcedureLines = 16;
constexpr long kDeclarationLines = 4;

std::string moduleText(long module, long lines) {
    std::string text;
    text += "Option Compare Database\r\nOption Explicit\r\n";
    text += "Private m_件数 As Long ' 件数\r\n";
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

std::vector<ProcedureEntry> procedureTable(long names) {
    std::vector<ProcedureEntry> table;
    for (long k = 0; k < names; ++k)
        table.push_back({k < kUsedNames ? usedName(k) : "業務処理" + std::to_string(k),
                         "mod共通" + std::to_string(k / 100)});
    return table;
}

// The collections read their own database, as in a run: the tool closes and reopens Access's,
// which would leave a reference to Access's pointing at a closed one.
struct Bench {
    explicit Bench(long lines)
        : work(zanfor::workdb::WorkDatabase::open(":memory:")), application(engine) {
        zanfor::host::memory::MemoryTargetBuilder builder("/bench/引用.mdb");
        for (long written = 0, module = 0; written < lines; written += kLinesPerModule, ++module) {
            const long size = std::min(kLinesPerModule, lines - written);
            if (module % 2 == 0) {
                builder.form("F画面" + std::to_string(module)).code(moduleText(module, size));
            } else {
                builder.module("mod業務" + std::to_string(module), moduleText(module, size));
            }
        }
        target = builder.build();
        for (const auto& form : target->forms)
            models.push_back(&form.module->model());
        for (const auto& module : target->modules)
            models.push_back(&module->model());
        for (const auto* model : models)
            generated += model->CountOfLines();
        engine.add(target);
        database = std::make_unique<zanfor::host::memory::MemoryDatabase>(target);
        application.openCurrentDatabase(target->path);
        state.targetPath = target->path;
        state.counts.forms = static_cast<long>(target->forms.size());
        state.counts.modules = static_cast<long>(target->modules.size());
    }

    zanfor::collect::RunContext context() { return {state, work, *database, ui, &application}; }

    long generated = 0;
    std::shared_ptr<const zanfor::host::memory::MemoryTarget> target;
    std::vector<const zanfor::host::ModuleModel*> models;
    zanfor::app::AppState state;
    zanfor::app::RecordingUi ui;
    zanfor::workdb::WorkDatabase work;
    zanfor::host::memory::MemoryEngine engine;
    zanfor::host::memory::MemoryApplication application;
    std::unique_ptr<zanfor::host::memory::MemoryDatabase> database;
};

struct Timing {
    double wall = 1e30;
    double cpu = 1e30;
    long long found = 0;
};

template <class Work>
void measure(Timing& best, Work&& work) {
    const auto wallStart = std::chrono::steady_clock::now();
    const std::clock_t cpuStart = std::clock();
    best.found = work();
    const double cpu = static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
    const std::chrono::duration<double> wall = std::chrono::steady_clock::now() - wallStart;
    best.wall = std::min(best.wall, wall.count());
    best.cpu = std::min(best.cpu, cpu);
}

// The name search alone: every line of every module against the index.
long long searchAll(const Bench& bench, const zanfor::vba::ProcedureNames& names) {
    long long found = 0;
    std::vector<std::size_t> uses;
    for (const auto* model : bench.models) {
        bool inComment = false;
        for (long n = 1; n <= model->CountOfLines(); ++n) {
            names.match(model->Line(n), "", inComment, uses);
            found += static_cast<long long>(uses.size());
        }
    }
    return found;
}

void print(const char* what, const Timing& few, const Timing& many) {
    std::printf("%-16s %9.3f s %9.3f s %9.3f s %9.3f s %7.2f %7.2f %10lld %10lld\n", what, few.wall,
                many.wall, few.cpu, many.cpu, many.wall / few.wall, many.cpu / few.cpu, few.found,
                many.found);
}

}  // namespace

int main(int argc, char** argv) {
    const long lines = argc > 1 ? std::atol(argv[1]) : 200000;
    if (lines <= 0) {
        std::fprintf(stderr, "usage: procedure_scan_bench [lines]\n");
        return 2;
    }
    Bench bench(lines);
    if (bench.generated != lines) {
        std::fprintf(stderr, "generated %ld lines instead of %ld\n", bench.generated, lines);
        return 1;
    }
    const std::vector<ProcedureEntry> tables[] = {procedureTable(kUsedNames),
                                                  procedureTable(kManyNames)};
    Timing search[2];
    Timing tool[2];
    for (int round = 0; round < kRounds; ++round) {
        for (int t = 0; t < 2; ++t) {
            const zanfor::vba::ProcedureNames names(tables[t]);
            measure(search[t], [&] { return searchAll(bench, names); });
            bench.state.support.procedures = tables[t];
            measure(tool[t], [&]() -> long long {
                auto ctx = bench.context();
                if (zanfor::vba::RunProcedureReferences(ctx) !=
                    zanfor::collect::RunResult::Collected) {
                    for (const auto& event : bench.ui.events)
                        if (event.starts_with("box:"))
                            std::fprintf(stderr, "run failed: %s\n", event.c_str());
                    std::exit(1);
                }
                return bench.work.rowCount("T_AcLinkModule");
            });
        }
    }
    // The machine may be shared: processor time shows the search's own cost beside the wall.
    std::printf("%ld VBA lines, best of %d rounds; names in the table: %ld and %ld\n", lines,
                kRounds, kUsedNames, kManyNames);
    std::printf("%-16s %11s %11s %11s %11s %7s %7s %10s %10s\n", "", "wall 50", "wall 5000",
                "cpu 50", "cpu 5000", "ratio", "(cpu)", "uses 50", "uses 5000");
    print("name search", search[0], search[1]);
    print("tool run", tool[0], tool[1]);
    return search[0].found == search[1].found && tool[0].found == tool[1].found ? 0 : 1;
}
