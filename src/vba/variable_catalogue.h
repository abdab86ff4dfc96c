#pragma once

// The variable catalogue (cmdHensu "変数情報取得" of the developer support window): one T_AcHensu
// row per declared name of every form, report and module: variables, constants, user-defined
// types and enums with each member, and external functions (Declare), each with its scope word,
// class, type or value text and the comment behind it.

#include <string>
#include <string_view>
#include <vector>

#include "collect/collector_run.h"
#include "host/access/module_model.h"

namespace zanfor::vba {

inline constexpr std::string_view kVariable = "変数";
inline constexpr std::string_view kConstant = "定数";
inline constexpr std::string_view kDefinition = "定義";
inline constexpr std::string_view kExternal = "API";

// One row of the catalogue as the module gives it.
struct Declaration {
    long line = 0;              // the module line the statement starts on
    std::string procedureName;  // as the row writes it: "(Declarations)", or "" for a type there
    std::string name;
    std::string property;  // "Dim", "Global", "Public" or "Private"
    std::string_view bunrui;
    std::string type;  // "型/..." or "値/..."; empty when the statement gives none
    std::string description;
    long sequence = 0;  // 1, 2, ... over the module's rows
};

// Declarations are statements that begin with their keywords (after a label or ":"), in code
// outside literals and comments; lines continued with " _" make one statement. A statement
// that lists several names gives a row for each, all with the statement's scope and class.
// Static variables and ReDim are not catalogued: the catalogue knows the four scope words only.
std::vector<Declaration> ReadDeclarations(const host::ModuleModel& model);

// Collects T_AcHensu, enables the three list buttons and says so in a message box; previews
// nothing. Needs ctx.access.
collect::RunResult RunVariableCatalogue(collect::RunContext& ctx);

}  // namespace zanfor::vba
