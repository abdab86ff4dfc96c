#include "host/export/query_text.h"

#include <array>
#include <cstdint>

#include "host/export/typed_value.h"
#include "host/jet/query_sql.h"
#include "util/encoding.h"
#include "util/vb_string.h"

namespace zanfor::host::exports {

namespace {

using jet::QueryRow;
// The design lines of a query export spell out its MSysQueries rows one by one.
using enum jet::QueryAttribute;

struct ListBlock {
    std::string_view kind;
    int attribute;
};

constexpr auto kListBlocks = std::to_array<ListBlock>({
    {"Parameters", kParameter},
    {"InputTables", kTable},
    {"OutputColumns", kColumn},
    {"Joins", kJoin},
    {"Groups", kGroupBy},
    {"OrderBy", kOrderBy},
});

std::optional<int> intOf(const SavedProperty& p) {
    try {
        return std::stoi(p.value.text);
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

bool isTrailer(std::string_view name) {
    return util::EqualsIgnoreCase(name, "Flag") || util::EqualsIgnoreCase(name, "GroupLevel");
}

// One item of a list block: its properties up to the next item. An item ends where a property
// repeats, or where anything but a trailing Flag / GroupLevel follows its Expression.
std::vector<std::vector<const SavedProperty*>> itemsOf(const SavedBlock& block) {
    std::vector<std::vector<const SavedProperty*>> items;
    for (const auto& p : block.properties) {
        bool startNew = items.empty();
        if (!startNew) {
            for (const SavedProperty* q : items.back()) {
                if (util::EqualsIgnoreCase(q->name, p.name) ||
                    (util::EqualsIgnoreCase(q->name, "Expression") && !isTrailer(p.name)))
                    startNew = true;
            }
        }
        if (startNew)
            items.emplace_back();
        items.back().push_back(&p);
    }
    return items;
}

class RowBuilder {
public:
    void add(QueryRow row) {
        const std::uint32_t n = counter_++;
        row.order = {static_cast<char>(n >> 24), static_cast<char>(n >> 16),
                     static_cast<char>(n >> 8), static_cast<char>(n)};
        rows_.push_back(std::move(row));
    }

    void item(int attribute, const std::vector<const SavedProperty*>& props) {
        QueryRow row;
        row.attribute = attribute;
        for (const SavedProperty* p : props) {
            const std::string& n = p->name;
            if (util::EqualsIgnoreCase(n, "Expression")) {
                row.expression = p->value.text;
            } else if (util::EqualsIgnoreCase(n, "Flag") ||
                       util::EqualsIgnoreCase(n, "GroupLevel")) {
                row.flag = intOf(*p);
            } else if (util::EqualsIgnoreCase(n, "Alias")) {
                (attribute == kTable ? row.name2 : row.name1) = p->value.text;
            } else if (util::EqualsIgnoreCase(n, "Name")) {
                (attribute == kColumn ? row.name2 : row.name1) = p->value.text;
            } else if (util::EqualsIgnoreCase(n, "LeftTable")) {
                row.name1 = p->value.text;
            } else if (util::EqualsIgnoreCase(n, "RightTable")) {
                row.name2 = p->value.text;
            }
        }
        if (attribute == kOrderBy) {
            row.name1 = row.flag.value_or(0) == 1 ? "D" : "";
            row.flag.reset();
        }
        add(std::move(row));
    }

    std::vector<QueryRow> take() { return std::move(rows_); }

private:
    std::vector<QueryRow> rows_;
    std::uint32_t counter_ = 0;
};

std::vector<QueryRow> designRows(const SavedBlock& root) {
    RowBuilder rows;
    QueryRow type;
    type.attribute = kType;
    if (const auto* op = root.find("Operation"))
        type.flag = intOf(*op);
    type.name1 = root.text("Name");
    rows.add(std::move(type));

    QueryRow flags;
    flags.attribute = kFlags;
    if (const auto* option = root.find("Option"))
        flags.flag = intOf(*option);
    flags.name1 = root.text("RowCount");
    rows.add(std::move(flags));

    for (const auto& [attribute, name] :
         {std::pair{kWhere, "Where"}, std::pair{kHaving, "Having"}}) {
        if (const auto* p = root.find(name)) {
            QueryRow row;
            row.attribute = attribute;
            row.expression = p->value.text;
            rows.add(std::move(row));
        }
    }
    for (const auto& block : root.children) {
        for (const auto& list : kListBlocks) {
            if (block.kind != list.kind)
                continue;
            for (const auto& item : itemsOf(block))
                rows.item(list.attribute, item);
        }
    }
    return rows.take();
}

void addColumns(dao::QueryDef& q, const std::vector<jet::QueryColumn>& columns) {
    for (const auto& c : columns) {
        dao::Field f;
        f.name = c.name;
        f.sourceTable = c.sourceTable;
        f.sourceField = c.sourceField;
        f.expression = c.qualified;
        q.fields.push_back(std::move(f));
    }
}

// A query kept as its SQL alone still has the output columns of its text, as DAO would show
// them; only queries whose text is a SELECT have any.
void addColumnsOfSql(dao::QueryDef& q, std::string_view sql, const StarFields& starFields) {
    if (q.type == dao::dbQSelect || q.type == dao::dbQMakeTable || q.type == dao::dbQSetOperation)
        addColumns(q, jet::ColumnsOfSelectText(sql, starFields));
}

// The typed lines at the top of a query's text, as the query's properties.
void readTypedProperties(const SavedBlock& root, dao::QueryDef& q) {
    for (const auto& p : root.properties) {
        if (p.type.empty())
            continue;
        const Value v = DaoTypedValue(DaoTypeOfName(p.type), p.value.text);
        if (util::EqualsIgnoreCase(p.name, "SQL")) {
            q.setSql(p.value.text);
        } else if (util::EqualsIgnoreCase(p.name, "Connect")) {
            q.setConnect(p.value.text);
        } else {
            if (util::EqualsIgnoreCase(p.name, "ODBCTimeout"))
                q.odbcTimeout = static_cast<std::int16_t>(v.toInteger());
            else if (util::EqualsIgnoreCase(p.name, "MaxRecords"))
                q.maxRecords = static_cast<std::int32_t>(v.toInteger());
            q.properties.put(p.name, v);
        }
    }
}

// Upper-cased words of the statement outside quotes, brackets and parentheses.
std::vector<std::string> topLevelWords(std::string_view sql) {
    std::vector<std::string> words;
    int depth = 0;
    std::string word;
    auto flush = [&] {
        if (!word.empty())
            words.push_back(util::UCase(word));
        word.clear();
    };
    for (std::size_t i = 0; i < sql.size(); ++i) {
        const char c = sql[i];
        if (c == '\'' || c == '"' || c == '[') {
            flush();
            const char close = c == '[' ? ']' : c;
            const std::size_t end = sql.find(close, i + 1);
            i = end == std::string_view::npos ? sql.size() : end;
        } else if (c == '(') {
            flush();
            ++depth;
        } else if (c == ')') {
            flush();
            depth = depth > 0 ? depth - 1 : 0;
        } else if (c == ';' && depth == 0) {
            flush();
            words.emplace_back(";");
        } else if (std::isalnum(static_cast<unsigned char>(c)) || c == '_' ||
                   static_cast<unsigned char>(c) >= 0x80) {
            if (depth == 0)
                word += c;
        } else {
            flush();
        }
    }
    flush();
    return words;
}

std::string crLfLines(std::string_view text) {
    std::string out;
    for (const auto& line : util::SplitLines(text)) {
        if (!out.empty())
            out += "\r\n";
        out += line;
    }
    return out;
}

}  // namespace

int QueryTypeOfSql(std::string_view sql, std::string_view connect) {
    if (util::UCase(util::Trim(connect)).starts_with("ODBC;"))
        return dao::dbQSQLPassThrough;
    auto words = topLevelWords(sql);
    if (!words.empty() && words.front() == "PARAMETERS") {
        std::size_t semi = 0;
        while (semi < words.size() && words[semi] != ";")
            ++semi;
        words.erase(words.begin(),
                    words.begin() + static_cast<std::ptrdiff_t>(std::min(semi + 1, words.size())));
    }
    if (words.empty())
        return dao::dbQSelect;
    const std::string& first = words.front();
    if (first == "TRANSFORM")
        return dao::dbQCrosstab;
    if (first == "DELETE")
        return dao::dbQDelete;
    if (first == "UPDATE")
        return dao::dbQUpdate;
    if (first == "INSERT")
        return dao::dbQAppend;
    if (first == "CREATE" || first == "ALTER" || first == "DROP")
        return dao::dbQDDL;
    bool fromSeen = false;
    for (const auto& w : words) {
        if (w == "UNION")
            return dao::dbQSetOperation;
        if (w == "FROM")
            fromSeen = true;
        if (w == "INTO" && !fromSeen && first == "SELECT")
            return dao::dbQMakeTable;
    }
    return dao::dbQSelect;
}

dao::QueryDef ReadQueryText(const SavedText& text, std::string name, const std::string& source,
                            const StarFields& starFields) {
    dao::QueryDef q;
    q.name = std::move(name);
    readTypedProperties(text.root, q);
    if (text.root.find("Operation")) {
        const jet::RebuiltQuery rebuilt = jet::RebuildQuery(designRows(text.root), starFields);
        q.type = rebuilt.type;
        q.setSql(rebuilt.sql);
        if (!rebuilt.connect.empty())
            q.setConnect(rebuilt.connect);
        addColumns(q, rebuilt.columns);
    } else if (const auto* sql = text.root.find("SQL"); sql && !sql->type.empty()) {
        const auto* connect = text.root.find("Connect");
        q.type = QueryTypeOfSql(sql->value.text, connect ? connect->value.text : std::string());
        addColumnsOfSql(q, sql->value.text, starFields);
    } else {
        ThrowMalformed(source, 1, "クエリーの SQL も Operation もありません");
    }
    return q;
}

dao::QueryDef ReadQuerySql(std::string_view sql, const JsonValue* info, std::string name,
                           const StarFields& starFields) {
    dao::QueryDef q;
    q.name = std::move(name);
    std::string_view body = sql;
    if (body.starts_with("\xEF\xBB\xBF"))
        body.remove_prefix(3);
    q.setSql(crLfLines(body));
    const JsonValue* type = info ? info->find("QueryType") : nullptr;
    const JsonValue* connect = info ? info->find("Connect") : nullptr;
    if (connect)
        q.setConnect(connect->asText());
    q.type = type && type->kind == JsonValue::Kind::Number
                 ? static_cast<int>(type->asInteger())
                 : QueryTypeOfSql(body, connect ? connect->asText() : std::string());
    addColumnsOfSql(q, body, starFields);
    if (const JsonValue* props = info ? info->find("QueryProperties") : nullptr) {
        for (const auto& [key, p] : props->members) {
            const JsonValue* value = p.find("Value");
            const JsonValue* daoType = p.find("Type");
            const Value v =
                value ? DaoTypedValue(daoType ? static_cast<int>(daoType->asInteger()) : 0, *value)
                      : Value();
            if (util::EqualsIgnoreCase(key, "ODBCTimeout"))
                q.odbcTimeout = static_cast<std::int16_t>(v.toInteger());
            q.properties.put(key, v);
        }
    }
    return q;
}

}  // namespace zanfor::host::exports
