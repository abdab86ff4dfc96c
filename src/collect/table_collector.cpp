#include "collect/table_collector.h"

#include <algorithm>
#include <set>

#include "collect/object_inventory.h"
#include "collect/vocabulary.h"
#include "core/program_files.h"
#include "host/dao.h"
#include "util/vb_string.h"

namespace zanfor::collect {

namespace {

using host::dao::TableDef;
using util::LeftRTrim;

constexpr const char* kPlace = "場所:テーブル情報";
const std::vector<std::string> kLinkLines{"リンクテーブルのパスが不正です。",
                                          "リンクテーブルのリンクを", "再設定後実行下さい。"};

// A link whose source cannot be read leaves the table without fields; the walk stops there
// with the link message and the rows so far are reported. The message names the reason the
// reader found, where the original could only show an empty description.
struct BrokenLink {
    std::string problem;
};

// A table of the file itself whose definition did not read; a link's problem is its source's.
bool damaged(const TableDef& t) { return !t.problem.empty() && t.connect.empty(); }

host::Error damage(const TableDef& t) {
    return {t.problemNumber != 0 ? t.problemNumber : host::err::kDatabaseDamaged, t.problem};
}

struct Walk {
    RunContext& ctx;
    bool selectedOnly;
    bool includeLinks;
    long done = 0;
    std::int64_t tableNo = 0;

    bool takes(const TableDef& t) const {
        if (IsAccessOwnTable(t) || (selectedOnly && t.name != ctx.state.pickers.tableText))
            return false;
        return includeLinks || t.connect.empty();
    }

    template <class Write>
    void run(Write write) {
        const auto& tables = ctx.target.tableDefs();
        // The gauge counts what this walk takes, not what the pickers counted at opening.
        const long total = static_cast<long>(
            std::ranges::count_if(tables, [this](const TableDef& t) { return takes(t); }));
        for (const auto& t : tables) {
            if (!takes(t))
                continue;
            if (includeLinks && !t.connect.empty() && t.fields.empty())
                throw BrokenLink{t.problem};
            if (damaged(t))
                NoteUnreadable(ctx, t.name, damage(t));
            ++tableNo;
            write(t);
            ++done;
            ShowProgress(ctx, done, total);
            ctx.ui.showMessage("テーブル情報　取得中　(" + t.name + ")");
        }
    }
};

void writeTable(workdb::RowWriter& info, workdb::RowWriter& items, const TableDef& t,
                std::int64_t tableNo, std::int16_t selection) {
    info.addNew();
    info.set("objectNo", tableNo)
        .set("TableName", LeftRTrim(t.name, 150))
        .set("DateCreated", workdb::DateOrNull(t.dateCreated))
        .set("LastUpdated", workdb::DateOrNull(t.lastUpdated))
        .set("Attributes", t.attributes);
    if (!t.connect.empty()) {
        info.set("LinkTable", LinkClass(t.connect)).set("Connect", LinkTarget(t.connect));
    }
    info.set("RecordCount", t.recordCount)
        .set("SourceTableName", LeftRTrim(t.sourceTableName, 150))
        .set("Updatable", t.updatable)
        .set("Midasi", selection)
        .set("Description", damaged(t) ? UnreadableNote(damage(t)) : DescriptionOf(t.properties));
    info.update();

    // Every field of the primary index is marked, in whatever order the key lists them.
    std::set<std::string> keyFields;
    if (selection == 3) {
        for (const auto& ix : t.indexes) {
            if (!ix.primary)
                continue;
            for (const auto& f : ix.fields)
                keyFields.insert(f.name);
        }
    }
    std::int64_t fieldNo = 0;
    for (const auto& f : t.fields) {
        items.addNew();
        items.set("objectNo", tableNo)
            .set("FieldNo", ++fieldNo)
            .set("FieldName", LeftRTrim(f.name, 150));
        if (keyFields.count(f.name))
            items.set("PrimaryKey", true);
        items.set("FieldType", FieldTypeText(f))
            .set("FieldSize", f.size)
            .set("ZeroLength", f.allowZeroLength)
            .set("DefaultValue", LeftRTrim(f.defaultValue, 50))
            .set("ValRule", LeftRTrim(f.validationRule, 150));
        if (selection == 3)
            items.set("Description", DescriptionOf(f.properties));
        items.update();
    }
}

bool writeIndexes(workdb::RowWriter& rows, const TableDef& t, std::int64_t tableNo) {
    std::int64_t rowNo = 0;
    bool wrote = false;
    for (const auto& ix : t.indexes) {
        rows.addNew();
        rows.set("objectNo", tableNo)
            .set("FieldNo", ++rowNo)
            .set("TableName", LeftRTrim(t.name, 127))
            .set("IndexName", LeftRTrim(ix.name, 127))
            .set("FieldName", ix.fields.empty() ? std::string() : LeftRTrim(ix.fields[0].name, 127))
            .set("Primary", ix.primary)
            .set("Clustered", ix.clustered)
            .set("Foreign", ix.foreign)
            .set("Unique", ix.unique)
            .set("IgnoreNulls", ix.ignoreNulls)
            .set("Required", ix.required);
        rows.update();
        wrote = true;
        for (std::size_t i = 1; i < ix.fields.size(); ++i) {
            rows.addNew();
            rows.set("objectNo", tableNo)
                .set("FieldNo", ++rowNo)
                .set("FieldName", LeftRTrim(ix.fields[i].name, 127));
            rows.update();
        }
    }
    return wrote;
}

}  // namespace

bool IsAccessOwnTable(const TableDef& table) {
    return table.name.starts_with("MSys") || (table.attributes & kSystemObjectAttributes) != 0 ||
           (table.attributes & kHiddenObjectAttributes) != 0;
}

std::string FieldTypeText(const host::dao::Field& field) {
    // A calculated field (Access 2010 and later) has the type of its result and the expression
    // it is calculated by.
    if (const auto* expression = field.properties.find("Expression");
        expression != nullptr && !expression->value.toText().empty()) {
        return "集計型";
    }
    return FieldTypeText(field.type, field.attributes);
}

std::string FieldTypeText(int type, std::int32_t attributes) {
    const std::string name = FieldTypeName(std::to_string(type));
    if (name == "長整数型" && attributes == 17)
        return "ｵｰﾄﾅﾝﾊﾞｰ型";
    if (name == "ﾒﾓ型" && attributes == 32770)
        return "ﾊｲﾊﾟｰﾘﾝｸ型";
    return name;
}

RunResult RunTableCollection(RunContext& ctx) {
    auto& state = ctx.state;
    const std::int16_t selection = state.options.table;
    const bool selectedOnly = state.options.tselect == 2;
    CollectorRun run{
        .collector = app::Collector::Tables,
        .option = selection,
        .skip = selectedOnly && selection == state.lastRun[app::Collector::Tables] &&
                state.pickers.tableText == state.remembered.table,
        .place = kPlace,
        .report = selection == 1 ? "R_AcTblIndex" : "R_AcTblTable",
        .preview = app::PreviewButton::TPre,
        .specialLines = [](const host::Error& e) -> std::optional<std::vector<std::string>> {
            if (e.number() == host::err::kLinkedFileMissing)
                return kLinkLines;
            return std::nullopt;
        }};
    return RunCollection(ctx, run, [&](RunContext& c) {
        c.ui.showMessage("テーブル情報　取得中");
        // In selected-table mode the chosen table is examined even when it is a link.
        const bool includeLinks = selectedOnly || state.options.link == 1;
        Walk walk{c, selectedOnly, includeLinks};
        try {
            if (selection == 1) {
                auto rows = OpenEmptied(c, "T_AcIndex");
                bool any = false;
                walk.run([&](const TableDef& t) { any |= writeIndexes(rows, t, walk.tableNo); });
                if (!any) {
                    c.ui.messageBox("該当するレコードがありません。", app::kProductTitle,
                                    app::MsgButtons::Ok, app::MsgIcon::Information);
                    return Finish::NoReport;
                }
            } else {
                auto items = OpenEmptied(c, "T_AcTblItem");
                auto info = OpenEmptied(c, "T_AcTblInfo");
                walk.run([&](const TableDef& t) {
                    writeTable(info, items, t, walk.tableNo, selection);
                });
                state.remembered.table = state.pickers.tableText;
            }
        } catch (const BrokenLink& broken) {
            // A batch ends at a broken link, reported under its step.
            if (c.state.batch.running)
                throw host::Error(host::err::kLinkedFileMissing, broken.problem);
            auto lines = kLinkLines;
            lines.push_back("内容:" + broken.problem);
            const auto report =
                app::BuildSpecialErrorReport(kPlace, host::err::kLinkedFileMissing, lines);
            c.ui.messageBox(report.text(), report.title, app::MsgButtons::Ok,
                            app::MsgIcon::Critical);
        }
        return Finish::Report;
    });
}

}  // namespace zanfor::collect
