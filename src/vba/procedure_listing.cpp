#include "vba/procedure_listing.h"

#include "host/text_lines.h"
#include "util/vb_string.h"
#include "vba/code_line.h"
#include "vba/module_walk.h"

namespace zanfor::vba {

namespace {

using host::Value;

constexpr std::size_t kNameLength = 150;
constexpr std::int16_t kDetailed = 2;

Value nullable(const std::optional<std::string>& text) { return text ? Value(*text) : Value(); }

class ProcedureListing {
public:
    ProcedureListing(collect::RunContext& ctx, std::int16_t variant)
        : procedures_(collect::OpenEmptied(ctx, "T_AcProcName")),
          statements_(collect::OpenEmptied(ctx, "T_AcDimCall")),
          variant_(variant) {}

    void read(const CodeObject& object) {
        object_ = &object;
        const host::ModuleModel& model = object.model();
        kindLabel_ = LabelOf(kKindNames, object.kind);
        objectLabel_ = kindLabel_;
        if (object.kind == CodeKind::Module) {
            objectLabel_ += object.module.type() == host::access::ModuleType::Standard
                                ? "(Standard)"
                                : "(Class)";
        }
        pLine_ = 0;
        procedureNo_ = 0;
        procedureName_.clear();
        if (model.CountOfDeclarationLines() > 0) {
            pLine_ = 1;
            begin(objectLabel_, "(Declarations)");
            procedures_.set("PrivatePublic", true).set("Line", model.CountOfDeclarationLines());
            finish();
        }
        const host::Procedure* numbered = nullptr;
        for (const Section& section : SectionsOf(model)) {
            // Property Get, Let and Set of one name are sections of their own and get numbers
            // of their own; a mere mention of "Property" in a line changes nothing.
            if (section.procedure != numbered) {
                ++procedureNo_;
                numbered = section.procedure;
            }
            procedureName_ = util::LeftRTrim(section.name(), kNameLength);
            for (long n = section.firstLine; n <= section.lastLine; ++n) {
                ++pLine_;
                n = readLine(model, section, n);
            }
        }
    }

    long procedureNo() const { return procedureNo_; }

private:
    // Returns the last line the statement took.
    long readLine(const host::ModuleModel& model, const Section& section, long n) {
        const std::string_view line = model.Line(n);
        const std::string_view trimmed = host::TrimmedView(line);
        if (trimmed.empty() || host::StartsWithIgnoringCase(trimmed, "OPTION ") ||
            trimmed.starts_with('\'')) {
            return n;
        }
        if (const auto declare = ParseDeclare(trimmed)) {
            ++procedureNo_;
            begin(kindLabel_ + "(Api)", declare->name);
            procedures_.set("Type", declare->kind)
                .set("PrivatePublic", declare->isPrivate)
                .set("Line", 0);
            finish();
            return n;
        }
        if (section.procedure && n == section.procedure->bodyLine) {
            long last = n;
            const HeadingFields heading = ParseHeading(JoinHeading(model, n, last));
            begin(objectLabel_, procedureName_);
            if (heading.isPrivate)
                procedures_.set("PrivatePublic", *heading.isPrivate);
            if (!heading.kind.empty())
                procedures_.set("Type", heading.kind);
            procedures_.set("Parameters", nullable(heading.parameters))
                .set("As", nullable(heading.resultType))
                .set("Line", section.procedure->countLines);
            finish();
            pLine_ += last - n;
            return last;
        }
        if (variant_ == kDetailed) {
            if (const auto statement = ParseDimCall(line))
                writeStatement(*statement);
        }
        return n;
    }

    void begin(const std::string& label, const std::string& procedureName) {
        procedures_.addNew();
        procedures_.set("Object", label)
            .set("ObjectName", object_->objectName)
            .set("ProcedureName", procedureName);
    }

    void finish() {
        procedures_.set("objectNo", object_->objectNo)
            .set("ProcedureNo", procedureNo_)
            .set("pLine", pLine_)
            .set("Midasi", variant_);
        procedures_.update();
    }

    void writeStatement(const DimCallFields& statement) {
        statements_.addNew();
        statements_.set("objectNo", object_->objectNo)
            .set("ProcedureNo", procedureName_.empty() ? 0L : procedureNo_)
            .set("pLine", pLine_)
            .set("DimCall", statement.code)
            .set("Bunrui", std::string(statement.bunrui))
            .set("Type", std::string(statement.type))
            .set("As", nullable(statement.comment))
            .set("Parameters", statement.text);
        statements_.update();
    }

    workdb::RowWriter procedures_;
    workdb::RowWriter statements_;
    std::int16_t variant_;
    const CodeObject* object_ = nullptr;
    std::string kindLabel_;    // "Form", "Report", "Module"
    std::string objectLabel_;  // "Module(Standard)" and "Module(Class)" for modules
    long pLine_ = 0;
    long procedureNo_ = 0;
    std::string procedureName_;
};

}  // namespace

std::string_view ProcedureListingReport(const app::OptionSettings& options) {
    return options.proc50 == 1 ? "R_AcProcName50" : "R_AcProcName";
}

collect::RunResult RunProcedureListing(collect::RunContext& ctx) {
    const std::int16_t variant = ctx.state.options.proc;
    const collect::CollectorRun run{
        .collector = app::Collector::Procedures,
        .option = variant,
        .skip = variant == ctx.state.lastRun[app::Collector::Procedures],
        .place = "場所:プロシージャ一覧",
        .report = std::string(ProcedureListingReport(ctx.state.options)),
        .preview = app::PreviewButton::PPre,
        .attachAccess = true};
    return collect::RunCollection(ctx, run, [variant](collect::RunContext& c) {
        ProcedureListing listing(c, variant);
        WalkModules(c, kAllKinds, [&](const CodeObject& o) { listing.read(o); });
        KeepProcedureNo(c.state, listing.procedureNo());
        c.access->setVisible(false);
        return collect::Finish::Report;
    });
}

}  // namespace zanfor::vba
