#include "vba/comment_listing.h"

#include "util/vb_string.h"
#include "vba/code_line.h"
#include "vba/module_walk.h"

namespace zanfor::vba {

namespace {

constexpr std::size_t kTextLength = 150;

class CommentListing {
public:
    explicit CommentListing(collect::RunContext& ctx)
        : rows_(collect::OpenEmptied(ctx, "T_AcComment")) {}

    // Every procedure is taken up, Property Get, Let and Set of one name each on its own.
    void read(const CodeObject& object) {
        const host::ModuleModel& model = object.model();
        const std::string label(LabelOf(kKindNames, object.kind));
        for (const host::Procedure& procedure : model.procedures()) {
            ++procedureNo_;
            const std::string name = util::LeftRTrim(procedure.name, kTextLength);
            const long last = procedure.startLine + procedure.countLines - 1;
            for (long n = procedure.bodyLine; n <= last; ++n) {
                const std::string_view line = model.Line(n);
                if (ClassifyLine(line) != LineClass::Comment)
                    continue;
                rows_.addNew();
                rows_.set("Object", label)
                    .set("ObjectName", object.objectName)
                    .set("ProcedureName", name)
                    .set("Comment", util::LeftRTrim(line, kTextLength))
                    .set("objectNo", object.objectNo)
                    .set("ProcedureNo", procedureNo_);
                rows_.update();
            }
        }
    }

    long procedureNo() const { return procedureNo_; }

private:
    workdb::RowWriter rows_;
    long procedureNo_ = 0;
};

}  // namespace

collect::RunResult RunCommentListing(collect::RunContext& ctx) {
    // The frame stores a last-run option; this listing has none, so the step counts' value is
    // handed over and stored back unchanged.
    const collect::CollectorRun run{.collector = app::Collector::StepCounts,
                                    .option = ctx.state.lastRun[app::Collector::StepCounts],
                                    .skip = false,
                                    .place = "場所:コメント一覧",
                                    .report = "R_AcComment",
                                    .preview = app::PreviewButton::CmPre,
                                    .attachAccess = true};
    return collect::RunCollection(ctx, run, [](collect::RunContext& c) {
        CommentListing listing(c);
        WalkModules(c, kAllKinds, [&](const CodeObject& o) { listing.read(o); });
        KeepProcedureNo(c.state, listing.procedureNo());
        return collect::Finish::Report;
    });
}

}  // namespace zanfor::vba
