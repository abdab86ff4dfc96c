#include "collect/query_collector.h"

#include "collect/object_inventory.h"
#include "collect/vocabulary.h"
#include "util/vb_string.h"

namespace zanfor::collect {

namespace {

using host::dao::QueryDef;
using util::LeftRTrim;

constexpr std::int32_t kSizeLimit = 9999;

// Reading a query's SQL or Connect can fail; a query Jet could not parse for its ambiguous
// outer joins is still listed, with a note in place of the text.
std::string readOrNote(const QueryDef& q, const std::string& (QueryDef::*read)() const,
                       std::size_t cut) {
    try {
        const std::string& text = (q.*read)();
        return cut ? LeftRTrim(text, cut) : text;
    } catch (const host::Error& e) {
        if (e.number() != host::err::kAmbiguousOuterJoins)
            throw;
        return std::string(kAmbiguousOuterJoins);
    }
}

bool listed(const QueryDef& q) {
    return QueryTypeName(std::to_string(q.type)) != "System" && util::Left(q.name, 4) != "~sq_";
}

void sqlList(RunContext& ctx) {
    auto info = OpenEmptied(ctx, "T_AcQeryInfo");
    std::int64_t queryNo = 0;
    for (const auto& q : ctx.target.queryDefs()) {
        if (!listed(q))
            continue;
        info.addNew();
        info.set("objectNo", ++queryNo)
            .set("QueryName", LeftRTrim(q.name, 127))
            .set("QueryType", QueryTypeName(std::to_string(q.type)))
            .set("QuerySQL", readOrNote(q, &QueryDef::sql, 0))
            .set("Midasi", 1);
        info.update();
        ShowProgress(ctx, queryNo, ctx.state.counts.queries);
    }
}

void queryList(RunContext& ctx, std::int16_t selection, bool selectedOnly) {
    auto items = OpenEmptied(ctx, "T_AcQeryItem");
    auto info = OpenEmptied(ctx, "T_AcQeryInfo");
    std::int64_t queryNo = 0;
    for (const auto& q : ctx.target.queryDefs()) {
        if (!listed(q))
            continue;
        if (selectedOnly && q.name != ctx.state.pickers.queryText)
            continue;
        info.addNew();
        info.set("objectNo", ++queryNo)
            .set("QueryName", LeftRTrim(q.name, 127))
            .set("QueryType", QueryTypeName(std::to_string(q.type)))
            .set("DateCreated", workdb::DateOrNull(q.dateCreated))
            .set("LastUpdated", workdb::DateOrNull(q.lastUpdated))
            .set("ODBCTimeout", q.odbcTimeout)
            .set("MaxRecords", q.maxRecords)
            .set("Updatable", q.updatable)
            .set("Connect", readOrNote(q, &QueryDef::connect, 127))
            .set("RecordsAffected", q.recordsAffected)
            .set("Midasi", selection);
        if (selection == 3) {
            info.set("QuerySQL", readOrNote(q, &QueryDef::sql, 0))
                .set("Description", DescriptionOf(q.properties));
        }
        info.update();

        std::int64_t fieldNo = 0;
        for (const auto& f : q.fields) {
            const bool sized = f.size < kSizeLimit;
            items.addNew();
            items.set("objectNo", queryNo)
                .set("FieldNo", ++fieldNo)
                .set("FieldName", LeftRTrim(f.name, 127))
                .set("FieldType", FieldTypeName(std::to_string(f.type)))
                .set("FieldSize", sized ? std::to_string(f.size) : std::string("?"))
                .set("SourceField", sized ? LeftRTrim(f.sourceField, 127) : std::string("参照不可"))
                .set("ZeroLength", f.allowZeroLength)
                .set("DefaultValue", LeftRTrim(f.defaultValue, 50))
                .set("SourceTable", LeftRTrim(f.sourceTable, 127));
            items.update();
        }
        ShowProgress(ctx, queryNo, ctx.state.counts.queries);
        ctx.ui.showMessage("クエリー情報　取得中　(" + q.name + ")");
    }
    ctx.state.remembered.query = ctx.state.pickers.queryText;
}

}  // namespace

RunResult RunQueryCollection(RunContext& ctx) {
    auto& state = ctx.state;
    const std::int16_t selection = state.options.query;
    const bool selectedOnly = state.options.qselect == 2;
    CollectorRun run{.collector = app::Collector::Queries,
                     .option = selection,
                     .skip = selectedOnly && selection == state.lastRun[app::Collector::Queries] &&
                             state.pickers.queryText == state.remembered.query,
                     .place = "場所:クエリー情報",
                     .report = selection == 1 ? "R_AcQerySql" : "R_AcQeryAll",
                     .preview = app::PreviewButton::QPre};
    return RunCollection(ctx, run, [&](RunContext& c) {
        c.ui.showMessage("クエリー情報　取得中");
        if (selection == 1) {
            sqlList(c);
        } else {
            queryList(c, selection, selectedOnly);
        }
        return Finish::Report;
    });
}

}  // namespace zanfor::collect
