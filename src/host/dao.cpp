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

}  // namespace zanfor::host::dao
