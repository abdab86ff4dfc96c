#include "collect/report_collector.h"

#include "collect/design_collection.h"
#include "util/vb_string.h"

namespace zanfor::collect {

namespace {

using S = InfoShape;

constexpr InfoField kReportFields[] = {
    {"RecordSource", "RecordSource", S::Labelled, "ﾚｺｰﾄﾞｿｰｽ : "},
    {"Filter", "Filter", S::Labelled, "フィルタ : "},
    {"OrderBy", "OrderBy", S::Labelled, "並べ替え : "},
    {"Caption", "Caption", S::Text100},
    {"RecordLocks", "RecordLocks", S::Number},
    {"sMenuBar", "MenuBar", S::Text},
};

constexpr DesignKind kReports{.type = host::access::ObjectType::Report,
                              .container = "Reports",
                              .subject = "レポート情報",
                              .nameField = "ReportName",
                              .fields = kReportFields,
                              .firstEvent = 41,
                              .lastEvent = 47};

constexpr int kMostLevels = 10;
constexpr std::size_t kSourceLength = 150;

// One row per sorting and grouping level. Access raises an error for the first level a report
// does not have; the row begun for it is never written.
void writeGroupLevels(workdb::RowWriter& rows, const host::access::DesignObject& report,
                      std::int64_t objectNo) {
    for (int k = 0; k < kMostLevels; ++k) {
        rows.addNew();
        rows.set("objectNo", objectNo).set("GroupNo", k + 1);
        const host::access::GroupLevel* level = nullptr;
        try {
            level = &report.groupLevel(k);
        } catch (const host::Error&) {
            return;
        }
        rows.set("ControlSource", util::LeftRTrim(level->controlSource.toText(), kSourceLength))
            .set("SortOrder", level->sortOrder)
            .set("GroupHeader", level->groupHeader)
            .set("GroupFooter", level->groupFooter)
            .set("GroupOn", level->groupOn)
            .set("GroupInterval", level->groupInterval)
            .set("KeepTogether", level->keepTogether);
        rows.update();
    }
}

}  // namespace

RunResult RunReportCollection(RunContext& ctx) {
    auto& state = ctx.state;
    const std::int16_t listing = state.options.report;
    const bool selectedOnly = state.options.rselect == 2;
    CollectorRun run{.collector = app::Collector::Reports,
                     .option = listing,
                     .skip = selectedOnly && listing == state.lastRun[app::Collector::Reports] &&
                             state.pickers.reportText == state.remembered.report,
                     .place = "場所:レポート情報",
                     .report = "R_AcRepCntl",
                     .preview = app::PreviewButton::RPre,
                     .attachAccess = true};
    return RunCollection(ctx, run, [&](RunContext& c) {
        auto items = OpenEmptied(c, "T_AcRepItem");
        auto info = OpenEmptied(c, "T_AcRepInfo");
        auto groups = OpenEmptied(c, "T_AcRepGrp");
        CollectDesigns(c, kReports,
                       {.listing = listing,
                        .selection = state.options.rselect,
                        .picked = state.pickers.reportText,
                        .total = state.counts.reports},
                       {info, items},
                       [&](const host::access::DesignObject& report, std::int64_t objectNo) {
                           writeGroupLevels(groups, report, objectNo);
                       });
        if (selectedOnly)
            state.remembered.report = state.pickers.reportText;
        return Finish::Report;
    });
}

}  // namespace zanfor::collect
