#include "collect/control_count.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "collect/vocabulary.h"
#include "core/error_report.h"
#include "util/vb_string.h"

namespace zanfor::collect {

namespace {

using host::access::DesignObject;
using host::access::ObjectType;

constexpr std::size_t kNameLength = 150;

// The counters in the order the row writes them, each with the control type name it counts.
struct Counter {
    std::string_view typeName;
    std::string_view field;
};
constexpr std::array<Counter, 19> kCounters{{
    {"Rectangle", "RectangleCount"},
    {"Label", "LabelCount"},
    {"Line", "LineCount"},
    {"Image", "ImageCount"},
    {"CommandButton", "CommandButtonCount"},
    {"OptionButton", "OptionButtonCount"},
    {"CheckBox", "CheckBoxCount"},
    {"OptionGroup", "OptionGroupCount"},
    {"BoundObjectFrame", "BoundObjectFrameCount"},
    {"TextBox", "TextBoxCount"},
    {"ListBox", "ListBoxCount"},
    {"ComboBox", "ComboBoxCount"},
    {"Subform", "SubformCount"},
    {"ObjectFrame", "ObjectFrameCount"},
    {"PageBreak", "PageBreakCount"},
    {"Page", "PageCount"},
    {"CustomControl", "CustomControlCount"},
    {"ToggleButton", "ToggleButtonCount"},
    {"TabCtl", "TabCtlCount"},
}};

struct Kind {
    const char* container;
    const char* className;
    const char* message;
    ObjectType type;
    long app::ObjectCounts::*count;
};

constexpr Kind kForms{"Forms", "Form", "フォームコントロール数　取得中　(", ObjectType::Form,
                      &app::ObjectCounts::forms};
constexpr Kind kReports{"Reports", "Report", "レポートコントロール数　取得中　(",
                        ObjectType::Report, &app::ObjectCounts::reports};

using Counts = std::array<std::int64_t, kCounters.size()>;

Counts countControls(const DesignObject& design) {
    Counts counts{};
    for (const auto& control : design.controls) {
        // A control whose type the design does not tell is counted nowhere, as type "?" is.
        const host::Property* type = control.properties.find("ControlType");
        if (!type)
            continue;
        const std::string name = ControlTypeName(std::to_string(type->value.toInteger()));
        const auto* counter = std::ranges::find(kCounters, name, &Counter::typeName);
        if (counter != kCounters.end())
            ++counts[static_cast<std::size_t>(counter - kCounters.begin())];
    }
    return counts;
}

// Errors that say Access itself is in trouble end the run; any other failure to open a design
// is that design's alone.
bool EndsTheRun(const host::Error& e) {
    return app::IsUnstableSystemError(e.number()) || e.number() == host::err::kOlderAccessVersion;
}

class Counting {
public:
    explicit Counting(RunContext& ctx) : ctx_(ctx), rows_(OpenEmptied(ctx, "T_AcControlCount")) {}

    void walk(const std::vector<const Kind*>& kinds) {
        for (const Kind* kind : kinds)
            total_ += ctx_.state.counts.*(kind->count);
        for (const Kind* kind : kinds) {
            for (const auto& document : ctx_.target.documents(kind->container)) {
                ctx_.ui.showMessage(kind->message + document.name + ")");
                count(*kind, document.name);
                ShowProgress(ctx_, ++done_, total_);
            }
        }
    }

private:
    void count(const Kind& kind, const std::string& name) {
        Counts counts{};
        try {
            counts = countDesign(kind, name);
        } catch (const host::Error& e) {
            if (EndsTheRun(e))
                throw;
            NoteUnreadable(ctx_, name, e);
            return;
        }
        rows_.addNew();
        rows_.set("objectNo", ++objectNo_)
            .set("Class", kind.className)
            .set("ObjectName", util::LeftRTrim(name, kNameLength));
        for (std::size_t i = 0; i < kCounters.size(); ++i)
            rows_.set(kCounters[i].field, counts[i]);
        rows_.update();
    }

    Counts countDesign(const Kind& kind, const std::string& name) {
        OpenDesign open(*ctx_.access, kind.type, name);
        const Counts counts = countControls(open.design());
        open.close();
        return counts;
    }

    RunContext& ctx_;
    workdb::RowWriter rows_;
    std::int64_t objectNo_ = 0;
    long done_ = 0;
    long total_ = 0;
};

}  // namespace

RunResult RunControlCount(RunContext& ctx) {
    const std::int16_t selection = ctx.state.options.control;
    const CollectorRun run{.collector = app::Collector::ControlCounts,
                           .option = selection,
                           .skip = selection == ctx.state.lastRun[app::Collector::ControlCounts],
                           .place = "場所:コントロール数",
                           .report = "R_AcControlCount",
                           .preview = app::PreviewButton::CPre,
                           .attachAccess = true};
    return RunCollection(ctx, run, [selection](RunContext& c) {
        Counting counting(c);
        c.ui.showMessage("コントロール数　取得中");
        std::vector<const Kind*> kinds;
        if (selection == 1 || selection == 3)
            kinds.push_back(&kForms);
        if (selection == 2 || selection == 3)
            kinds.push_back(&kReports);
        counting.walk(kinds);
        return Finish::Report;
    });
}

}  // namespace zanfor::collect
