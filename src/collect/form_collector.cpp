#include "collect/form_collector.h"

#include "collect/design_collection.h"

namespace zanfor::collect {

namespace {

using S = InfoShape;

constexpr InfoField kFormFields[] = {
    {"RecordSource", "RecordSource", S::Labelled, "ﾚｺｰﾄﾞｿｰｽ : "},
    {"Filter", "Filter", S::Labelled, "フィルタ : "},
    {"OrderBy", "OrderBy", S::Labelled, "並べ替え : "},
    {"Caption", "Caption", S::Text100},
    {"DefaultView", "DefaultView", S::Number},
    {"AllowEdits", "AllowEdits", S::YesNo},
    {"AllowDeletions", "AllowDeletions", S::YesNo},
    {"AllowAdditions", "AllowAdditions", S::YesNo},
    {"DataEntry", "DataEntry", S::YesNo},
    {"RecordsetType", "RecordsetType", S::Number},
    {"RecordLocks", "RecordLocks", S::Number},
    {"PopUp", "PopUp", S::YesNo},
    {"sMenuBar", "MenuBar", S::Text},
    {"Modal", "Modal", S::YesNo},
};

// The form's Event tab: Properties 82 to 112, where 108 is Key Preview, a yes/no setting whose
// "False" would otherwise take a slot of every form.
constexpr DesignKind kForms{.type = host::access::ObjectType::Form,
                            .container = "Forms",
                            .subject = "フォーム情報",
                            .nameField = "FormName",
                            .fields = kFormFields,
                            .firstEvent = 82,
                            .lastEvent = 112,
                            .notAnEvent = 108};

}  // namespace

RunResult RunFormCollection(RunContext& ctx) {
    auto& state = ctx.state;
    const std::int16_t listing = state.options.form;
    const bool selectedOnly = state.options.fselect == 2;
    CollectorRun run{.collector = app::Collector::Forms,
                     .option = listing,
                     .skip = selectedOnly && listing == state.lastRun[app::Collector::Forms] &&
                             state.pickers.formText == state.remembered.form,
                     .place = "場所:フォーム情報",
                     .report = "R_AcFrmCntl",
                     .preview = app::PreviewButton::FPre,
                     .attachAccess = true};
    return RunCollection(ctx, run, [&](RunContext& c) {
        auto items = OpenEmptied(c, "T_AcFrmItem");
        auto info = OpenEmptied(c, "T_AcFrmInfo");
        CollectDesigns(c, kForms,
                       {.listing = listing,
                        .selection = state.options.fselect,
                        .picked = state.pickers.formText,
                        .total = state.counts.forms},
                       {info, items});
        if (selectedOnly)
            state.remembered.form = state.pickers.formText;
        return Finish::Report;
    });
}

}  // namespace zanfor::collect
