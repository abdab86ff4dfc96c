#include "vba/module_walk.h"

#include <algorithm>
#include <limits>

#include "host/error.h"
#include "util/vb_string.h"

namespace zanfor::vba {

namespace {

using host::access::ObjectType;

constexpr std::size_t kNameLength = 150;

struct KindWalk {
    CodeKind kind;
    const char* container;
    ObjectType type;
    long app::ObjectCounts::*count;
};

constexpr KindWalk kForms{CodeKind::Form, "Forms", ObjectType::Form, &app::ObjectCounts::forms};
constexpr KindWalk kReports{CodeKind::Report, "Reports", ObjectType::Report,
                            &app::ObjectCounts::reports};
constexpr KindWalk kModules{CodeKind::Module, "Modules", ObjectType::Module,
                            &app::ObjectCounts::modules};

class Walk {
public:
    Walk(collect::RunContext& ctx, WalkKinds kinds, const CodeReader& read, const WalkStyle& style)
        : ctx_(ctx), read_(read), style_(style) {
        if (!ctx.access) {
            throw host::Error(host::err::kAccessClosed, "データベースが開かれていません。");
        }
        access_ = ctx.access;
        if (kinds.forms)
            plan_.push_back(&kForms);
        if (kinds.reports)
            plan_.push_back(&kReports);
        if (kinds.modules)
            plan_.push_back(&kModules);
        for (const KindWalk* kind : plan_)
            total_ += ctx.state.counts.*(kind->count);
    }

    void run() {
        for (const KindWalk* kind : plan_) {
            for (const auto& document : ctx_.target.documents(kind->container)) {
                readDocument(*kind, document.name);
                ShowProgress(ctx_, ++walked_, total_);
            }
        }
    }

private:
    void readDocument(const KindWalk& kind, const std::string& name) {
        ctx_.ui.showMessage(style_.message ? style_.message(kind.kind, name)
                                           : ObjectMessage(kind.kind, name));
        if (kind.kind == CodeKind::Module) {
            const host::access::Module& module = access_->openModule(name);
            collect::ClosingGuard guard(*access_, kind.type, name);
            access_->minimize();
            read(kind.kind, name, module);
            guard.close();
            return;
        }
        // Whether the object has code is the project's to say: a design that does not read
        // must not hide the code behind it.
        if (const auto module = access_->documentModule(kind.type, name)) {
            read(kind.kind, name, *module);
        } else if (style_.numberObjectsWithoutCode) {
            ++objectNo_;
        }
    }

    void read(CodeKind kind, const std::string& name, const host::access::Module& module) {
        read_(CodeObject{kind, name, util::LeftRTrim(name, kNameLength), ++objectNo_, module});
    }

    collect::RunContext& ctx_;
    host::access::Application* access_ = nullptr;
    const CodeReader& read_;
    const WalkStyle& style_;
    std::vector<const KindWalk*> plan_;
    long total_ = 0;
    long walked_ = 0;
    int objectNo_ = 0;
};

}  // namespace

WalkKinds KindsOf(std::int16_t selection) {
    switch (selection) {
        case 1:
            return {true, false, false};
        case 2:
            return {false, true, false};
        case 3:
            return {false, false, true};
        case 4:
            return kAllKinds;
        default:
            return {};
    }
}

std::string ObjectMessage(CodeKind kind, const std::string& name) {
    static constexpr std::array<std::string_view, 3> kPrefixes{"フォームモジュール情報　取得中　(",
                                                               "レポートモジュール情報　取得中　(",
                                                               "モジュール情報　取得中　("};
    return std::string(kPrefixes[static_cast<std::size_t>(kind)]) + name + ")";
}

void WalkModules(collect::RunContext& ctx, WalkKinds kinds, const CodeReader& read,
                 const WalkStyle& style) {
    Walk(ctx, kinds, read, style).run();
}

std::string KindMessage(CodeKind kind, const std::string&) {
    static constexpr std::array<std::string_view, 3> kMessages{
        "ﾌｫｰﾑﾓｼﾞｭｰﾙ情報　取得中", "ﾚﾎﾟｰﾄﾓｼﾞｭｰﾙ情報　取得中", "ﾓｼﾞｭｰﾙ情報　取得中"};
    return std::string(kMessages[static_cast<std::size_t>(kind)]);
}

const std::string& Section::name() const {
    static const std::string kDeclarations;
    return procedure ? procedure->name : kDeclarations;
}

std::vector<Section> SectionsOf(const host::ModuleModel& model) {
    std::vector<Section> sections;
    sections.reserve(model.procedures().size() + 1);
    if (model.CountOfDeclarationLines() > 0)
        sections.push_back({nullptr, 1, model.CountOfDeclarationLines()});
    for (const host::Procedure& procedure : model.procedures()) {
        sections.push_back(
            {&procedure, procedure.startLine, procedure.startLine + procedure.countLines - 1});
    }
    return sections;
}

void KeepProcedureNo(app::AppState& state, long procedureNo) {
    state.procedureNo = static_cast<std::int16_t>(
        std::min<long>(procedureNo, std::numeric_limits<std::int16_t>::max()));
}

}  // namespace zanfor::vba
