#include <array>
#include <cmath>
#include <cstdio>

#include "collect/macro_collector.h"
#include "collect/report_collector.h"
#include "collect/vocabulary.h"
#include "site/site_model.h"
#include "util/vb_string.h"
#include "workdb/work_database.h"

namespace zanfor::site {

namespace {

using host::Value;

std::string Text(const Value& v) {
    if (v.kind() == Value::Kind::Bool)
        return v.toBool() ? "はい" : "いいえ";
    return v.toText();
}

std::string Mark(const Value& v) { return v.toBool() ? "○" : ""; }

std::string Kilobytes(const Value& v) {
    if (v.isNull())
        return {};
    char text[64];
    std::snprintf(text, sizeof text, "%.1f KB", v.toDouble());
    return text;
}

// Walks every row of one SELECT, handing the row to `row`.
template <typename F>
void EachRow(const workdb::WorkDatabase& db, std::string_view sql, F&& row) {
    workdb::Query q(db, sql);
    while (q.next())
        row(q);
}

std::string Col(const workdb::Query& q, int column) { return Text(q.value(column)); }

// The system's words for a record source, filter or order stored with its label in front
// ("ﾚｺｰﾄﾞｿｰｽ : T_商品"): label and value apart.
InfoItem Labelled(const std::string& stored) {
    const auto colon = stored.find(" : ");
    if (colon == std::string::npos)
        return {"", stored};
    return {stored.substr(0, colon), stored.substr(colon + 3)};
}

std::string MacroActionName(const Value& v) {
    if (v.isNull())
        return {};
    return collect::MacroActionName(v.toInteger());
}

std::optional<PageKind> KindOfClass(std::string_view cls) {
    static constexpr std::pair<std::string_view, PageKind> kClasses[] = {
        {"Table", PageKind::Table},   {"Query", PageKind::Query}, {"Form", PageKind::Form},
        {"Report", PageKind::Report}, {"Macro", PageKind::Macro}, {"Module", PageKind::Module},
    };
    for (const auto& [name, kind] : kClasses) {
        if (name == cls)
            return kind;
    }
    return std::nullopt;
}

// Label 1, 2 and 3 of the code tables: forms, reports, modules.
PageKind KindOfCodeLabel(std::string_view label) {
    return label == "1" ? PageKind::Form : label == "2" ? PageKind::Report : PageKind::Module;
}

PageKind KindOfProcedureObject(std::string_view object) {
    return object == "Form"     ? PageKind::Form
           : object == "Report" ? PageKind::Report
                                : PageKind::Module;
}

void LoadDatabase(SiteWriter::Data& d) {
    static constexpr std::pair<std::string_view, std::string_view> kFacts[] = {
        {"データベース", "DbName"},
        {"ファイルサイズ", "FileSize"},
        {"バージョン", "Version"},
        {"Accessバージョン", "AccessVersion"},
        {"クエリタイムアウト", "QueryTimeout"},
        {"更新可能", "Updatable"},
        {"アプリケーションタイトル", "Stitle"},
        {"メニューバー", "sMenuBar"},
        {"起動時のフォーム", "Sformdisp"},
        {"全メニューの使用", "Smenudisp"},
        {"データベースウィンドウ", "Sdbdisp"},
        {"ステータスバーの表示", "Sstatusbar"},
        {"ショートカットメニュー", "Sallowshortcutbar"},
        {"組み込みツールバー", "Stoolbar"},
    };
    EachRow(*d.work, "SELECT * FROM T_DataBase ORDER BY rowid LIMIT 1", [&](auto& q) {
        for (const auto& [label, field] : kFacts) {
            const auto v = q.value(field);
            d.database.push_back(
                {std::string(label), field == "FileSize" ? Kilobytes(v) : Text(v)});
        }
    });
    EachRow(*d.work, "SELECT FileName FROM T_AcTitle ORDER BY rowid LIMIT 1",
            [&](auto& q) { d.fileLine = Col(q, 0); });
    EachRow(*d.work,
            "SELECT FileNo, FileName, FileSize, UpdateDate, ReadOnly, FilePath FROM T_AcFile "
            "ORDER BY FileNo, rowid",
            [&](auto& q) {
                d.files.push_back({Col(q, 0), Col(q, 1), Kilobytes(q.value(2)), Col(q, 3),
                                   Mark(q.value(4)), Col(q, 5)});
            });
    EachRow(*d.work,
            "SELECT Class, ObjectName, QueryType, Description FROM T_AcObject "
            "ORDER BY objectNo, rowid",
            [&](auto& q) {
                const auto kind = KindOfClass(Col(q, 0));
                auto name = Col(q, 1);
                if (!kind || name.empty() || d.byKey.contains(Key(*kind, name)))
                    return;
                d.byKey.emplace(Key(*kind, name), d.objects.size());
                d.objects.push_back({*kind, std::move(name), Col(q, 2), Col(q, 3)});
            });
}

void LoadTables(SiteWriter::Data& d) {
    std::unordered_map<long, std::string> byNumber;
    EachRow(*d.work,
            "SELECT objectNo, TableName, RecordCount, Updatable, LinkTable, SourceTableName, "
            "Connect, Description, DateCreated, LastUpdated FROM T_AcTblInfo "
            "ORDER BY objectNo, rowid",
            [&](auto& q) {
                const auto key = Key(PageKind::Table, Col(q, 1));
                byNumber[static_cast<long>(q.value(0).toInteger())] = key;
                auto& info = d.tables[key].info;
                static constexpr std::string_view kLabels[] = {
                    "レコード数", "更新可能", "リンク",   "リンク元テーブル",
                    "リンク先",   "説明",     "作成日時", "更新日時"};
                for (int i = 0; i < 8; ++i) {
                    auto value = Col(q, i + 2);
                    if (!value.empty())
                        info.push_back({std::string(kLabels[i]), std::move(value)});
                }
            });
    EachRow(*d.work,
            "SELECT objectNo, FieldNo, FieldName, FieldType, FieldSize, PrimaryKey, ZeroLength, "
            "DefaultValue, ValRule, Description FROM T_AcTblItem ORDER BY objectNo, FieldNo, rowid",
            [&](auto& q) {
                const auto found = byNumber.find(static_cast<long>(q.value(0).toInteger()));
                if (found == byNumber.end())
                    return;
                d.tables[found->second].fields.push_back(
                    {Col(q, 1), Col(q, 2), Col(q, 3), Col(q, 4), Mark(q.value(5)), Mark(q.value(6)),
                     Col(q, 7), Col(q, 8), Col(q, 9)});
            });
    // The index list numbers its tables apart from the table list: each keeps its table name.
    std::string table;
    EachRow(*d.work,
            "SELECT TableName, IndexName, FieldName, \"Primary\", \"Unique\", \"Foreign\", "
            "IgnoreNulls, Required FROM T_AcIndex ORDER BY objectNo, FieldNo, rowid",
            [&](auto& q) {
                if (!Col(q, 0).empty())
                    table = Col(q, 0);
                if (table.empty())
                    return;
                d.tables[Key(PageKind::Table, table)].indexes.push_back(
                    {Col(q, 1), Col(q, 2), Mark(q.value(3)), Mark(q.value(4)), Mark(q.value(5)),
                     Mark(q.value(6)), Mark(q.value(7))});
            });
}

void LoadQueries(SiteWriter::Data& d) {
    std::unordered_map<long, std::string> byNumber;
    EachRow(*d.work,
            "SELECT objectNo, QueryName, QueryType, QuerySQL, Description, Connect, Updatable, "
            "DateCreated, LastUpdated FROM T_AcQeryInfo ORDER BY objectNo, rowid",
            [&](auto& q) {
                const auto key = Key(PageKind::Query, Col(q, 1));
                byNumber[static_cast<long>(q.value(0).toInteger())] = key;
                auto& query = d.queries[key];
                query.sql = Col(q, 3);
                static constexpr std::string_view kLabels[] = {
                    "種類", "", "説明", "接続文字列", "更新可能", "作成日時", "更新日時"};
                for (int i = 0; i < 7; ++i) {
                    auto value = Col(q, i + 2);
                    if (!kLabels[i].empty() && !value.empty())
                        query.info.push_back({std::string(kLabels[i]), std::move(value)});
                }
            });
    EachRow(*d.work,
            "SELECT objectNo, FieldNo, FieldName, FieldType, FieldSize, SourceTable, SourceField "
            "FROM T_AcQeryItem ORDER BY objectNo, FieldNo, rowid",
            [&](auto& q) {
                const auto found = byNumber.find(static_cast<long>(q.value(0).toInteger()));
                if (found != byNumber.end())
                    d.queries[found->second].columns.push_back(
                        {Col(q, 1), Col(q, 2), Col(q, 3), Col(q, 4), Col(q, 5), Col(q, 6)});
            });
}

void LoadDesigns(SiteWriter::Data& d, PageKind kind) {
    const bool form = kind == PageKind::Form;
    const std::string info = form ? "T_AcFrmInfo" : "T_AcRepInfo";
    const std::string items = form ? "T_AcFrmItem" : "T_AcRepItem";
    const std::string name = form ? "FormName" : "ReportName";
    std::unordered_map<long, std::string> byNumber;
    EachRow(*d.work,
            "SELECT objectNo, " + name +
                ", Caption, RecordSource, \"Filter\", OrderBy, sMenuBar, '', Ibent1, "
                "IbentVL1, Ibent2, IbentVL2, Ibent3, IbentVL3, Ibent4, IbentVL4 FROM " +
                info + " ORDER BY objectNo, rowid",
            [&](auto& q) {
                const auto key = Key(kind, Col(q, 1));
                byNumber[static_cast<long>(q.value(0).toInteger())] = key;
                auto& design = d.designs[key];
                if (!Col(q, 2).empty())
                    design.info.push_back({"標題", Col(q, 2)});
                for (int i = 3; i <= 5; ++i) {
                    auto item = Labelled(Col(q, i));
                    if (!item.value.empty())
                        design.info.push_back(std::move(item));
                }
                if (!Col(q, 6).empty())
                    design.info.push_back({"メニューバー", Col(q, 6)});
                for (int i = 8; i < 16; i += 2) {
                    if (!Col(q, i).empty())
                        design.events.emplace_back(Col(q, i), Col(q, i + 1));
                }
            });
    EachRow(*d.work,
            "SELECT objectNo, ControlNo, Name, ControlType, cntlVisible, TLWH, Bunrui, "
            "PropertyName, PropertyValue FROM " +
                items + " ORDER BY objectNo, ControlNo, PropertyNo, rowid",
            [&](auto& q) {
                const auto found = byNumber.find(static_cast<long>(q.value(0).toInteger()));
                if (found == byNumber.end())
                    return;
                auto& controls = d.designs[found->second].controls;
                const long number = static_cast<long>(q.value(1).toInteger());
                if (controls.empty() || controls.back().number != number) {
                    const auto visible = Col(q, 4);
                    controls.push_back({number,
                                        Col(q, 2),
                                        Col(q, 3),
                                        visible == "True"    ? "はい"
                                        : visible == "False" ? "いいえ"
                                                             : visible,
                                        Col(q, 5),
                                        {}});
                }
                if (!Col(q, 7).empty())
                    controls.back().properties.push_back({Col(q, 6), Col(q, 7), Col(q, 8)});
            });
    if (form)
        return;
    EachRow(*d.work, collect::kGroupLevelsSql, [&](auto& q) {
        const auto found = byNumber.find(static_cast<long>(q.value("objectNo").toInteger()));
        if (found == byNumber.end())
            return;
        Cells row;
        for (const auto* column : {"GroupNo", "ControlSource", "SortName", "GroupHeader",
                                   "GroupFooter", "GroupOnName", "GroupInterval", "KeepName"})
            row.push_back(Text(q.value(column)));
        d.designs[found->second].groupLevels.push_back(std::move(row));
    });
}

void LoadMacros(SiteWriter::Data& d) {
    std::map<std::pair<long, long>, std::string> arguments;
    EachRow(*d.work,
            "SELECT ProcedureNo, LineNo, HikiNo, Hikisu FROM T_AcMacro2 "
            "ORDER BY ProcedureNo, LineNo, HikiNo, rowid",
            [&](auto& q) {
                auto& text = arguments[{static_cast<long>(q.value(0).toInteger()),
                                        static_cast<long>(q.value(1).toInteger())}];
                text += (text.empty() ? "" : "\n") + Col(q, 2) + ". " + Col(q, 3);
            });
    long lastPart = -1;
    EachRow(*d.work,
            "SELECT ObjectName, ProcedureNo, ProcName, LineNo, ActionNo, AcWhere, Tekiyou, "
            "Procedure FROM T_AcMacro ORDER BY objectNo, ProcedureNo, LineNo, rowid",
            [&](auto& q) {
                auto& parts = d.macros[Key(PageKind::Macro, Col(q, 0))];
                const long part = static_cast<long>(q.value(1).toInteger());
                if (parts.empty() || part != lastPart)
                    parts.push_back({Col(q, 2), {}});
                lastPart = part;
                const auto args = arguments.find({part, static_cast<long>(q.value(3).toInteger())});
                parts.back().steps.push_back(
                    {Col(q, 3), MacroActionName(q.value(4)), Col(q, 5), Col(q, 6),
                     args == arguments.end() ? "" : args->second, Col(q, 7)});
            });
}

void LoadCode(SiteWriter::Data& d) {
    std::string module;
    std::vector<CodeLine>* lines = nullptr;
    EachRow(*d.work,
            "SELECT Label, ObjectName, Line, ProcedureName, Procedure FROM T_AcModule "
            "ORDER BY objectNo, Line, rowid",
            [&](auto& q) {
                // A module's lines come together: its list is looked up once.
                const auto object = q.value(1).toText();
                if (!lines || object != module) {
                    module = object;
                    lines = &d.code[Key(KindOfCodeLabel(Col(q, 0)), module)];
                }
                lines->push_back({static_cast<long>(q.value(2).toInteger()), Col(q, 3), Col(q, 4)});
            });
    EachRow(
        *d.work,
        "SELECT \"Object\", ObjectName, ProcedureName, \"Type\", "
        "CASE WHEN PrivatePublic THEN 'Private' ELSE 'Public' END, Parameters, \"As\", Line "
        "FROM T_AcProcName ORDER BY objectNo, pLine, rowid",
        [&](auto& q) {
            const auto object = Col(q, 0);
            const bool api = object.ends_with("(Api)");
            d.procedures[Key(KindOfProcedureObject(object.substr(0, object.find('('))), Col(q, 1))]
                .push_back({Col(q, 2), (api ? "Declare " : "") + Col(q, 3), Col(q, 4), Col(q, 5),
                            Col(q, 6), Col(q, 7)});
        });
}

}  // namespace

std::string Key(PageKind kind, std::string_view name) {
    std::string key(1, static_cast<char>('0' + static_cast<int>(kind)));
    key += util::UCase(name);
    return key;
}

void LoadWorkDatabase(SiteWriter::Data& d) {
    LoadDatabase(d);
    LoadTables(d);
    LoadQueries(d);
    LoadDesigns(d, PageKind::Form);
    LoadDesigns(d, PageKind::Report);
    LoadMacros(d);
    LoadCode(d);
}

}  // namespace zanfor::site
