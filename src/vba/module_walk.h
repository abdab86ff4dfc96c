#pragma once

// The module walk every code reader runs inside its collection frame (collect::RunCollection):
// the forms, then the reports, then the standard and class modules of the target, each in the
// order of its DAO container ("Forms", "Reports", "Modules"). A form or report is opened in
// design view and read only when it has a module; every module document is read. Each object
// read takes the next object number (from 1 in each run) and is handed to the reader with its
// module, whose text the project decoded once; the walk shows the message of each object and
// the progress, and closes every object it opened, also when the reader fails.

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "collect/collector_run.h"
#include "core/app_state.h"
#include "host/access.h"
#include "host/access/module_model.h"

namespace zanfor::vba {

enum class CodeKind { Form, Report, Module };

// Which kinds a run walks, always in the order forms, reports, modules.
struct WalkKinds {
    bool forms = false;
    bool reports = false;
    bool modules = false;
};
inline constexpr WalkKinds kAllKinds{true, true, true};

// The kinds an option group chooses: 1 forms, 2 reports, 3 modules, 4 "全て" (all three);
// any other value walks nothing.
WalkKinds KindsOf(std::int16_t selection);

// One object whose code a reader gets.
struct CodeObject {
    CodeKind kind;
    const std::string& name;  // as the container's document names it
    std::string objectName;   // its first 150 characters, trailing blanks removed
    int objectNo;
    const host::access::Module& module;

    const host::ModuleModel& model() const { return module.model(); }
};

using CodeReader = std::function<void(const CodeObject&)>;

struct WalkStyle {
    // The message shown before each object is read; the module listing's by default.
    std::function<std::string(CodeKind, const std::string& name)> message;
    // The procedure reference tool numbers every form and report, with code or without.
    bool numberObjectsWithoutCode = false;
};

// "フォームモジュール情報　取得中　(name)", and the same for reports and modules.
std::string ObjectMessage(CodeKind kind, const std::string& name);
// "ﾌｫｰﾑﾓｼﾞｭｰﾙ情報　取得中", "ﾚﾎﾟｰﾄﾓｼﾞｭｰﾙ情報　取得中", "ﾓｼﾞｭｰﾙ情報　取得中": the message of the
// developer support tools, the kind alone.
std::string KindMessage(CodeKind kind, const std::string& name);

// Host errors of Access (opening, reading) and of the reader end the walk; the caller's frame
// reports them. The progress is the share of the chosen kinds' documents walked so far, out of
// the object counts taken when the target was opened.
void WalkModules(collect::RunContext& ctx, WalkKinds kinds, const CodeReader& read,
                 const WalkStyle& style = {});

// A part of a module as ProcOfLine draws it: the declarations section, or the section of one
// procedure (the comments and blank lines above its heading included). The sections of a module
// follow each other without gaps and cover every line.
struct Section {
    const host::Procedure* procedure = nullptr;  // nullptr for the declarations section
    long firstLine = 0;
    long lastLine = 0;

    const std::string& name() const;  // "" for the declarations section
    host::ProcKind kind() const { return procedure ? procedure->kind : host::ProcKind::Proc; }
    long lineCount() const { return lastLine - firstLine + 1; }
};

std::vector<Section> SectionsOf(const host::ModuleModel& model);

// The object kind labels a reader writes, indexed by CodeKind.
using KindLabels = std::array<std::string_view, 3>;
inline std::string_view LabelOf(const KindLabels& labels, CodeKind kind) {
    return labels[static_cast<std::size_t>(kind)];
}
// "Form", "Report", "Module": the labels of every reader but the module listing.
inline constexpr KindLabels kKindNames{"Form", "Report", "Module"};

// Leaves a run's procedure number in the shared counter, held at 32,767 when a run counted
// further: the readers number on past that without wrapping into negative numbers.
void KeepProcedureNo(app::AppState& state, long procedureNo);

}  // namespace zanfor::vba
