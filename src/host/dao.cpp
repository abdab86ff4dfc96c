#include "host/dao.h"

#include <algorithm>
#include <map>
#include <unordered_map>
#include <utility>

#include "host/jet/expression_type.h"
#include "host/jet/query_sql.h"
#include "util/encoding.h"
#include "util/vb_string.h"

namespace zanfor::host::dao {

const std::string& QueryDef::sql() const {
    if (readError_)
        throw *readError_;
    return sql_;
}

const std::string& QueryDef::connect() const {
    if (readError_)
        throw *readError_;
    return connect_;
}

const Container& Database::container(std::string_view name) {
    for (const auto& c : containers()) {
        if (util::EqualsIgnoreCase(c.name, name))
            return c;
    }
    throw Error(err::kItemNotFound, "コレクションにアイテムが見つかりません。");
}

const std::vector<Document>& Database::documents(std::string_view container) {
    static const std::vector<Document> none;
    for (const auto& c : containers()) {
        if (util::EqualsIgnoreCase(c.name, container))
            return c.documents;
    }
    return none;
}

std::vector<Relation> Database::relations() {
    std::unique_ptr<Recordset> rows;
    try {
        rows = openRecordset("MSysRelationships");
    } catch (const Error& e) {
        if (e.number() == err::kNoSuchTable)
            return {};
        throw;
    }
    // One row per field pair; a relationship's pairs need not be adjacent or in column order.
    std::vector<Relation> list;
    std::map<std::string, std::size_t> byName;
    std::vector<std::vector<std::pair<std::int64_t, std::pair<std::string, std::string>>>> pairs;
    for (; !rows->eof(); rows->moveNext()) {
        const std::string name = rows->field("szRelationship").toText();
        auto [it, added] = byName.emplace(name, list.size());
        if (added) {
            Relation r;
            r.name = name;
            r.attributes = static_cast<std::int32_t>(rows->field("grbit").toInteger());
            r.table = rows->field("szReferencedObject").toText();
            r.foreignTable = rows->field("szObject").toText();
            list.push_back(std::move(r));
            pairs.emplace_back();
        }
        pairs[it->second].push_back(
            {rows->field("icolumn").toInteger(),
             {rows->field("szReferencedColumn").toText(), rows->field("szColumn").toText()}});
    }
    for (std::size_t i = 0; i < list.size(); ++i) {
        std::stable_sort(pairs[i].begin(), pairs[i].end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        for (auto& p : pairs[i])
            list[i].fields.push_back(std::move(p.second));
    }
    SortRelations(list);
    return list;
}

void SortRelations(std::vector<Relation>& relations) {
    // The order DAO listed a collection in: by name, case aside, in the code page's order.
    std::vector<std::pair<std::string, Relation>> keyed;
    for (auto& r : relations)
        keyed.emplace_back(util::Utf8ToCp932(util::UCase(r.name)), std::move(r));
    std::stable_sort(keyed.begin(), keyed.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    relations.clear();
    for (auto& [key, r] : keyed)
        relations.push_back(std::move(r));
}

namespace {

std::string Key(std::string_view name) { return util::UCase(name); }

// Types every field of every query once. A plain column takes its source field's type, which
// for a column of another query means typing that query's field first; a computed column takes
// the type Jet gives its expression.
class QueryFieldTyper {
public:
    QueryFieldTyper(const std::vector<TableDef>& tables, std::vector<QueryDef>& queries)
        : tables_(tables), queries_(queries), parameters_(queries.size()) {
        for (std::size_t i = 0; i < tables.size(); ++i)
            tableIndex_.emplace(Key(tables[i].name), i);
        for (std::size_t i = 0; i < queries.size(); ++i) {
            queryIndex_.emplace(Key(queries[i].name), i);
            states_.emplace_back(queries[i].fields.size(), State::Untyped);
        }
    }

    void run() {
        for (std::size_t q = 0; q < queries_.size(); ++q) {
            for (std::size_t i = 0; i < queries_[q].fields.size(); ++i)
                type(q, i, 0);
        }
    }

private:
    enum class State : char { Untyped, Typing, Typed };

    void type(std::size_t q, std::size_t i, int depth) {
        if (states_[q][i] != State::Untyped || depth > jet::kMaxQueryNesting)
            return;
        states_[q][i] = State::Typing;
        Field& f = queries_[q].fields[i];
        f.type = 0;
        const Field* source =
            f.sourceTable.empty() ? nullptr : fieldOf(f.sourceTable, f.sourceField, depth);
        if (source != nullptr) {
            f.type = source->type;
            f.size = source->size;
            f.attributes = source->attributes;
            f.allowZeroLength = source->allowZeroLength;
            f.defaultValue = source->defaultValue;
        } else if (!f.expression.empty()) {
            const jet::ValueType v = jet::TypeOfExpression(
                f.expression,
                [&](const jet::NameReference& ref) { return referenceType(q, i, ref, depth); });
            f.type = v.type;
            f.size = v.size;
        }
        states_[q][i] = State::Typed;
    }

    // A typed field of a table or query; none while the field is being typed (a cycle).
    const Field* fieldOf(std::string_view source, std::string_view field, int depth) {
        if (const auto t = tableIndex_.find(Key(source)); t != tableIndex_.end()) {
            for (const Field& f : tables_[t->second].fields) {
                if (util::EqualsIgnoreCase(f.name, field))
                    return &f;
            }
            return nullptr;
        }
        const auto q = queryIndex_.find(Key(source));
        if (q == queryIndex_.end())
            return nullptr;
        std::vector<Field>& fields = queries_[q->second].fields;
        for (std::size_t i = 0; i < fields.size(); ++i) {
            if (!util::EqualsIgnoreCase(fields[i].name, field))
                continue;
            type(q->second, i, depth + 1);
            return states_[q->second][i] == State::Typed ? &fields[i] : nullptr;
        }
        return nullptr;
    }

    // A name in column i's expression of query q: a table's or query's column, else a declared
    // parameter, else the alias of another column of the same SELECT, which Jet lets it use.
    jet::ValueType referenceType(std::size_t q, std::size_t i, const jet::NameReference& ref,
                                 int depth) {
        if (!ref.bang && ref.parts.size() == 2) {
            if (const Field* f = fieldOf(ref.parts[0], ref.parts[1], depth))
                return {f->type, f->size};
        }
        for (const auto& [name, type] : parametersOf(q)) {
            if (util::EqualsIgnoreCase(name, ref.text))
                return type;
        }
        if (ref.bang || ref.parts.size() != 1)
            return {};
        std::vector<Field>& fields = queries_[q].fields;
        for (std::size_t j = 0; j < fields.size(); ++j) {
            if (j == i || !util::EqualsIgnoreCase(fields[j].name, ref.parts[0]))
                continue;
            type(q, j, depth);
            if (states_[q][j] == State::Typed)
                return {fields[j].type, fields[j].size};
            break;
        }
        return {};
    }

    const std::vector<std::pair<std::string, jet::ValueType>>& parametersOf(std::size_t q) {
        auto& params = parameters_[q];
        if (!params) {
            try {
                params = jet::DeclaredParameters(queries_[q].sql());
            } catch (const Error&) {
                params.emplace();  // no SQL to declare any
            }
        }
        return *params;
    }

    const std::vector<TableDef>& tables_;
    std::vector<QueryDef>& queries_;
    std::unordered_map<std::string, std::size_t> tableIndex_;
    std::unordered_map<std::string, std::size_t> queryIndex_;
    std::vector<std::vector<State>> states_;
    std::vector<std::optional<std::vector<std::pair<std::string, jet::ValueType>>>> parameters_;
};

}  // namespace

void TypeQueryFields(const std::vector<TableDef>& tables, std::vector<QueryDef>& queries) {
    QueryFieldTyper(tables, queries).run();
}

}  // namespace zanfor::host::dao
