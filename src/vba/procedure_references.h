#pragma once

// The procedure references (cmdLinkProc "プロシージャ引用先一覧", a cross reference): every place
// in the code of the target's forms, reports and modules where a procedure of the procedure
// table is used, one T_AcLinkModule row per line and procedure used. The scanner is shared with
// the object reference tools, which run it on the code of the object they examine.
//
// A use is the procedure's name as an identifier of the code, bounded on both sides and compared
// exactly: `Call SaveAll(1)`, `x = GetValue(3)`, `Me.Refresh`, `SaveAll 1` and `Forms![SaveAll]`
// are uses; `SaveAllNow`, a literal, a comment (continued with " _" or not), a type after As or
// New, a name declared with As (`ByVal hDC As Long`) and the name of a named argument
// (`FileName:=`) are not. A procedure's use of its own name (its heading, its result, a
// recursive call) is no reference.

#include <cstddef>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "collect/collector_run.h"
#include "core/app_state.h"
#include "host/access/module_model.h"
#include "workdb/work_database.h"

namespace zanfor::vba {

// The procedure table indexed by name, so that a line costs one pass over its identifiers
// whatever the number of names. The table must outlive the index.
class ProcedureNames {
public:
    explicit ProcedureNames(std::span<const app::ProcedureEntry> table);

    bool empty() const { return table_.empty(); }
    const app::ProcedureEntry& entry(std::size_t index) const { return table_[index]; }

    // The indices of the entries that one line of code uses, in table order and each once; two
    // entries of one name (a name defined in two modules) both. Names equal to `caller` are left
    // out. `inComment` tells that the line before ended in a comment continued with " _" and
    // receives whether this line does.
    void match(std::string_view line, std::string_view caller, bool& inComment,
               std::vector<std::size_t>& found) const;

private:
    struct Hash {
        using is_transparent = void;
        std::size_t operator()(std::string_view s) const {
            return std::hash<std::string_view>{}(s);
        }
    };

    std::span<const app::ProcedureEntry> table_;
    std::unordered_map<std::string, std::vector<std::size_t>, Hash, std::equal_to<>> byName_;
};

// The object whose code is scanned, as its rows name it.
struct ScanTarget {
    long objectNo = 0;
    std::string_view label;       // Bunrui: "Form", "Report", "Module", or "ﾓｼﾞｭｰﾙ"
    std::string_view objectName;  // its first 150 characters, trailing blanks removed
};

// The procedure in force, run on from one module to the next within a run: its number grows by
// one wherever the owning procedure's name changes.
struct ScanState {
    long procedureNo = 0;
    std::string procedure;
};

// Writes a T_AcLinkModule row per line and entry used. A module without procedures, and the
// option statements and blank lines of any, give none.
void ScanProcedureReferences(const host::ModuleModel& model, const ProcedureNames& names,
                             const ScanTarget& target, ScanState& state, workdb::RowWriter& rows);

// Empties T_AcLinkModule and scans every form, report and module with the procedure table of
// ctx.state.support, then previews R_AcLinkProc. Needs ctx.access.
collect::RunResult RunProcedureReferences(collect::RunContext& ctx);

}  // namespace zanfor::vba
