#include "refs/object_references.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "collect/control_rows.h"
#include "collect/vocabulary.h"
#include "host/error.h"
#include "refs/name_match.h"
#include "util/vb_string.h"
#include "vba/procedure_references.h"

namespace zanfor::refs {

namespace {

using host::access::Control;
using host::access::DesignObject;
using host::access::Module;
using host::access::ObjectType;

constexpr std::size_t kNameLength = 150;

constexpr std::string_view kSql = "ＳＱＬ";
constexpr std::string_view kTableOrQuery = "ﾃｰﾌﾞﾙ/ｸｴﾘｰ";
constexpr std::string_view kMacro = "マクロ";
constexpr std::string_view kUserFunction = "ﾕｰｻﾞｰ関数";
constexpr std::string_view kControlSource = "ｺﾝﾄﾛｰﾙｿｰｽ";
constexpr std::string_view kDefaultValue = "規定値";
constexpr std::string_view kModuleLabel = "ﾓｼﾞｭｰﾙ";

// Where a control's event properties sit in its Properties collection: the first tier whose
// `above` the collection's count exceeds. A check box, option button or toggle button inside an
// option group has fewer properties, and its events sit lower.
struct Tier {
    std::size_t above = 0;
    std::size_t first = 0;
    std::size_t last = 0;
};

constexpr Tier kComboBoxEvents[] = {{0, 68, 83}};
constexpr Tier kListBoxEvents[] = {{0, 54, 67}};
constexpr Tier kTextBoxEvents[] = {{0, 66, 80}};
constexpr Tier kBoundFrameEvents[] = {{0, 46, 60}};
constexpr Tier kButtonEvents[] = {{0, 38, 49}};
// A group's collection longer than 43 entries (Access 2000's has 44) keeps its events at 35 to 43
// all the same: reading none there would drop the macro behind every option group.
constexpr Tier kOptionGroupEvents[] = {{41, 35, 43}, {0, 32, 40}};
constexpr Tier kToggleEvents[] = {{41, 41, 54}, {0, 32, 39}};
constexpr Tier kCheckEvents[] = {{45, 34, 47}, {33, 31, 44}, {0, 25, 32}};

// What a control of the named types refers to. A control type no rule names refers to nothing.
struct ControlRule {
    std::string_view types{};  // English type names separated by blanks
    // One row for this property, of the SQL test's kind; the row counter starts again with it.
    std::string_view source{};
    std::string_view sourceLabel{};
    bool scanControlSource = false;
    bool scanDefaultValue = false;
    bool optionMember = false;  // not scanned at all when inside an option group
    std::span<const Tier> events{};
};

constexpr ControlRule kFormControls[] = {
    {.types = "Subform", .source = "SourceObject", .sourceLabel = "ｿｰｽｵﾌﾞｼﾞｪｸﾄ"},
    // Their events are references like any other control's.
    {.types = "ComboBox",
     .source = "RowSource",
     .sourceLabel = "値集合ｿｰｽ",
     .scanControlSource = true,
     .events = kComboBoxEvents},
    {.types = "ListBox",
     .source = "RowSource",
     .sourceLabel = "値集合ｿｰｽ",
     .scanControlSource = true,
     .events = kListBoxEvents},
    {.types = "TextBox", .scanControlSource = true, .events = kTextBoxEvents},
    {.types = "BoundObjectFrame", .scanControlSource = true, .events = kBoundFrameEvents},
    {.types = "CommandButton", .events = kButtonEvents},
    {.types = "OptionGroup", .events = kOptionGroupEvents},
    {.types = "ToggleButton",
     .scanControlSource = true,
     .scanDefaultValue = true,
     .optionMember = true,
     .events = kToggleEvents},
    {.types = "CheckBox OptionButton",
     .scanControlSource = true,
     .scanDefaultValue = true,
     .optionMember = true,
     .events = kCheckEvents},
};

// A report's controls have no events, and its option groups are scanned.
constexpr ControlRule kReportControls[] = {
    {.types = "Subform", .source = "SourceObject", .sourceLabel = "ｿｰｽｵﾌﾞｼﾞｪｸﾄ"},
    {.types = "ComboBox ListBox",
     .source = "RowSource",
     .sourceLabel = "値集合ｿｰｽ",
     .scanControlSource = true},
    {.types = "TextBox OptionGroup BoundObjectFrame", .scanControlSource = true},
    {.types = "CheckBox OptionButton ToggleButton",
     .scanControlSource = true,
     .optionMember = true},
};

// What the form and report commands do differently.
struct Command {
    ObjectType type = ObjectType::Form;
    std::string_view container{};
    std::string_view place{};
    std::string_view title{};         // shown as the run starts
    std::string_view chosenObject{};  // the messages of a run over the chosen object
    std::string_view chosenModule{};
    std::string_view self{};  // ControlName of the object's own event rows
    std::int16_t midasi = 0;
    // The object's event properties, by index; `notAnEvent` lies inside and is passed over.
    std::size_t firstEvent = 0;
    std::size_t lastEvent = 0;
    std::optional<std::size_t> notAnEvent{};
    std::span<const ControlRule> controls{};
    std::int16_t app::SupportState::*mode = nullptr;
    std::string app::SupportState::*chosen = nullptr;
    long app::ObjectCounts::*count = nullptr;
};

// 108 is Key Preview, a yes/no setting among the form's events.
constexpr Command kForms{.type = ObjectType::Form,
                         .container = "Forms",
                         .place = "場所:オブジェクト参照元情報(フォーム)",
                         .title = "ｵﾌﾞｼﾞｪｸﾄ参照元情報(ﾌｫｰﾑ)",
                         .chosenObject = "ﾌｫｰﾑｵﾌﾞｼﾞｪｸﾄ情報　取得中",
                         .chosenModule = "ﾌｫｰﾑﾓｼﾞｭｰﾙ情報　取得中",
                         .self = "フォーム",
                         .midasi = 1,
                         .firstEvent = 82,
                         .lastEvent = 112,
                         .notAnEvent = 108,
                         .controls = kFormControls,
                         .mode = &app::SupportState::formMode,
                         .chosen = &app::SupportState::formText,
                         .count = &app::ObjectCounts::forms};

constexpr Command kReports{.type = ObjectType::Report,
                           .container = "Reports",
                           .place = "場所:オブジェクト参照元情報(レポート)",
                           .title = "ｵﾌﾞｼﾞｪｸﾄ参照元情報(ﾚﾎﾟｰﾄ)",
                           .chosenObject = "ﾚﾎﾟｰﾄｵﾌﾞｼﾞｪｸﾄ情報　取得中",
                           .chosenModule = "ﾚﾎﾟｰﾄﾓｼﾞｭｰﾙ情報　取得中",
                           .self = "レポート",
                           .midasi = 2,
                           .firstEvent = 41,
                           .lastEvent = 47,
                           .controls = kReportControls,
                           .mode = &app::SupportState::reportMode,
                           .chosen = &app::SupportState::reportText,
                           .count = &app::ObjectCounts::reports};

const ControlRule* RuleFor(std::span<const ControlRule> rules, std::string_view type) {
    for (const auto& rule : rules) {
        if (collect::NamesType(rule.types, type))
            return &rule;
    }
    return nullptr;
}

// A line break or tab after the keyword makes an SQL statement as well as a blank does.
std::string_view SqlTestKind(std::string_view text) {
    const std::string head = util::UCase(util::Left(util::Trim(text), 7));
    const bool sql = head.size() == 7 && head.starts_with("SELECT") &&
                     (head[6] == ' ' || head[6] == '\t' || head[6] == '\r' || head[6] == '\n');
    return sql ? kSql : kTableOrQuery;
}

// A macro's group: "Group.Macro" names the macro Macro of the macro object Group.
std::string_view MacroGroup(std::string_view value) { return value.substr(0, value.find('.')); }

// A row says the object refers to something. A property whose value the design does not tell
// (most often one of a control's events) nearly always holds nothing, and a row for each would
// bury the references that are known, so it is read as empty.
template <class Holder>
std::string TextOf(const Holder& holder, std::string_view name) {
    return holder.isUnknown(name) ? std::string() : holder.properties.get(name).toText();
}

class ReferenceRun {
public:
    ReferenceRun(collect::RunContext& ctx, const Command& command, workdb::RowWriter& objects,
                 workdb::RowWriter& modules)
        : ctx_(ctx),
          command_(command),
          objects_(objects),
          modules_(modules),
          procedures_(ctx.state.support.procedures),
          names_(procedures_) {}

    void run() {
        const auto& support = ctx_.state.support;
        const std::int16_t mode = support.*command_.mode;
        if (mode == 1) {
            for (const auto& document : ctx_.access->currentDb().documents(command_.container)) {
                one(document.name, util::LeftRTrim(document.name, kNameLength), true);
                collect::ShowProgress(ctx_, objectNo_, ctx_.state.counts.*command_.count);
            }
        } else if (mode == 2) {
            const std::string& chosen = support.*command_.chosen;
            one(chosen, chosen, false);
        }
    }

private:
    void one(const std::string& openName, const std::string& name, bool all) {
        std::optional<collect::OpenDesign> open;
        std::optional<host::Error> failure;
        try {
            open.emplace(*ctx_.access, command_.type, openName);
        } catch (const host::Error& e) {
            failure = e;
        }
        ++objectNo_;
        objectName_ = name;
        ctx_.ui.showMessage(all ? name + "(ｵﾌﾞｼﾞｪｸﾄ情報)　取得中"
                                : std::string(command_.chosenObject));
        std::shared_ptr<const Module> module;
        if (open) {
            collectDesign(open->design());
            module = open->design().module;
        } else {
            unreadable(*failure);
            module = codeBehind(openName);
        }
        if (module) {
            ctx_.ui.showMessage(all ? name + "(ﾓｼﾞｭｰﾙ情報)　取得中"
                                    : std::string(command_.chosenModule));
            vba::ScanProcedureReferences(module->model(), names_,
                                         {objectNo_, kModuleLabel, objectName_}, scan_, modules_);
        }
        if (open)
            open->close();
    }

    // The code behind an object whose design does not read is the project's to tell; an
    // object that is not there at all has none.
    std::shared_ptr<const Module> codeBehind(const std::string& name) {
        try {
            return ctx_.access->documentModule(command_.type, name);
        } catch (const host::Error&) {
            return nullptr;
        }
    }

    void unreadable(const host::Error& why) {
        collect::NoteUnreadable(ctx_, objectName_, why);
        startObject();
        write({}, {}, collect::UnreadableNote(why), {});
    }

    void startObject() {
        controlNo_ = 0;
        rowNo_ = 0;
        controlName_.clear();
        controlLabel_.clear();
    }

    void collectDesign(const DesignObject& d) {
        startObject();
        const std::string recordSource = TextOf(d, "RecordSource");
        if (!recordSource.empty())
            write(SqlTestKind(recordSource), "ﾚｺｰﾄﾞｿｰｽ", recordSource, {});
        controlName_ = command_.self;
        const std::size_t count = d.properties.count();
        for (std::size_t i = command_.firstEvent; i <= command_.lastEvent && i < count; ++i) {
            if (i != command_.notAnEvent)
                eventRow(d, d.properties.at(i).name);
        }
        for (const auto& c : d.controls)
            control(c);
    }

    void control(const Control& c) {
        ++controlNo_;
        controlName_ = util::LeftRTrim(c.name(), kNameLength);
        const std::string type = collect::ControlTypeName(std::to_string(c.controlType()));
        controlLabel_ = collect::ControlTypeLabel(type);
        const ControlRule* rule = RuleFor(command_.controls, type);
        if (!rule)
            return;
        if (!rule->source.empty())
            source(c, *rule);
        const bool grouped = rule->optionMember && collect::InOptionGroup(c, type);
        if (!grouped) {
            if (rule->scanControlSource)
                userFunction(c, "ControlSource", kControlSource);
            if (rule->scanDefaultValue)
                userFunction(c, "DefaultValue", kDefaultValue);
        }
        if (!rule->events.empty())
            events(c, rule->events,
                   collect::AccessPropertyCount(c, type, command_.type == ObjectType::Report));
    }

    void source(const Control& c, const ControlRule& rule) {
        rowNo_ = 0;
        const std::string text = TextOf(c, rule.source);
        if (text.empty())
            return;
        if (rule.source == "RowSource" && !c.isUnknown("RowSourceType") &&
            c.properties.get("RowSourceType").toText() == "Value List")
            return;
        ++rowNo_;
        write(SqlTestKind(text), rule.sourceLabel, text, {});
    }

    // The first procedure of the table the property names; later ones are not looked for.
    void userFunction(const Control& c, std::string_view property, std::string_view label) {
        if (procedures_.empty())
            return;
        const std::string text = TextOf(c, property);
        if (text.empty())
            return;
        for (const auto& entry : procedures_) {
            if (NamesWhole(text, entry.procedure)) {
                write(kUserFunction, label, entry.procedure, entry.module);
                return;
            }
        }
    }

    // Written whatever the procedure table holds: a button that runs a macro refers to it in a
    // database without standard modules too.
    void events(const Control& c, std::span<const Tier> tiers, std::size_t count) {
        for (const Tier& tier : tiers) {
            if (count <= tier.above)
                continue;
            // A collection shorter than its range (a design from elsewhere) ends the range.
            for (std::size_t i = tier.first; i <= tier.last && i < count; ++i)
                eventRow(c, c.properties.at(i).name);
            return;
        }
    }

    template <class Holder>
    void eventRow(const Holder& holder, const std::string& property) {
        const std::string value = TextOf(holder, property);
        if (value.empty())
            return;
        ++rowNo_;
        write(kMacro, collect::EventPropertyLabel(property), value, MacroGroup(value));
    }

    void write(std::string_view kind, std::string_view label, std::string_view value,
               std::string_view moto) {
        objects_.addNew();
        objects_.set("objectNo", objectNo_)
            .set("ObjectName", objectName_)
            .set("ControlNo", controlNo_)
            .set("PropertyNo", rowNo_)
            .set("Bunrui", std::string(kind))
            .set("ControlName", controlName_)
            .set("ControlBunrui", controlLabel_)
            .set("PropertyName", std::string(label))
            .set("PropertyValue", std::string(value))
            .set("MotoName", std::string(moto))
            .set("Midasi", command_.midasi);
        objects_.update();
    }

    collect::RunContext& ctx_;
    const Command& command_;
    workdb::RowWriter& objects_;
    workdb::RowWriter& modules_;
    std::span<const app::ProcedureEntry> procedures_;
    vba::ProcedureNames names_;
    vba::ScanState scan_;
    long objectNo_ = 0;
    std::string objectName_;
    long controlNo_ = 0;
    long rowNo_ = 0;
    std::string controlName_;
    std::string controlLabel_;
};

collect::RunResult Run(collect::RunContext& ctx, const Command& command) {
    const collect::CollectorRun run{.place = std::string(command.place),
                                    .report = "R_AcLinkObject",
                                    .window = app::WindowKind::DeveloperSupport,
                                    .attachAccess = true,
                                    .finished = [](collect::RunContext&) {}};
    return collect::RunCollection(ctx, run, [&](collect::RunContext& c) {
        c.ui.showMessage(command.title);
        workdb::RowWriter objects = collect::OpenEmptied(c, "T_AcLinkObject");
        workdb::RowWriter modules = collect::OpenEmptied(c, "T_AcLinkModule");
        ReferenceRun(c, command, objects, modules).run();
        return collect::Finish::Report;
    });
}

}  // namespace

collect::RunResult RunFormReferences(collect::RunContext& ctx) { return Run(ctx, kForms); }

collect::RunResult RunReportReferences(collect::RunContext& ctx) { return Run(ctx, kReports); }

}  // namespace zanfor::refs
