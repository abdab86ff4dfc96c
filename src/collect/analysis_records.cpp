#include "collect/analysis_records.h"

#include "collect/vocabulary.h"
#include "core/program_files.h"
#include "util/vb_string.h"

namespace zanfor::collect {

namespace {

using host::Value;

constexpr std::size_t kNameLength = 150;

// The T_AcSaveFlag columns of the last-run options, in the order of app::Collector.
constexpr std::array<std::string_view, app::kCollectorCount> kFlagFields{
    "fObj", "fTbl", "fQry", "fFrm", "fRep", "fPrc", "fSoc", "fPsp", "fMcr", "fCtl", "fFil"};
constexpr std::array<std::string_view, 5> kScopeFields{"mTs", "mQs", "mFs", "mRs", "mMs"};
constexpr std::array<std::int16_t app::OptionSettings::*, 5> kScopeSettings{
    &app::OptionSettings::tselect, &app::OptionSettings::qselect, &app::OptionSettings::fselect,
    &app::OptionSettings::rselect, &app::OptionSettings::mcselect};

struct HeaderField {
    std::string_view field;
    std::string app::ReportHeader::*text;
};
constexpr HeaderField kHeaderFields[] = {
    {"Title", &app::ReportHeader::title},     {"System", &app::ReportHeader::system},
    {"Company", &app::ReportHeader::company}, {"Bumon", &app::ReportHeader::bumon},
    {"Auther", &app::ReportHeader::auther},   {"CreateDate", &app::ReportHeader::date},
};

// A flag a damaged or hand-made file holds as text or out of range reads as "never ran".
std::int16_t SmallInteger(const Value& v) {
    if (v.isNull())
        return 0;
    try {
        const auto n = v.toInteger();
        return n < 0 || n > 99 ? 0 : static_cast<std::int16_t>(n);
    } catch (const host::Error&) {
        return 0;
    }
}

std::string TextOf(const Value& v) { return v.isNull() ? std::string() : v.toText(); }

}  // namespace

SavedFlags FlagsOf(const app::AppState& state) {
    SavedFlags flags;
    flags.objName = app::FileNamePart(state.targetPath);
    flags.lastRun = state.lastRun;
    for (std::size_t i = 0; i < kScopeSettings.size(); ++i)
        flags.scopes[i] = state.options.*kScopeSettings[i];
    flags.proc50 = state.options.proc50;
    flags.mod50 = state.options.mod50;
    flags.header = state.header;
    return flags;
}

void WriteSaveFlag(workdb::WorkDatabase& work, const SavedFlags& flags) {
    workdb::RowWriter row(work, "T_AcSaveFlag");
    work.execute("delete * from T_AcSaveFlag;");
    row.addNew();
    row.set("ObjName", flags.objName);
    for (std::size_t i = 0; i < kFlagFields.size(); ++i)
        row.set(kFlagFields[i], flags.lastRun.values[i]);
    for (std::size_t i = 0; i < kScopeFields.size(); ++i)
        row.set(kScopeFields[i], flags.scopes[i]);
    row.set("mPs", flags.proc50).set("mPss", flags.mod50);
    for (const auto& [field, text] : kHeaderFields)
        row.set(field, flags.header.*text);
    row.update();
}

std::optional<SavedFlags> ReadSaveFlag(const workdb::WorkDatabase& work) {
    workdb::Query q(work, "SELECT * FROM T_AcSaveFlag ORDER BY rowid LIMIT 1");
    if (!q.next())
        return std::nullopt;
    SavedFlags flags;
    flags.objName = TextOf(q.value("ObjName"));
    for (std::size_t i = 0; i < kFlagFields.size(); ++i)
        flags.lastRun.values[i] = SmallInteger(q.value(kFlagFields[i]));
    for (std::size_t i = 0; i < kScopeFields.size(); ++i)
        flags.scopes[i] = SmallInteger(q.value(kScopeFields[i]));
    flags.proc50 = SmallInteger(q.value("mPs"));
    flags.mod50 = SmallInteger(q.value("mPss"));
    for (const auto& [field, text] : kHeaderFields)
        flags.header.*text = TextOf(q.value(field));
    return flags;
}

void WriteObjectSnapshot(workdb::WorkDatabase& work, host::dao::Database& target) {
    workdb::RowWriter row(work, "T_AcSaveObject");
    work.execute("delete * from T_AcSaveObject;");
    long objectNo = 0;
    auto add = [&](std::string_view className, const std::string& name, const auto& object) {
        row.addNew();
        row.set("objectNo", ++objectNo)
            .set("Class", std::string(className))
            .set("ObjectName", util::LeftRTrim(name, kNameLength))
            .set("DateUpdate", workdb::DateOrNull(object.lastUpdated))
            .set("DateCreate", workdb::DateOrNull(object.dateCreated));
        row.update();
    };
    for (const auto& t : target.tableDefs()) {
        if (util::Left(t.name, 4) != "MSys")
            add("Table", t.name, t);
    }
    for (const auto& q : target.queryDefs()) {
        if (QueryTypeName(std::to_string(q.type)) != "System" && util::Left(q.name, 4) != "~sq_")
            add("Query", q.name, q);
    }
    constexpr std::pair<const char*, const char*> kContainers[] = {
        {"Forms", "Form"}, {"Reports", "Report"}, {"Scripts", "Macro"}, {"Modules", "Module"}};
    for (const auto& [container, className] : kContainers) {
        for (const auto& d : target.documents(container))
            add(className, d.name, d);
    }
}

RunResult RunObjectComparison(RunContext& ctx, const std::filesystem::path& olderFile) {
    CollectorRun run;
    run.place = std::string(kComparisonPlace);
    run.report = "R_AcObjectUpdate";
    run.window = app::WindowKind::DeveloperSupport;
    run.finished = [](RunContext&) {};
    return RunCollection(ctx, run, [&](RunContext& c) {
        c.ui.showMessage(kComparisonMessage);
        const auto older = workdb::WorkDatabase::openCopy(olderFile);
        c.work.execute("delete * from T_AcSaveObjectOld;");
        c.ui.setProgress(10);
        WriteObjectSnapshot(c.work, c.target);
        c.ui.setProgress(50);
        workdb::RowWriter old(c.work, "T_AcSaveObjectOld");
        workdb::Query rows(older,
                           "SELECT Class, ObjectName, DateUpdate FROM T_AcSaveObject "
                           "ORDER BY rowid");
        while (rows.next()) {
            old.addNew();
            old.set("Class", rows.value(0)).set("ObjectName", rows.value(1));
            old.set("DateUpdate", rows.value(2));
            old.update();
        }
        c.ui.setProgress(90);
        // The two names alone: the other fields keep their defaults, this row records no save.
        const auto olderFlags = ReadSaveFlag(older);
        auto names = OpenEmptied(c, "T_AcSaveFlag");
        names.addNew();
        names.set("ObjName", app::FileNamePart(c.state.targetPath))
            .set("ObjNameOld", olderFlags ? olderFlags->objName : std::string());
        names.update();
        return Finish::Report;
    });
}

}  // namespace zanfor::collect
