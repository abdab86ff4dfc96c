#include "diff/diff_output.h"

#include <ostream>
#include <string>

#include "util/json_writer.h"

namespace zanfor::diff {

namespace {

constexpr std::string_view kNoChange = "変更はありません。";
constexpr std::string_view kNothing = "(なし)";

std::string_view ChangeLabel(Change change) {
    switch (change) {
        case Change::Added:
            return "追加";
        case Change::Removed:
            return "削除";
        case Change::Changed:
            return "変更";
    }
    return "変更";
}

std::string ObjectLabel(const ObjectName& o) {
    return std::string(KindLabel(o.kind)) + ": " + o.name;
}

// A value on one line of the listing: its line breaks shown as "↵", so that no value can
// start a line that reads as another entry.
std::string OneLine(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            out += "↵";
            i += text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n';
        } else {
            out += text[i];
        }
    }
    return out;
}

// "name: before → after", or "name: value" for a part that came or went whole.
std::string ValueText(const ValueChange& v, bool whole) {
    if (whole)
        return OneLine(v.name + ": " + v.before.value_or(v.after.value_or("")));
    return OneLine(v.name + ": " + v.before.value_or(std::string(kNothing)) + " → " +
                   v.after.value_or(std::string(kNothing)));
}

// Runs of tokens are set apart by a blank, as the tokens are, except before a run that starts
// with "," or ")" and after one that ends with "(" or ".".
bool BlankBetween(const std::string& previous, const std::string& next) {
    return !previous.empty() && !next.starts_with(',') && !next.starts_with(')') &&
           !previous.ends_with('(') && !previous.ends_with('.');
}

std::string SqlText(const std::vector<DiffLine>& runs) {
    std::string out;
    std::string previous;
    for (const auto& r : runs) {
        if (BlankBetween(previous, r.text))
            out += ' ';
        out += r.mark == '-' ? "[-" + r.text + "-]" : r.mark == '+' ? "{+" + r.text + "+}" : r.text;
        previous = r.text;
    }
    return out;
}

std::string LineText(const DiffLine& l) { return l.mark == '@' ? l.text : l.mark + l.text; }

template <class List, class Write>
void TextSection(std::ostream& out, std::string_view title, const List& list, Write write) {
    if (list.empty())
        return;
    out << title << " (" << list.size() << ")\n";
    for (const auto& item : list)
        write(item);
}

void TextChange(std::ostream& out, const ObjectChange& c) {
    out << "  " << ObjectLabel(c.object) << "\n";
    for (const auto& v : c.properties)
        out << "    " << ValueText(v, false) << "\n";
    for (const auto& p : c.parts) {
        out << "    " << p.kind << " " << ChangeLabel(p.change) << ": " << p.name << "\n";
        for (const auto& v : p.values)
            out << "      " << ValueText(v, p.change != Change::Changed) << "\n";
    }
    if (!c.sql.empty())
        out << "    SQL: " << SqlText(c.sql) << "\n";
    if (!c.lines.empty()) {
        out << "    " << (c.object.kind == "Macro" ? "アクション" : "コード") << ":\n";
        for (const auto& l : c.lines)
            out << "      " << LineText(l) << "\n";
    }
}

constexpr std::string_view kStyle = R"(body{font-family:sans-serif;margin:1.5em;color:#222}
h2{border-bottom:1px solid #999;margin-top:1.5em}
table{border-collapse:collapse;margin:.3em 0 .8em}
td,th{border:1px solid #bbb;padding:.15em .5em;text-align:left;vertical-align:top;white-space:pre-wrap}
th{background:#eee}
pre{background:#f7f7f7;padding:.5em;overflow-x:auto}
pre.sql{white-space:pre-wrap}
del{background:#fdd;text-decoration:line-through}
ins{background:#dfd;text-decoration:none}
.hunk{color:#06c}
)";

void HtmlValues(std::ostream& out, const std::vector<ValueChange>& values, bool whole) {
    if (values.empty())
        return;
    out << "<table>";
    out << (whole ? "<tr><th>項目</th><th>値</th></tr>"
                  : "<tr><th>項目</th><th>変更前</th><th>変更後</th></tr>");
    for (const auto& v : values) {
        out << "<tr><td>" << HtmlEscape(v.name) << "</td>";
        if (whole) {
            out << "<td>" << HtmlEscape(v.before.value_or(v.after.value_or(""))) << "</td>";
        } else {
            out << "<td>" << HtmlEscape(v.before.value_or(std::string(kNothing))) << "</td><td>"
                << HtmlEscape(v.after.value_or(std::string(kNothing))) << "</td>";
        }
        out << "</tr>";
    }
    out << "</table>\n";
}

void HtmlChange(std::ostream& out, const ObjectChange& c) {
    out << "<section><h3>" << HtmlEscape(ObjectLabel(c.object)) << "</h3>\n";
    HtmlValues(out, c.properties, false);
    for (const auto& p : c.parts) {
        out << "<h4>" << HtmlEscape(p.kind) << " " << ChangeLabel(p.change) << ": "
            << HtmlEscape(p.name) << "</h4>\n";
        HtmlValues(out, p.values, p.change != Change::Changed);
    }
    if (!c.sql.empty()) {
        out << "<p>SQL:</p><pre class=\"sql\">";
        std::string previous;
        for (const auto& r : c.sql) {
            const std::string tag = r.mark == '-' ? "del" : r.mark == '+' ? "ins" : "";
            if (BlankBetween(previous, r.text))
                out << ' ';
            out << (tag.empty() ? "" : "<" + tag + ">") << HtmlEscape(r.text)
                << (tag.empty() ? "" : "</" + tag + ">");
            previous = r.text;
        }
        out << "</pre>\n";
    }
    if (!c.lines.empty()) {
        out << "<pre>";
        for (const auto& l : c.lines) {
            const auto tag = l.mark == '-' ? "del" : l.mark == '+' ? "ins" : "";
            if (l.mark == '@')
                out << "<span class=\"hunk\">" << HtmlEscape(l.text) << "</span>\n";
            else if (*tag)
                out << "<" << tag << ">" << HtmlEscape(LineText(l)) << "</" << tag << ">\n";
            else
                out << HtmlEscape(LineText(l)) << "\n";
        }
        out << "</pre>\n";
    }
    out << "</section>\n";
}

void JsonValues(util::JsonWriter& json, const std::vector<ValueChange>& values) {
    json.key("values").beginArray();
    for (const auto& v : values) {
        json.beginObject().key("name").value(v.name);
        json.key("before");
        v.before ? json.value(*v.before) : json.null();
        json.key("after");
        v.after ? json.value(*v.after) : json.null();
        json.endObject();
    }
    json.endArray();
}

void JsonObjects(util::JsonWriter& json, std::string_view key,
                 const std::vector<ObjectName>& objects) {
    json.key(key).beginArray();
    for (const auto& o : objects)
        json.beginObject().key("kind").value(o.kind).key("name").value(o.name).endObject();
    json.endArray();
}

void JsonLines(util::JsonWriter& json, std::string_view key, const std::vector<DiffLine>& lines) {
    json.key(key).beginArray();
    for (const auto& l : lines)
        json.beginObject()
            .key("mark")
            .value(std::string(1, l.mark))
            .key("text")
            .value(l.text)
            .endObject();
    json.endArray();
}

}  // namespace

void WriteDiffText(const AnalysisDiff& diff, std::string_view before, std::string_view after,
                   std::ostream& out) {
    out << "比較元: " << before << "\n比較先: " << after << "\n";
    if (diff.empty()) {
        out << kNoChange << "\n";
        return;
    }
    auto name = [&](const ObjectName& o) { out << "  " << ObjectLabel(o) << "\n"; };
    TextSection(out, "追加", diff.added, name);
    TextSection(out, "削除", diff.removed, name);
    TextSection(out, "名前変更", diff.renamed, [&](const Renamed& r) {
        out << "  " << KindLabel(r.kind) << ": " << r.before << " → " << r.after << "\n";
    });
    TextSection(out, "変更", diff.changed, [&](const ObjectChange& c) { TextChange(out, c); });
}

void WriteDiffHtml(const AnalysisDiff& diff, std::string_view before, std::string_view after,
                   std::ostream& out) {
    out << "<!DOCTYPE html>\n<html lang=\"ja\"><head><meta charset=\"utf-8\"><title>比較: "
        << HtmlEscape(before) << " → " << HtmlEscape(after) << "</title><style>" << kStyle
        << "</style></head><body>\n<h1>比較</h1>\n<p>比較元: " << HtmlEscape(before)
        << "<br>比較先: " << HtmlEscape(after) << "</p>\n";
    if (diff.empty())
        out << "<p>" << kNoChange << "</p>\n";
    auto names = [&](std::string_view title, const std::vector<ObjectName>& list) {
        if (list.empty())
            return;
        out << "<h2>" << title << " (" << list.size() << ")</h2><ul>\n";
        for (const auto& o : list)
            out << "<li>" << HtmlEscape(ObjectLabel(o)) << "</li>\n";
        out << "</ul>\n";
    };
    names("追加", diff.added);
    names("削除", diff.removed);
    if (!diff.renamed.empty()) {
        out << "<h2>名前変更 (" << diff.renamed.size() << ")</h2><ul>\n";
        for (const auto& r : diff.renamed)
            out << "<li>" << KindLabel(r.kind) << ": " << HtmlEscape(r.before) << " → "
                << HtmlEscape(r.after) << "</li>\n";
        out << "</ul>\n";
    }
    if (!diff.changed.empty()) {
        out << "<h2>変更 (" << diff.changed.size() << ")</h2>\n";
        for (const auto& c : diff.changed)
            HtmlChange(out, c);
    }
    out << "</body></html>\n";
}

void WriteDiffJson(const AnalysisDiff& diff, std::string_view before, std::string_view after,
                   std::ostream& out) {
    util::JsonWriter json(out);
    json.beginObject().key("before").value(before).key("after").value(after);
    JsonObjects(json, "added", diff.added);
    JsonObjects(json, "removed", diff.removed);
    json.key("renamed").beginArray();
    for (const auto& r : diff.renamed)
        json.beginObject()
            .key("kind")
            .value(r.kind)
            .key("before")
            .value(r.before)
            .key("after")
            .value(r.after)
            .endObject();
    json.endArray().key("changed").beginArray();
    for (const auto& c : diff.changed) {
        json.beginObject().key("kind").value(c.object.kind).key("name").value(c.object.name);
        JsonValues(json, c.properties);
        json.key("parts").beginArray();
        for (const auto& p : c.parts) {
            json.beginObject()
                .key("kind")
                .value(p.kind)
                .key("name")
                .value(p.name)
                .key("change")
                .value(p.change == Change::Added     ? "added"
                       : p.change == Change::Removed ? "removed"
                                                     : "changed");
            JsonValues(json, p.values);
            json.endObject();
        }
        json.endArray();
        JsonLines(json, "sql", c.sql);
        JsonLines(json, "lines", c.lines);
        json.endObject();
    }
    json.endArray().endObject();
    out << "\n";
}

}  // namespace zanfor::diff
