#include <algorithm>
#include <exception>
#include <fstream>
#include <thread>
#include <unordered_set>

#include "collect/vocabulary.h"
#include "graph/graph_output.h"
#include "host/error.h"
#include "site/code_highlight.h"
#include "site/graph_svg.h"
#include "site/site_model.h"
#include "util/html_escape.h"
#include "util/json_writer.h"
#include "util/vb_string.h"

namespace zanfor::site {

namespace fs = std::filesystem;

namespace {

using Data = SiteWriter::Data;
using util::AppendHtmlEscaped;

void Esc(std::string& out, std::string_view text) { AppendHtmlEscaped(out, text); }

// A link to `href`, or the text alone when there is nowhere to go (a missing object).
void Link(std::string& out, std::string_view href, std::string_view text) {
    if (href.empty()) {
        out += "<span class=\"missing\">";
        Esc(out, text);
        out += "</span>";
        return;
    }
    out += "<a href=\"";
    Esc(out, href);
    out += "\">";
    Esc(out, text);
    out += "</a>";
}

std::string LinkHtml(std::string_view href, std::string_view text) {
    std::string out;
    Link(out, href, text);
    return out;
}

void Head(std::string& out, std::initializer_list<std::string_view> captions) {
    out += "<table>\n<thead><tr>";
    for (const auto caption : captions) {
        out += "<th>";
        Esc(out, caption);
        out += "</th>";
    }
    out += "</tr></thead>\n<tbody>\n";
}

void Tail(std::string& out) { out += "</tbody>\n</table>\n"; }

void TextCells(std::string& out, const Cells& row) {
    for (const auto& cell : row) {
        out += "<td>";
        Esc(out, cell);
        out += "</td>";
    }
}

// Rows of text; every cell escaped, line breaks kept by the stylesheet.
void TextTable(std::string& out, std::initializer_list<std::string_view> captions,
               const std::vector<Cells>& rows) {
    Head(out, captions);
    for (const auto& row : rows) {
        out += "<tr>";
        TextCells(out, row);
        out += "</tr>\n";
    }
    Tail(out);
}

// Rows whose cells are markup already.
void HtmlTable(std::string& out, std::initializer_list<std::string_view> captions,
               const std::vector<Cells>& rows) {
    Head(out, captions);
    for (const auto& row : rows) {
        out += "<tr>";
        for (const auto& cell : row)
            out += "<td>" + cell + "</td>";
        out += "</tr>\n";
    }
    Tail(out);
}

void Heading(std::string& out, std::string_view text, std::string_view id = {}) {
    out += "<h2";
    if (!id.empty()) {
        out += " id=\"";
        Esc(out, id);
        out += "\"";
    }
    out += ">";
    Esc(out, text);
    out += "</h2>\n";
}

void Info(std::string& out, const std::vector<InfoItem>& items) {
    if (items.empty())
        return;
    out += "<dl class=\"info\">\n";
    for (const auto& item : items) {
        out += "<dt>";
        Esc(out, item.label);
        out += "</dt><dd>";
        Esc(out, item.value);
        out += "</dd>\n";
    }
    out += "</dl>\n";
}

bool Shows(const std::vector<InfoItem>& items, std::string_view value) {
    return std::any_of(items.begin(), items.end(),
                       [&](const InfoItem& item) { return item.value == value; });
}

void None(std::string& out, std::string_view text) {
    out += "<p class=\"none\">";
    Esc(out, text);
    out += "</p>\n";
}

// Everything a page is built from besides the work database.
struct Context {
    const Data& d;
    const SiteOptions& options;
    std::string fileLine;
    // Per page: its neighbourhood diagram, or why there is none.
    std::vector<std::string> diagrams;
    std::string relationships;
};

void Begin(std::string& out, const Context& c, std::string_view kind, std::string_view name) {
    out +=
        "<!DOCTYPE html>\n<html lang=\"ja\">\n<head>\n<meta charset=\"utf-8\">\n"
        "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n<title>";
    Esc(out, name);
    if (!kind.empty()) {
        out += " - ";
        Esc(out, kind);
    }
    if (!c.fileLine.empty()) {
        out += " - ";
        Esc(out, c.fileLine);
    }
    out +=
        "</title>\n<link rel=\"stylesheet\" href=\"site.css\">\n"
        "<script src=\"search-index.js\" defer></script>\n"
        "<script src=\"site.js\" defer></script>\n</head>\n<body>\n<header>\n"
        "<p class=\"fileline\">";
    Esc(out, c.fileLine);
    out +=
        "</p>\n<nav><a href=\"index.html\">目次</a>\n"
        "<input id=\"search\" type=\"search\" placeholder=\"名前で検索\" "
        "title=\"オブジェクト・フィールド・コントロール・プロシージャの名前\" autocomplete=\"off\" "
        "aria-label=\"検索\">\n"
        "<ul id=\"hits\"></ul></nav>\n<h1>";
    if (!kind.empty()) {
        out += "<span class=\"kind\">";
        Esc(out, kind);
        out += "</span> ";
    }
    Esc(out, name);
    out += "</h1>\n</header>\n<main>\n";
}

void End(std::string& out) { out += "</main>\n</body>\n</html>\n"; }

std::string ModuleOfPage(const ObjectPage& page) {
    switch (page.kind) {
        case PageKind::Form:
            return "Form_" + page.name;
        case PageKind::Report:
            return "Report_" + page.name;
        case PageKind::Module:
            return page.name;
        default:
            return {};
    }
}

// The object's node and the nodes of the procedures in its code.
std::vector<std::size_t> NodesOfPage(const Data& d, std::size_t page) {
    std::vector<std::size_t> nodes;
    if (d.pageNode[page] != std::string::npos)
        nodes.push_back(d.pageNode[page]);
    nodes.insert(nodes.end(), d.pageProcedures[page].begin(), d.pageProcedures[page].end());
    return nodes;
}

// Where an edge was found, a link to the line when it was found in code that has a page.
std::string WhereHtml(const Data& d, const graph::Edge& e, const std::string& pageFile,
                      const std::unordered_map<std::string, std::size_t>& pageOfFile) {
    const auto text = graph::LocationText(e.where);
    const auto& from = d.graph->nodes()[e.from];
    const auto& file = d.nodeFile[e.from];
    if (from.kind != graph::NodeKind::Procedure || e.where.line <= 0 || file.empty())
        return util::HtmlEscape(text);
    const auto page = pageOfFile.find(file);
    if (page == pageOfFile.end())
        return util::HtmlEscape(text);
    const auto& p = d.pages[page->second];
    const auto code = d.code.find(Key(p.kind, p.name));
    if (code == d.code.end() ||
        !std::binary_search(code->second.begin(), code->second.end(),
                            CodeLine{e.where.line, {}, {}},
                            [](const CodeLine& a, const CodeLine& b) { return a.line < b.line; }))
        return util::HtmlEscape(text);
    const auto href = (file == pageFile ? "" : file) + "#L" + std::to_string(e.where.line);
    return LinkHtml(href, text);
}

void Uses(std::string& out, const Context& c, std::size_t page,
          const std::unordered_map<std::string, std::size_t>& pageOfFile) {
    const auto& d = c.d;
    const auto& g = *d.graph;
    const auto& file = d.pages[page].file;
    const auto nodes = NodesOfPage(d, page);
    std::vector<Cells> uses;
    std::vector<Cells> usedBy;
    for (const auto n : nodes) {
        for (const auto e : g.outgoing(n)) {
            const auto& edge = g.edges()[e];
            if (!g.nodes()[edge.to].missing && d.nodeFile[edge.to] == file)
                continue;
            uses.push_back({util::HtmlEscape(graph::EdgeLabel(edge.kind)),
                            LinkHtml(d.nodeHref[edge.to], graph::NodeTitle(g.nodes()[edge.to])),
                            WhereHtml(d, edge, file, pageOfFile)});
        }
        for (const auto e : g.incoming(n)) {
            const auto& edge = g.edges()[e];
            if (d.nodeFile[edge.from] == file)
                continue;
            usedBy.push_back(
                {util::HtmlEscape(graph::EdgeLabel(edge.kind)),
                 LinkHtml(d.nodeHref[edge.from], graph::NodeTitle(g.nodes()[edge.from])),
                 WhereHtml(d, edge, file, pageOfFile)});
        }
    }
    Heading(out, "使用しているもの", "uses");
    if (uses.empty())
        None(out, "ありません。");
    else
        HtmlTable(out, {"種類", "対象", "場所"}, uses);
    Heading(out, "使用されているもの", "used-by");
    if (usedBy.empty())
        None(out, "ありません。");
    else
        HtmlTable(out, {"種類", "使用元", "場所"}, usedBy);
    Heading(out, "関連図", "diagram");
    out += "<div class=\"diagram\">" + c.diagrams[page] + "</div>\n";
}

void TablePage(std::string& out, const Context& c, std::size_t page) {
    const auto& d = c.d;
    const auto& p = d.pages[page];
    const auto found = d.tables.find(Key(p.kind, p.name));
    static const TableData kNone;
    const auto& t = found == d.tables.end() ? kNone : found->second;
    Info(out, t.info);
    Heading(out, "フィールド", "fields");
    if (t.fields.empty()) {
        None(out, "フィールドの情報はありません。");
    } else {
        Head(out, {"No", "フィールド名", "データ型", "サイズ", "主キー", "空文字列", "既定値",
                   "入力規則", "説明"});
        for (const auto& row : t.fields) {
            out += "<tr id=\"f-";
            Esc(out, row[0]);
            out += "\">";
            TextCells(out, row);
            out += "</tr>\n";
        }
        Tail(out);
    }
    Heading(out, "インデックス", "indexes");
    if (t.indexes.empty())
        None(out, "インデックスの情報はありません。");
    else
        TextTable(out,
                  {"インデックス名", "フィールド名", "主キー", "重複なし", "外部キー", "Null無視",
                   "値要求"},
                  t.indexes);
    std::vector<Cells> relations;
    for (const auto& r : d.relations) {
        const bool primary = util::EqualsIgnoreCase(r.table, p.name);
        const bool foreign = util::EqualsIgnoreCase(r.foreignTable, p.name);
        if (!primary && !foreign)
            continue;
        const auto& other = primary ? r.foreignTable : r.table;
        const auto otherPage = d.byKey.find(Key(PageKind::Table, other));
        std::string fields;
        for (const auto& [field, foreignField] : r.fields) {
            if (!fields.empty())
                fields += "<br>";
            fields += util::HtmlEscape(r.table + "." + field + " = " + r.foreignTable + "." +
                                       foreignField);
        }
        std::string kind = primary ? "一 (参照される側)" : "多 (参照する側)";
        if (!(r.attributes & host::dao::dbRelationDontEnforce))
            kind += "、参照整合性";
        if (r.attributes & host::dao::dbRelationUpdateCascade)
            kind += "、連鎖更新";
        if (r.attributes & host::dao::dbRelationDeleteCascade)
            kind += "、連鎖削除";
        relations.push_back(
            {util::HtmlEscape(r.name),
             LinkHtml(otherPage == d.byKey.end() ? "" : d.pages[otherPage->second].file, other),
             fields, util::HtmlEscape(kind)});
    }
    Heading(out, "リレーションシップ", "relations");
    if (relations.empty())
        None(out, "ありません。");
    else
        HtmlTable(out, {"名前", "関連テーブル", "フィールド", "種類"}, relations);
}

void QueryPage(std::string& out, const Context& c, std::size_t page) {
    const auto& d = c.d;
    const auto& p = d.pages[page];
    const auto found = d.queries.find(Key(p.kind, p.name));
    if (found == d.queries.end()) {
        None(out, "クエリーの情報はありません。");
        return;
    }
    Info(out, found->second.info);
    Heading(out, "SQL", "sql");
    out += "<pre class=\"sql\">" + HighlightSql(found->second.sql) + "</pre>\n";
    Heading(out, "列", "columns");
    if (found->second.columns.empty())
        None(out, "列の情報はありません。");
    else
        TextTable(
            out, {"No", "フィールド名", "データ型", "サイズ", "ソーステーブル", "ソースフィールド"},
            found->second.columns);
}

// What an event setting runs: from the graph's event edges of the object, by control and the
// property's label as the property sheet shows it. A macro also brings its group's parts, so that
// "Group.Name" goes to that macro's own heading.
struct EventTarget {
    std::string href;
    const std::vector<MacroPart>* parts = nullptr;
};
using EventTargets = std::unordered_map<std::string, EventTarget>;

std::string EventKey(std::string_view control, std::string_view label) {
    return util::UCase(control) + '\n' + std::string(label);
}

EventTargets EventsOf(const Data& d, std::size_t page) {
    EventTargets targets;
    const auto node = d.pageNode[page];
    if (node == std::string::npos)
        return targets;
    for (const auto e : d.graph->outgoing(node)) {
        const auto& edge = d.graph->edges()[e];
        if (edge.kind != "event" || d.nodeHref[edge.to].empty())
            continue;
        EventTarget target{d.nodeHref[edge.to]};
        const auto& to = d.graph->nodes()[edge.to];
        if (to.kind == graph::NodeKind::Macro) {
            const auto macro = d.macros.find(Key(PageKind::Macro, to.name));
            if (macro != d.macros.end())
                target.parts = &macro->second;
        }
        targets.try_emplace(
            EventKey(edge.where.control, collect::EventPropertyLabel(edge.where.property)),
            std::move(target));
    }
    return targets;
}

std::string EventSetting(const EventTargets& targets, std::string_view control,
                         std::string_view label, std::string_view setting) {
    const auto found = targets.find(EventKey(control, label));
    if (found == targets.end())
        return util::HtmlEscape(setting);
    auto href = found->second.href;
    const auto dot = setting.rfind('.');
    if (found->second.parts && dot != std::string_view::npos) {
        // The macro page gives its first part of each name the anchor "m-" + name.
        const auto wanted = util::UCase(util::Trim(setting.substr(dot + 1)));
        for (const auto& part : *found->second.parts) {
            if (!part.name.empty() && util::UCase(part.name) == wanted) {
                href += "#m-" + part.name;
                break;
            }
        }
    }
    return LinkHtml(href, setting);
}

int TabOrder(std::string_view group) {
    static constexpr std::string_view kTabs[] = {"書式", "ﾃﾞｰﾀ", "ｲﾍﾞﾝﾄ", "その他"};
    for (int i = 0; i < 4; ++i) {
        if (kTabs[i] == group)
            return i;
    }
    return 4;
}

void Controls(std::string& out, const DesignData& design, const EventTargets& events) {
    Heading(out, "コントロール", "controls");
    if (design.controls.empty()) {
        None(out, "コントロールの情報はありません。");
        return;
    }
    std::unordered_set<long> seen;
    for (const auto& control : design.controls) {
        out += "<section class=\"control\"";
        if (seen.insert(control.number).second)
            out += " id=\"c-" + std::to_string(control.number) + "\"";
        out += ">\n<h3>";
        Esc(out, control.name);
        out += " <span class=\"type\">";
        Esc(out, control.type);
        out += "</span></h3>\n<p class=\"place\">可視: ";
        Esc(out, control.visible);
        out += "　位置・サイズ (上・左・幅・高さ): ";
        Esc(out, control.place);
        out += "</p>\n";
        if (control.properties.empty()) {
            out += "</section>\n";
            continue;
        }
        auto properties = control.properties;
        std::stable_sort(properties.begin(), properties.end(),
                         [](const Property& a, const Property& b) {
                             return TabOrder(a.group) < TabOrder(b.group);
                         });
        out += "<table class=\"properties\">\n<tbody>\n";
        const std::string* group = nullptr;
        for (const auto& property : properties) {
            if (!group || *group != property.group) {
                group = &property.group;
                out += "<tr class=\"tab\"><th colspan=\"2\">";
                Esc(out, property.group);
                out += "</th></tr>\n";
            }
            out += "<tr><td>";
            Esc(out, property.name);
            out += "</td><td>";
            out += property.group == "ｲﾍﾞﾝﾄ"
                       ? EventSetting(events, control.name, property.name, property.value)
                       : util::HtmlEscape(property.value);
            out += "</td></tr>\n";
        }
        out += "</tbody>\n</table>\n</section>\n";
    }
}

void Code(std::string& out, const Context& c, std::size_t page);

void Sections(std::string& out, const Context& c, const ObjectPage& p, const DesignData& design) {
    const auto found = c.options.sections.find(p.file);
    if (found == c.options.sections.end())
        return;
    std::unordered_map<std::string, long> controls;
    for (const auto& control : design.controls)
        controls.try_emplace(util::UCase(control.name), control.number);
    std::vector<Cells> rows;
    for (const auto& section : found->second) {
        std::vector<std::string> names;
        for (const auto& name : section.controls) {
            const auto number = controls.find(util::UCase(name));
            names.push_back(number == controls.end()
                                ? util::HtmlEscape(name)
                                : LinkHtml("#c-" + std::to_string(number->second), name));
        }
        std::string joined;
        for (const auto& name : names)
            joined += (joined.empty() ? "" : "、") + name;
        rows.push_back({util::HtmlEscape(section.name), util::HtmlEscape(section.kind),
                        util::HtmlEscape(section.height), util::HtmlEscape(section.visible),
                        joined});
    }
    Heading(out, "セクション", "sections");
    if (rows.empty())
        None(out, "セクションの情報はありません。");
    else
        HtmlTable(out, {"セクション名", "種類", "高さ", "可視", "コントロール"}, rows);
}

void DesignPage(std::string& out, const Context& c, std::size_t page) {
    const auto& d = c.d;
    const auto& p = d.pages[page];
    Heading(out, "画像", "picture");
    const auto picture = c.options.pictures.find(p.file);
    if (picture == c.options.pictures.end()) {
        None(out, c.options.noPicture);
    } else {
        out += "<figure><img src=\"";
        Esc(out, picture->second);
        out += "\" alt=\"";
        Esc(out, p.name);
        out += " の画像\"></figure>\n";
    }
    const auto found = d.designs.find(Key(p.kind, p.name));
    static const DesignData kNone;
    const auto& design = found == d.designs.end() ? kNone : found->second;
    Heading(out, "プロパティ", "properties");
    if (design.info.empty())
        None(out, "デザインの情報はありません。");
    Info(out, design.info);
    const auto events = EventsOf(d, page);
    Heading(out, "イベント", "events");
    if (design.events.empty()) {
        None(out, "ありません。");
    } else {
        std::vector<Cells> rows;
        for (const auto& [label, setting] : design.events)
            rows.push_back({util::HtmlEscape(label), EventSetting(events, "", label, setting)});
        HtmlTable(out, {"イベント", "設定"}, rows);
    }
    if (p.kind == PageKind::Report) {
        Heading(out, "並べ替え / グループ化", "grouping");
        if (design.groupLevels.empty())
            None(out, "ありません。");
        else
            TextTable(out,
                      {"No", "フィールド / 式", "並べ替え", "ヘッダー", "フッター", "グループ化",
                       "間隔", "同じページ"},
                      design.groupLevels);
    }
    Sections(out, c, p, design);
    Controls(out, design, events);
    if (d.code.contains(Key(p.kind, p.name)))
        Code(out, c, page);
}

void MacroPage(std::string& out, const Context& c, std::size_t page) {
    const auto& p = c.d.pages[page];
    const auto found = c.d.macros.find(Key(p.kind, p.name));
    if (found == c.d.macros.end()) {
        None(out, "アクションの情報はありません。");
        return;
    }
    std::unordered_set<std::string> seen;
    for (const auto& part : found->second) {
        const auto title = part.name.empty() ? p.name : part.name;
        Heading(out, title,
                !part.name.empty() && seen.insert(util::UCase(part.name)).second ? "m-" + part.name
                                                                                 : std::string());
        Head(out, {"行", "アクション", "条件", "コメント", "引数", "ステートメント"});
        for (const auto& step : part.steps) {
            out += "<tr>";
            for (std::size_t i = 0; i + 1 < step.size(); ++i) {
                out += "<td>";
                Esc(out, step[i]);
                out += "</td>";
            }
            out += "<td><code>" + HighlightCode(step.back()) + "</code></td></tr>\n";
        }
        Tail(out);
    }
}

std::vector<std::string> CallLinks(const Data& d, std::size_t node, bool callers) {
    std::vector<std::string> links;
    const auto& g = *d.graph;
    for (const auto e : callers ? g.incoming(node) : g.outgoing(node)) {
        const auto& edge = g.edges()[e];
        if (edge.kind != "call")
            continue;
        const auto other = callers ? edge.from : edge.to;
        links.push_back(LinkHtml(d.nodeHref[other], g.nodes()[other].name));
    }
    std::sort(links.begin(), links.end());
    links.erase(std::unique(links.begin(), links.end()), links.end());
    return links;
}

std::string Joined(const std::vector<std::string>& parts) {
    std::string out;
    for (const auto& part : parts)
        out += (out.empty() ? "" : "<br>") + part;
    return out;
}

void Code(std::string& out, const Context& c, std::size_t page) {
    const auto& d = c.d;
    const auto& p = d.pages[page];
    const auto key = Key(p.kind, p.name);
    const auto module = ModuleOfPage(p);
    const auto procedures = d.procedures.find(key);
    Heading(out, "プロシージャ", "procedures");
    // The procedure list's rows, then any procedure of the graph the list did not have.
    std::vector<Cells> listed;
    if (procedures != d.procedures.end()) {
        for (const auto& row : procedures->second) {
            if (row[0] != "(Declarations)")
                listed.push_back(row);
        }
    }
    std::unordered_set<std::string> seen;
    for (const auto& row : listed)
        seen.insert(util::UCase(row[0]));
    for (const auto n : d.pageProcedures[page]) {
        const auto& name = d.graph->nodes()[n].procedure;
        if (seen.insert(util::UCase(name)).second)
            listed.push_back({name, "", "", "", "", ""});
    }
    std::vector<Cells> rows;
    for (const auto& row : listed) {
        const auto node = d.graph->find(graph::NodeKind::Procedure, module + "." + row[0]);
        const auto href = node ? d.nodeHref[*node] : std::string();
        rows.push_back({href.find('#') != std::string::npos ? LinkHtml(href, row[0])
                                                            : util::HtmlEscape(row[0]),
                        util::HtmlEscape(row[1]), util::HtmlEscape(row[2]),
                        "<code>" + util::HtmlEscape(row[3]) + "</code>", util::HtmlEscape(row[4]),
                        util::HtmlEscape(row[5]), node ? Joined(CallLinks(d, *node, true)) : "",
                        node ? Joined(CallLinks(d, *node, false)) : ""});
    }
    if (rows.empty())
        None(out, "ありません。");
    else
        HtmlTable(out,
                  {"プロシージャ名", "種類", "公開範囲", "引数", "戻り値の型", "行数", "呼び出し元",
                   "呼び出し先"},
                  rows);
    Heading(out, "コード", "code");
    const auto code = d.code.find(key);
    if (code == d.code.end()) {
        None(out, "コードはありません。");
        return;
    }
    out += "<pre class=\"code\">";
    std::unordered_set<std::string> anchored;
    long previous = 0;
    for (const auto& line : code->second) {
        if (!line.procedure.empty() && anchored.insert(util::UCase(line.procedure)).second) {
            out += "<a class=\"proc\" id=\"p-";
            Esc(out, line.procedure);
            out += "\"></a>";
        }
        const auto number = std::to_string(line.line);
        if (line.line > previous) {
            out += "<span class=\"line\" id=\"L" + number + "\"><a class=\"ln\" href=\"#L" +
                   number + "\">" + number + "</a>";
            previous = line.line;
        } else {
            out += "<span class=\"line\"><span class=\"ln\">" + number + "</span>";
        }
        out += HighlightCode(line.text) + "</span>\n";
    }
    out += "</pre>\n";
}

void ObjectPageHtml(std::string& out, const Context& c, std::size_t page,
                    const std::unordered_map<std::string, std::size_t>& pageOfFile) {
    const auto& d = c.d;
    const auto& p = d.pages[page];
    Begin(out, c, PageKindLabel(p.kind), p.name);
    const auto object = d.byKey.find(Key(p.kind, p.name));
    if (object != d.byKey.end()) {
        const auto& o = d.objects[object->second];
        std::vector<InfoItem> head;
        if (!o.type.empty())
            head.push_back({"種類", o.type});
        // The detailed lists repeat the inventory's description; it is shown once.
        const auto key = Key(p.kind, p.name);
        const auto table = d.tables.find(key);
        const auto query = d.queries.find(key);
        const bool shownBelow =
            (table != d.tables.end() && Shows(table->second.info, o.description)) ||
            (query != d.queries.end() && Shows(query->second.info, o.description));
        if (!o.description.empty() && !shownBelow)
            head.push_back({"説明", o.description});
        Info(out, head);
    }
    switch (p.kind) {
        case PageKind::Table:
            TablePage(out, c, page);
            break;
        case PageKind::Query:
            QueryPage(out, c, page);
            break;
        case PageKind::Form:
        case PageKind::Report:
            DesignPage(out, c, page);
            break;
        case PageKind::Macro:
            MacroPage(out, c, page);
            break;
        case PageKind::Module:
            Code(out, c, page);
            break;
    }
    Uses(out, c, page, pageOfFile);
    End(out);
}

void IndexPage(std::string& out, const Context& c) {
    const auto& d = c.d;
    std::string title = "説明サイト";
    for (const auto& item : d.database) {
        if (item.label == "データベース" && !item.value.empty())
            title = util::Mid(item.value, util::InStrRev(item.value, "/") + 1);
    }
    Begin(out, c, "", title);
    Heading(out, "データベース", "database");
    if (d.database.empty())
        None(out, "データベースの情報はありません。");
    Info(out, d.database);
    std::array<std::size_t, 6> counts{};
    for (const auto& page : d.pages)
        ++counts[static_cast<int>(page.kind)];
    Heading(out, "オブジェクト数", "counts");
    Head(out, {"種類", "数"});
    for (int k = 0; k < 6; ++k) {
        out += "<tr><td><a href=\"#k-" + std::to_string(k) + "\">";
        Esc(out, PageKindLabel(static_cast<PageKind>(k)));
        out += "</a></td><td class=\"number\">" + std::to_string(counts[k]) + "</td></tr>\n";
    }
    Tail(out);
    if (!d.files.empty()) {
        Heading(out, "ファイル一覧", "files");
        TextTable(out, {"No", "ファイル名", "サイズ", "更新日時", "読取専用", "フォルダ"}, d.files);
    }
    Heading(out, "リレーションシップ", "relationships");
    if (d.relations.empty())
        None(out, "ありません。");
    else
        out += "<div class=\"diagram\">" + c.relationships + "</div>\n";
    std::vector<std::size_t> order(d.pages.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        const auto& pa = d.pages[a];
        const auto& pb = d.pages[b];
        if (pa.kind != pb.kind)
            return pa.kind < pb.kind;
        return util::UCase(pa.name) < util::UCase(pb.name);
    });
    std::size_t i = 0;
    for (int k = 0; k < 6; ++k) {
        Heading(out, PageKindLabel(static_cast<PageKind>(k)), "k-" + std::to_string(k));
        std::vector<Cells> rows;
        for (; i < order.size() && static_cast<int>(d.pages[order[i]].kind) == k; ++i) {
            const auto& page = d.pages[order[i]];
            const auto& object = d.objects[order[i]];
            rows.push_back({LinkHtml(page.file, page.name), util::HtmlEscape(object.type),
                            util::HtmlEscape(object.description)});
        }
        if (rows.empty())
            None(out, "ありません。");
        else
            HtmlTable(out, {"名前", "種類", "説明"}, rows);
    }
    End(out);
}

void SearchIndex(std::string& out, const Data& d) {
    std::ostringstream text;
    text << "window.ZANFOR_SEARCH = ";
    util::JsonWriter json(text);
    json.beginArray();
    auto entry = [&](std::string_view kind, std::string_view name, std::string_view href,
                     std::string_view context) {
        json.beginArray().value(kind).value(name).value(href).value(context).endArray();
    };
    for (const auto& page : d.pages)
        entry(PageKindLabel(page.kind), page.name, page.file, "");
    for (const auto& page : d.pages) {
        const auto key = Key(page.kind, page.name);
        if (const auto t = d.tables.find(key); t != d.tables.end()) {
            for (const auto& f : t->second.fields)
                entry("フィールド", f[1], page.file + "#f-" + f[0], page.name);
        }
        if (const auto design = d.designs.find(key); design != d.designs.end()) {
            for (const auto& control : design->second.controls)
                entry("コントロール", control.name,
                      page.file + "#c-" + std::to_string(control.number), page.name);
        }
    }
    const auto& nodes = d.graph->nodes();
    for (std::size_t n = 0; n < nodes.size(); ++n) {
        if (nodes[n].kind == graph::NodeKind::Procedure &&
            d.nodeHref[n].find('#') != std::string::npos)
            entry("プロシージャ", nodes[n].procedure, d.nodeHref[n], nodes[n].module);
    }
    json.endArray();
    text << ";\n";
    out = text.str();
}

void WriteFile(const fs::path& file, std::string_view text) {
    std::ofstream stream(file, std::ios::binary | std::ios::trunc);
    stream.write(text.data(), static_cast<std::streamsize>(text.size()));
    stream.close();
    if (!stream)
        throw host::Error(host::err::kPathNotFound,
                          "ファイル '" + file.string() + "' に書き込めません。");
}

}  // namespace

SiteDiagrams SiteWriter::layOutDiagrams(bool draw) const {
    const auto& d = *data_;
    SiteDiagrams out;
    out.neighbourhoods.assign(d.pages.size(), "");
    if (draw) {
        std::vector<std::string> dots;
        dots.push_back(RelationshipsDot(d.relations, [&](const std::string& table) {
            const auto page = d.byKey.find(Key(PageKind::Table, table));
            return page == d.byKey.end() ? std::string() : d.pages[page->second].file;
        }));
        std::vector<std::size_t> drawn;
        const PageOf pageOf = [&](std::size_t node) { return d.nodeHref[node]; };
        for (std::size_t p = 0; p < d.pages.size(); ++p) {
            if (d.pageNode[p] == std::string::npos)
                continue;
            drawn.push_back(p);
            dots.push_back(NeighbourhoodDot(*d.graph, d.pageNode[p], 1, pageOf));
        }
        std::string why;
        if (auto svgs = LayOutSvg(dots, why)) {
            out.relationships = std::move((*svgs)[0]);
            for (std::size_t i = 0; i < drawn.size(); ++i)
                out.neighbourhoods[drawn[i]] = std::move((*svgs)[i + 1]);
        } else {
            const auto note =
                "<p class=\"none\">図を作成できません: " + util::HtmlEscape(why) + "</p>";
            out.relationships = note;
            for (const auto p : drawn)
                out.neighbourhoods[p] = note;
        }
    }
    for (auto& diagram : out.neighbourhoods) {
        if (diagram.empty())
            diagram = "<p class=\"none\">図はありません。</p>";
    }
    if (out.relationships.empty())
        out.relationships = "<p class=\"none\">図はありません。</p>";
    return out;
}

void SiteWriter::write(const fs::path& folder, const SiteOptions& options,
                       SiteDiagrams diagrams) const {
    const auto& d = *data_;
    Context c{d, options, d.fileLine.empty() ? options.fileLine : d.fileLine,
              std::move(diagrams.neighbourhoods), std::move(diagrams.relationships)};
    std::unordered_map<std::string, std::size_t> pageOfFile;
    for (std::size_t p = 0; p < d.pages.size(); ++p)
        pageOfFile.emplace(d.pages[p].file, p);
    // The pages are independent of one another: two writers take every other page each.
    auto writePages = [&](std::size_t first, std::size_t step) {
        std::string page;
        for (std::size_t p = first; p < d.pages.size(); p += step) {
            page.clear();
            ObjectPageHtml(page, c, p, pageOfFile);
            WriteFile(folder / d.pages[p].file, page);
        }
    };
    std::exception_ptr failed;
    std::thread other([&] {
        try {
            writePages(1, 2);
        } catch (...) {
            failed = std::current_exception();
        }
    });
    std::string out;
    try {
        IndexPage(out, c);
        WriteFile(folder / "index.html", out);
        writePages(0, 2);
    } catch (...) {
        other.join();
        throw;
    }
    other.join();
    if (failed)
        std::rethrow_exception(failed);
    SearchIndex(out, d);
    WriteFile(folder / "search-index.js", out);
    WriteFile(folder / "site.css", SiteStylesheet());
    WriteFile(folder / "site.js", SiteScript());
}

}  // namespace zanfor::site
