#include "host/dao.h"

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

namespace {

// Queries built on queries are followed to their table; the depth limit stops a cycle of
// queries naming each other.
constexpr int kMaxQueryDepth = 32;

const Field* TableFieldOf(const std::vector<TableDef>& tables, const std::vector<QueryDef>& queries,
                          const std::string& source, const std::string& field, int depth) {
    if (depth > kMaxQueryDepth)
        return nullptr;
    for (const auto& t : tables) {
        if (!util::EqualsIgnoreCase(t.name, source))
            continue;
        for (const auto& f : t.fields) {
            if (util::EqualsIgnoreCase(f.name, field))
                return &f;
        }
    }
    for (const auto& q : queries) {
        if (!util::EqualsIgnoreCase(q.name, source))
            continue;
        for (const auto& f : q.fields) {
            if (util::EqualsIgnoreCase(f.name, field) && !f.sourceTable.empty())
                return TableFieldOf(tables, queries, f.sourceTable, f.sourceField, depth + 1);
        }
    }
    return nullptr;
}

}  // namespace

void TypeQueryFields(const std::vector<TableDef>& tables, std::vector<QueryDef>& queries) {
    for (auto& q : queries) {
        for (auto& f : q.fields) {
            f.type = 0;
            if (f.sourceTable.empty())
                continue;
            if (const Field* src = TableFieldOf(tables, queries, f.sourceTable, f.sourceField, 0)) {
                f.type = src->type;
                f.size = src->size;
                f.attributes = src->attributes;
                f.allowZeroLength = src->allowZeroLength;
                f.defaultValue = src->defaultValue;
            }
        }
    }
}

}  // namespace zanfor::host::dao
