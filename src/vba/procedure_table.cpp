#include "vba/procedure_table.h"

#include "host/error.h"
#include "util/vb_string.h"

namespace zanfor::vba {

namespace {

constexpr std::size_t kNameLength = 150;

}  // namespace

void AppendProcedures(const host::ModuleModel& model, const std::string& moduleName,
                      std::vector<app::ProcedureEntry>& table) {
    const long total = model.CountOfLines();
    const long declarations = model.CountOfDeclarationLines();
    if (total == declarations)
        return;
    host::ProcKind kind{};
    std::string current = model.ProcOfLine(declarations + 1, kind);
    table.push_back({current, moduleName});
    for (long n = declarations + 2; n <= total; ++n) {
        std::string owner = model.ProcOfLine(n, kind);
        if (owner != current) {
            current = std::move(owner);
            table.push_back({current, moduleName});
        }
    }
}

std::vector<app::ProcedureEntry> BuildProcedureTable(collect::RunContext& ctx) {
    if (!ctx.access)
        throw host::Error(host::err::kAccessClosed, "データベースが開かれていません。");
    std::vector<app::ProcedureEntry> table;
    for (const auto& document : ctx.target.documents("Modules")) {
        const std::string moduleName = util::LeftRTrim(document.name, kNameLength);
        const auto& module = ctx.access->openModule(document.name);
        collect::ClosingGuard guard(*ctx.access, host::access::ObjectType::Module, document.name);
        ctx.access->minimize();
        AppendProcedures(module.model(), moduleName, table);
        guard.close();
    }
    return table;
}

}  // namespace zanfor::vba
