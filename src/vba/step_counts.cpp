#include "vba/step_counts.h"

#include "util/vb_string.h"
#include "vba/code_line.h"
#include "vba/module_walk.h"

namespace zanfor::vba {

namespace {

class StepCounts {
public:
    explicit StepCounts(collect::RunContext& ctx)
        : rows_(collect::OpenEmptied(ctx, "T_AcProcCount")) {}

    // Every section gets its row, Property Get, Let and Set of one name each their own.
    void read(const CodeObject& object) {
        const host::ModuleModel& model = object.model();
        for (const Section& section : SectionsOf(model)) {
            long comments = 0;
            long blanks = 0;
            for (long n = section.firstLine; n <= section.lastLine; ++n) {
                switch (ClassifyLine(model.Line(n))) {
                    case LineClass::Comment:
                        ++comments;
                        break;
                    case LineClass::Blank:
                        ++blanks;
                        break;
                    case LineClass::Code:
                        break;
                }
            }
            const long total = section.lineCount();
            rows_.addNew();
            rows_.set("Object", std::string(LabelOf(kKindNames, object.kind)))
                .set("ObjectName", object.objectName)
                .set("ProcedureName", section.procedure ? section.name() : "(Declations)")
                .set("objectNo", object.objectNo)
                .set("ProcedureNo", ++procedureNo_)
                .set("ComentCnt", comments)
                .set("SpaceCnt", blanks)
                .set("ProcCnt", total - blanks - comments)
                .set("TotalCnt", total);
            rows_.update();
        }
    }

    long procedureNo() const { return procedureNo_; }

private:
    workdb::RowWriter rows_;
    long procedureNo_ = 0;
};

}  // namespace

collect::RunResult RunStepCounts(collect::RunContext& ctx) {
    const std::int16_t selection = ctx.state.options.modstep;
    const collect::CollectorRun run{
        .collector = app::Collector::StepCounts,
        .option = selection,
        .skip = selection == ctx.state.lastRun[app::Collector::StepCounts],
        .place = "場所:モジュールステップ",
        .report = "R_AcModStep",
        .preview = app::PreviewButton::MsPre,
        .attachAccess = true};
    return collect::RunCollection(ctx, run, [selection](collect::RunContext& c) {
        StepCounts counts(c);
        WalkModules(c, KindsOf(selection), [&](const CodeObject& o) { counts.read(o); });
        KeepProcedureNo(c.state, counts.procedureNo());
        return collect::Finish::Report;
    });
}

}  // namespace zanfor::vba
