#include "vba/module_listing.h"

#include "vba/code_line.h"
#include "vba/module_walk.h"

namespace zanfor::vba {

namespace {

constexpr KindLabels kListingLabels{"1", "2", "3"};

// The procedure number and name run on from one object to the next; a row's number changes
// only where the section's name does.
class ModuleListing {
public:
    explicit ModuleListing(collect::RunContext& ctx)
        : rows_(collect::OpenEmptied(ctx, "T_AcModule")) {}

    void read(const CodeObject& object) {
        const host::ModuleModel& model = object.model();
        long row = 0;
        for (const Section& section : SectionsOf(model)) {
            if (section.name() != procedureName_) {
                ++procedureNo_;
                procedureName_ = section.name();
            }
            for (long n = section.firstLine; n <= section.lastLine; ++n) {
                const std::string_view line = model.Line(n);
                if (IsSkippedLine(line))
                    continue;
                rows_.addNew();
                rows_.setText("Label", LabelOf(kListingLabels, object.kind))
                    .set("objectNo", object.objectNo)
                    .set("ProcedureNo", procedureNo_)
                    .setText("ObjectName", object.objectName)
                    .set("Line", ++row)
                    .setText("ProcedureName", procedureName_)
                    .setText("Procedure", line);
                rows_.update();
            }
        }
    }

    long procedureNo() const { return procedureNo_; }

private:
    workdb::RowWriter rows_;
    long procedureNo_ = 0;
    std::string procedureName_;
};

}  // namespace

std::string_view ModuleListingReport(const app::OptionSettings& options) {
    const bool syllabary = options.mod50 == 1;
    if (options.mprint == 1)
        return syllabary ? "R_AcModule50" : "R_AcModule";
    return syllabary ? "R_AcModule250" : "R_AcModule2";
}

collect::RunResult RunModuleListing(collect::RunContext& ctx) {
    const std::int16_t selection = ctx.state.options.module;
    const collect::CollectorRun run{
        .collector = app::Collector::ModuleListing,
        .option = selection,
        .skip = selection == ctx.state.lastRun[app::Collector::ModuleListing],
        .place = "場所:モジュール情報",
        .report = std::string(ModuleListingReport(ctx.state.options)),
        .preview = app::PreviewButton::MPre,
        .attachAccess = true};
    return collect::RunCollection(ctx, run, [selection](collect::RunContext& c) {
        ModuleListing listing(c);
        WalkModules(c, KindsOf(selection), [&](const CodeObject& o) { listing.read(o); });
        KeepProcedureNo(c.state, listing.procedureNo());
        c.access->setVisible(false);
        return collect::Finish::Report;
    });
}

}  // namespace zanfor::vba
