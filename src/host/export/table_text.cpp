#include "host/export/table_text.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdlib>
#include <span>

#include "host/export/saved_text.h"
#include "host/export/typed_value.h"
#include "util/encoding.h"
#include "util/vb_string.h"

namespace zanfor::host::exports {

namespace {

struct JetType {
    std::string_view word;
    int type;
    std::int32_t size;  // 0: from the declaration, or none
};

// DDL type words (Jet SQL and its ANSI synonyms) with DAO's type and fixed size.
constexpr auto kDdlTypes = std::to_array<JetType>({
    {"AUTOINCREMENT", dao::dbLong, 4},
    {"COUNTER", dao::dbLong, 4},
    {"VARCHAR", dao::dbText, 0},
    {"TEXT", dao::dbText, 0},
    {"CHAR", dao::dbText, 0},
    {"CHARACTER", dao::dbText, 0},
    {"NVARCHAR", dao::dbText, 0},
    {"NCHAR", dao::dbText, 0},
    {"STRING", dao::dbText, 0},
    {"ALPHANUMERIC", dao::dbText, 0},
    {"LONGTEXT", dao::dbMemo, 0},
    {"MEMO", dao::dbMemo, 0},
    {"NOTE", dao::dbMemo, 0},
    {"NTEXT", dao::dbMemo, 0},
    {"LONGCHAR", dao::dbMemo, 0},
    {"LONG", dao::dbLong, 4},
    {"INTEGER", dao::dbLong, 4},
    {"INT", dao::dbLong, 4},
    {"INTEGER4", dao::dbLong, 4},
    {"SHORT", dao::dbInteger, 2},
    {"SMALLINT", dao::dbInteger, 2},
    {"INTEGER2", dao::dbInteger, 2},
    {"BYTE", dao::dbByte, 1},
    {"TINYINT", dao::dbByte, 1},
    {"INTEGER1", dao::dbByte, 1},
    {"DOUBLE", dao::dbDouble, 8},
    {"FLOAT", dao::dbDouble, 8},
    {"FLOAT8", dao::dbDouble, 8},
    {"NUMBER", dao::dbDouble, 8},
    {"SINGLE", dao::dbSingle, 4},
    {"REAL", dao::dbSingle, 4},
    {"FLOAT4", dao::dbSingle, 4},
    {"CURRENCY", dao::dbCurrency, 8},
    {"MONEY", dao::dbCurrency, 8},
    {"DATETIME", dao::dbDate, 8},
    {"DATE", dao::dbDate, 8},
    {"TIME", dao::dbDate, 8},
    {"TIMESTAMP", dao::dbDate, 8},
    {"BIT", dao::dbBoolean, 1},
    {"YESNO", dao::dbBoolean, 1},
    {"LOGICAL", dao::dbBoolean, 1},
    {"LOGICAL1", dao::dbBoolean, 1},
    {"BOOLEAN", dao::dbBoolean, 1},
    {"LONGBINARY", dao::dbLongBinary, 0},
    {"OLEOBJECT", dao::dbLongBinary, 0},
    {"IMAGE", dao::dbLongBinary, 0},
    {"GENERAL", dao::dbLongBinary, 0},
    {"BINARY", dao::dbBinary, 0},
    {"VARBINARY", dao::dbBinary, 0},
    {"GUID", dao::dbGUID, 16},
    {"UNIQUEIDENTIFIER", dao::dbGUID, 16},
    {"DECIMAL", dao::dbDecimal, 16},
    {"NUMERIC", dao::dbDecimal, 16},
    {"DEC", dao::dbDecimal, 16},
});

// The field types of Access's XML schema (od:jetType).
constexpr auto kXmlTypes = std::to_array<JetType>({
    {"autonumber", dao::dbLong, 4},
    {"text", dao::dbText, 0},
    {"memo", dao::dbMemo, 0},
    {"hyperlink", dao::dbMemo, 0},
    {"longinteger", dao::dbLong, 4},
    {"integer", dao::dbInteger, 2},
    {"byte", dao::dbByte, 1},
    {"single", dao::dbSingle, 4},
    {"double", dao::dbDouble, 8},
    {"currency", dao::dbCurrency, 8},
    {"decimal", dao::dbDecimal, 16},
    {"datetime", dao::dbDate, 8},
    {"yesno", dao::dbBoolean, 1},
    {"oleobject", dao::dbLongBinary, 0},
    {"binary", dao::dbBinary, 0},
    {"replicationid", dao::dbGUID, 16},
    {"bigbinary", dao::dbLongBinary, 0},
});

// DAO 12's type of an attachment field; later complex types are shown as attachments too,
// since Access 2000 had none of them.
constexpr int kComplexType = 101;

const JetType* findType(std::span<const JetType> table, std::string_view word) {
    for (const auto& t : table) {
        if (util::EqualsIgnoreCase(t.word, word))
            return &t;
    }
    return nullptr;
}

std::int32_t attributesOf(int type, bool autoIncrement) {
    switch (type) {
        case dao::dbText:
        case dao::dbMemo:
        case dao::dbBinary:
        case dao::dbLongBinary:
            return dao::dbVariableField;
        default:
            return dao::dbFixedField | (autoIncrement ? dao::dbAutoIncrField : 0);
    }
}

dao::Index primaryIndex(std::string name, std::vector<std::string> fields) {
    dao::Index ix;
    ix.name = name.empty() ? "PrimaryKey" : std::move(name);
    ix.primary = ix.unique = ix.required = true;
    for (auto& f : fields)
        ix.fields.push_back({std::move(f), false});
    return ix;
}

struct Token {
    enum class Kind { Word, Name, Number, Punct, Text };
    Kind kind = Kind::Word;
    std::string text;
    int line = 1;
};

class DdlReader {
public:
    DdlReader(std::string_view ddl, const std::string& source) : source_(source) { tokenize(ddl); }

    dao::TableDef run() {
        expectWord("CREATE");
        expectWord("TABLE");
        dao::TableDef t;
        t.name = name();
        expectPunct("(");
        for (;;) {
            if (isWord("CONSTRAINT") || isWord("PRIMARY") || isWord("UNIQUE") || isWord("FOREIGN"))
                tableConstraint(t);
            else
                column(t);
            if (acceptPunct(","))
                continue;
            expectPunct(")");
            break;
        }
        acceptPunct(";");
        while (at_ < tokens_.size()) {
            createIndex(t);
            acceptPunct(";");
        }
        return t;
    }

private:
    void tokenize(std::string_view s) {
        if (s.starts_with("\xEF\xBB\xBF"))
            s.remove_prefix(3);
        int line = 1;
        for (std::size_t i = 0; i < s.size();) {
            const char c = s[i];
            if (c == '\n') {
                ++line;
                ++i;
            } else if (c == ' ' || c == '\t' || c == '\r') {
                ++i;
            } else if (c == '[' || c == '`') {
                const char close = c == '[' ? ']' : '`';
                const std::size_t end = s.find(close, i + 1);
                if (end == std::string_view::npos ||
                    s.substr(i, end - i).find('\n') != std::string_view::npos)
                    ThrowMalformed(source_, line, "名前の括弧が閉じられていません");
                tokens_.push_back(
                    {Token::Kind::Name, std::string(s.substr(i + 1, end - i - 1)), line});
                i = end + 1;
            } else if (c == '\'' || c == '"') {
                std::size_t end = i + 1;
                std::string text;
                while (end < s.size()) {
                    if (s[end] == c && end + 1 < s.size() && s[end + 1] == c) {
                        text += c;
                        end += 2;
                    } else if (s[end] == c) {
                        break;
                    } else {
                        text += s[end++];
                    }
                }
                if (end >= s.size())
                    ThrowMalformed(source_, line, "引用符が閉じられていません");
                tokens_.push_back({Token::Kind::Text, std::move(text), line});
                i = end + 1;
            } else if (c == '(' || c == ')' || c == ',' || c == ';') {
                tokens_.push_back({Token::Kind::Punct, std::string(1, c), line});
                ++i;
            } else {
                std::size_t end = i;
                while (end < s.size() &&
                       std::string_view(" \t\r\n()[],;'\"").find(s[end]) == std::string_view::npos)
                    ++end;
                if (end == i)
                    ThrowMalformed(source_, line, std::string("'") + c + "' が余分です");
                const std::string word(s.substr(i, end - i));
                const bool number = std::isdigit(static_cast<unsigned char>(word[0])) ||
                                    (word.size() > 1 && word[0] == '-');
                tokens_.push_back({number ? Token::Kind::Number : Token::Kind::Word, word, line});
                i = end;
            }
        }
    }

    [[noreturn]] void fail(std::string_view reason) const {
        const int line =
            at_ < tokens_.size() ? tokens_[at_].line : (tokens_.empty() ? 1 : tokens_.back().line);
        ThrowMalformed(source_, line, reason);
    }

    bool isWord(std::string_view w) const {
        return at_ < tokens_.size() && tokens_[at_].kind == Token::Kind::Word &&
               util::EqualsIgnoreCase(tokens_[at_].text, w);
    }
    bool isPunct(std::string_view p) const {
        return at_ < tokens_.size() && tokens_[at_].kind == Token::Kind::Punct &&
               tokens_[at_].text == p;
    }
    bool acceptWord(std::string_view w) {
        if (!isWord(w))
            return false;
        ++at_;
        return true;
    }
    bool acceptPunct(std::string_view p) {
        if (!isPunct(p))
            return false;
        ++at_;
        return true;
    }
    void expectWord(std::string_view w) {
        if (!acceptWord(w))
            fail(std::string(w) + " がありません");
    }
    void expectPunct(std::string_view p) {
        if (!acceptPunct(p))
            fail("'" + std::string(p) + "' がありません");
    }
    std::string name() {
        if (at_ >= tokens_.size() ||
            (tokens_[at_].kind != Token::Kind::Name && tokens_[at_].kind != Token::Kind::Word))
            fail("名前がありません");
        return tokens_[at_++].text;
    }
    std::vector<std::string> nameList() {
        std::vector<std::string> names;
        expectPunct("(");
        do {
            names.push_back(name());
            acceptWord("ASC");
            acceptWord("DESC");
        } while (acceptPunct(","));
        expectPunct(")");
        return names;
    }
    // Skips a parenthesised group or one token.
    void skipItem() {
        if (!acceptPunct("(")) {
            ++at_;
            return;
        }
        int depth = 1;
        while (at_ < tokens_.size() && depth > 0) {
            if (isPunct("("))
                ++depth;
            else if (isPunct(")"))
                --depth;
            ++at_;
        }
    }

    void column(dao::TableDef& t) {
        dao::Field f;
        f.name = name();
        if (at_ >= tokens_.size() || tokens_[at_].kind != Token::Kind::Word)
            fail("列 " + f.name + " の型がありません");
        const std::string typeWord = tokens_[at_].text;
        const JetType* type = findType(kDdlTypes, typeWord);
        if (!type)
            fail("列 " + f.name + " の型 " + typeWord + " は Jet の型ではありません");
        ++at_;
        const bool autoIncrement = util::EqualsIgnoreCase(typeWord, "AUTOINCREMENT") ||
                                   util::EqualsIgnoreCase(typeWord, "COUNTER");
        f.type = type->type;
        f.size = type->size;
        if (f.type == dao::dbText)
            f.size = 255;
        if (acceptPunct("(")) {
            if (at_ < tokens_.size() && tokens_[at_].kind == Token::Kind::Number &&
                (f.type == dao::dbText || f.type == dao::dbBinary))
                f.size =
                    static_cast<std::int32_t>(std::strtol(tokens_[at_].text.c_str(), nullptr, 10));
            while (at_ < tokens_.size() && !isPunct(")"))
                ++at_;
            expectPunct(")");
        }
        f.attributes = attributesOf(f.type, autoIncrement);
        columnConstraints(t, f);
        t.fields.push_back(std::move(f));
    }

    void columnConstraints(dao::TableDef& t, dao::Field& f) {
        std::string constraint;
        while (at_ < tokens_.size() && !isPunct(",") && !isPunct(")")) {
            if (acceptWord("CONSTRAINT")) {
                constraint = name();
            } else if (acceptWord("PRIMARY")) {
                expectWord("KEY");
                t.indexes.push_back(primaryIndex(constraint, {f.name}));
            } else if (acceptWord("UNIQUE")) {
                if (t.indexes.empty() || t.indexes.back().name != constraint ||
                    constraint.empty()) {
                    dao::Index ix;
                    ix.name = constraint.empty() ? f.name : constraint;
                    ix.unique = true;
                    ix.fields.push_back({f.name, false});
                    t.indexes.push_back(std::move(ix));
                }
            } else if (acceptWord("NOT")) {
                expectWord("NULL");
                f.required = true;
            } else if (acceptWord("REFERENCES")) {
                name();
                if (isPunct("("))
                    skipItem();
                dao::Index ix;
                ix.name = constraint.empty() ? f.name : constraint;
                ix.foreign = true;
                ix.fields.push_back({f.name, false});
                t.indexes.push_back(std::move(ix));
            } else if (acceptWord("DEFAULT")) {
                if (at_ < tokens_.size())
                    f.defaultValue = tokens_[at_].kind == Token::Kind::Text
                                         ? "\"" + tokens_[at_].text + "\""
                                         : tokens_[at_].text;
                skipItem();
            } else {
                skipItem();
            }
        }
    }

    void tableConstraint(dao::TableDef& t) {
        std::string constraint;
        if (acceptWord("CONSTRAINT")) {
            // Some tools write a bare CONSTRAINT for an index they could not express.
            if (isPunct(")") || isPunct(","))
                return;
            constraint = name();
        }
        if (acceptWord("PRIMARY")) {
            expectWord("KEY");
            t.indexes.push_back(primaryIndex(constraint, nameList()));
        } else if (acceptWord("UNIQUE")) {
            dao::Index ix;
            ix.name = constraint;
            ix.unique = true;
            for (auto& n : nameList())
                ix.fields.push_back({std::move(n), false});
            t.indexes.push_back(std::move(ix));
        } else if (acceptWord("FOREIGN")) {
            expectWord("KEY");
            dao::Index ix;
            ix.name = constraint;
            ix.foreign = true;
            for (auto& n : nameList())
                ix.fields.push_back({std::move(n), false});
            t.indexes.push_back(std::move(ix));
        } else {
            fail("制約の種類がありません");
        }
        while (at_ < tokens_.size() && !isPunct(",") && !isPunct(")"))
            skipItem();
    }

    void createIndex(dao::TableDef& t) {
        expectWord("CREATE");
        dao::Index ix;
        ix.unique = acceptWord("UNIQUE");
        expectWord("INDEX");
        ix.name = name();
        expectWord("ON");
        name();
        expectPunct("(");
        do {
            dao::IndexField f;
            f.name = name();
            f.descending = acceptWord("DESC");
            acceptWord("ASC");
            ix.fields.push_back(std::move(f));
        } while (acceptPunct(","));
        expectPunct(")");
        if (acceptWord("WITH")) {
            while (at_ < tokens_.size() && !isPunct(";")) {
                if (acceptWord("PRIMARY")) {
                    ix.primary = ix.unique = ix.required = true;
                } else if (acceptWord("DISALLOW")) {
                    expectWord("NULL");
                    ix.required = true;
                } else if (acceptWord("IGNORE")) {
                    expectWord("NULL");
                    ix.ignoreNulls = true;
                } else {
                    ++at_;
                }
            }
        }
        t.indexes.push_back(std::move(ix));
    }

    const std::string& source_;
    std::vector<Token> tokens_;
    std::size_t at_ = 0;
};

// XML names escape the characters a name cannot hold as "_xHHHH_".
std::string xmlName(std::string_view name) {
    std::string out;
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (name.substr(i).starts_with("_x") && i + 7 <= name.size() && name[i + 6] == '_' &&
            std::all_of(name.begin() + static_cast<std::ptrdiff_t>(i) + 2,
                        name.begin() + static_cast<std::ptrdiff_t>(i) + 6,
                        [](char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; })) {
            util::AppendUtf8(static_cast<char32_t>(std::strtoul(
                                 std::string(name.substr(i + 2, 4)).c_str(), nullptr, 16)),
                             out);
            i += 6;
        } else {
            out += name[i];
        }
    }
    return out;
}

const XmlElement* child(const XmlElement& e, std::string_view localName) {
    for (const auto& c : e.children) {
        if (c.localName() == localName)
            return &c;
    }
    return nullptr;
}

// The od:fieldProperty / od:tableProperty / od:index entries of an element's annotation.
std::vector<const XmlElement*> appinfo(const XmlElement& e, std::string_view localName) {
    std::vector<const XmlElement*> items;
    const XmlElement* annotation = child(e, "annotation");
    const XmlElement* info = annotation ? child(*annotation, "appinfo") : nullptr;
    if (info) {
        for (const auto& c : info->children) {
            if (c.localName() == localName)
                items.push_back(&c);
        }
    }
    return items;
}

void readProperties(const std::vector<const XmlElement*>& items, Properties& props) {
    for (const XmlElement* p : items) {
        const int type = static_cast<int>(std::strtol(p->attribute("type").c_str(), nullptr, 10));
        props.put(p->attribute("name"), DaoTypedValue(type, p->attribute("value")));
    }
}

dao::Field xmlField(const XmlElement& e, const std::string& source) {
    dao::Field f;
    f.name = xmlName(e.attribute("name"));
    const std::string jetType = e.attribute("od:jetType");
    const JetType* type = findType(kXmlTypes, jetType);
    if (type) {
        f.type = type->type;
        f.size = type->size;
    } else if (jetType == "complex") {
        f.type = kComplexType;
    } else {
        ThrowMalformed(source, e.line,
                       "フィールド " + f.name + " の型 '" + jetType + "' を知りません");
    }
    const bool autoNumber = jetType == "autonumber";
    if (autoNumber && e.attribute("od:sqlSType") == "uniqueidentifier") {
        f.type = dao::dbGUID;
        f.size = 16;
    }
    f.attributes = attributesOf(f.type, autoNumber);
    if (jetType == "hyperlink")
        f.attributes |= dao::dbHyperlinkField;
    f.required = e.attribute("od:nonNullable") == "yes";
    if (f.type == dao::dbText || f.type == dao::dbBinary) {
        f.size = 255;
        if (const XmlElement* simple = child(e, "simpleType")) {
            if (const XmlElement* restriction = child(*simple, "restriction")) {
                if (const XmlElement* max = child(*restriction, "maxLength"))
                    f.size = static_cast<std::int32_t>(
                        std::strtol(max->attribute("value").c_str(), nullptr, 10));
            }
        }
    }
    readProperties(appinfo(e, "fieldProperty"), f.properties);
    auto text = [&](std::string_view name) {
        const auto* p = f.properties.find(name);
        return p ? p->value.toText() : std::string();
    };
    if (const auto* p = f.properties.find("Required"))
        f.required = p->value.toBool();
    if (const auto* p = f.properties.find("AllowZeroLength"))
        f.allowZeroLength = p->value.toBool();
    f.defaultValue = text("DefaultValue");
    f.validationRule = text("ValidationRule");
    f.validationText = text("ValidationText");
    return f;
}

std::vector<std::string> splitBlank(std::string_view s) {
    std::vector<std::string> parts;
    std::string part;
    for (const char c : s) {
        if (c == ' ') {
            if (!part.empty())
                parts.push_back(std::move(part));
            part.clear();
        } else {
            part += c;
        }
    }
    if (!part.empty())
        parts.push_back(std::move(part));
    return parts;
}

dao::Index xmlIndex(const XmlElement& e) {
    dao::Index ix;
    ix.name = e.attribute("index-name");
    ix.primary = e.attribute("primary") == "yes";
    ix.unique = ix.primary || e.attribute("unique") == "yes";
    ix.required = ix.primary;
    ix.clustered = e.attribute("clustered") == "yes";
    const auto keys = splitBlank(e.attribute("index-key"));
    const auto orders = splitBlank(e.attribute("order"));
    for (std::size_t i = 0; i < keys.size(); ++i) {
        ix.fields.push_back({xmlName(keys[i]), i < orders.size() && orders[i] == "desc"});
    }
    return ix;
}

std::string memberText(const JsonValue& items, std::string_view key) {
    const JsonValue* v = items.find(key);
    return v ? v->asText() : std::string();
}

// "[ID], [ObjectType]" or "ID;ObjectType" as field names.
std::vector<std::string> keyFields(std::string_view text) {
    std::vector<std::string> fields;
    std::string field;
    auto flush = [&] {
        std::string f = util::Trim(field);
        if (f.size() >= 2 && f.front() == '[' && f.back() == ']')
            f = f.substr(1, f.size() - 2);
        if (!f.empty())
            fields.push_back(std::move(f));
        field.clear();
    };
    for (const char c : text) {
        if (c == ',' || c == ';')
            flush();
        else
            field += c;
    }
    flush();
    return fields;
}

dao::TableDef linkedTable(std::string name, std::string connect, std::string sourceTable) {
    dao::TableDef t;
    t.name = std::move(name);
    t.connect = std::move(connect);
    t.sourceTableName = std::move(sourceTable);
    t.attributes =
        util::UCase(t.connect).starts_with("ODBC;") ? dao::dbAttachedODBC : dao::dbAttachedTable;
    t.recordCount = -1;
    t.updatable = false;
    t.problem = "リンク先 (" + t.connect + ") はこの環境では読めません。";
    return t;
}

}  // namespace

dao::TableDef ReadTableSql(std::string_view ddl, const std::string& source) {
    return DdlReader(ddl, source).run();
}

dao::TableDef ReadTableXml(const XmlElement& schema, const std::string& source) {
    const XmlElement* table = nullptr;
    for (const auto& e : schema.children) {
        if (e.localName() == "element" && e.attribute("name") != "dataroot" &&
            e.hasAttribute("name")) {
            table = &e;
            break;
        }
    }
    if (!table)
        ThrowMalformed(source, schema.line, "テーブルの要素がありません");
    dao::TableDef t;
    t.name = xmlName(table->attribute("name"));
    readProperties(appinfo(*table, "tableProperty"), t.properties);
    for (const XmlElement* ix : appinfo(*table, "index"))
        t.indexes.push_back(xmlIndex(*ix));
    const XmlElement* complex = child(*table, "complexType");
    const XmlElement* sequence = complex ? child(*complex, "sequence") : nullptr;
    if (sequence) {
        for (const auto& e : sequence->children) {
            if (e.localName() == "element")
                t.fields.push_back(xmlField(e, source));
        }
    }
    return t;
}

dao::TableDef ReadTableLinkJson(const JsonValue& root, const std::string& source) {
    const JsonValue* items = root.find("Items");
    if (!items || items->kind != JsonValue::Kind::Object || memberText(*items, "Name").empty())
        ThrowMalformed(source, 1, "リンク テーブルの Items.Name がありません");
    dao::TableDef t = linkedTable(memberText(*items, "Name"), memberText(*items, "Connect"),
                                  memberText(*items, "SourceTableName"));
    if (const JsonValue* a = items->find("Attributes"); a && a->kind == JsonValue::Kind::Number)
        t.attributes = static_cast<std::int32_t>(a->asInteger());
    for (const char* key : {"Properties", "TableProperties"}) {
        const JsonValue* props = items->find(key);
        if (!props)
            continue;
        for (const auto& [name, p] : props->members) {
            const JsonValue* value = p.find("Value");
            const JsonValue* type = p.find("Type");
            if (value && !t.properties.contains(name))
                t.properties.put(
                    name, DaoTypedValue(type ? static_cast<int>(type->asInteger()) : 0, *value));
        }
    }
    if (const auto key = keyFields(memberText(*items, "PrimaryKey")); !key.empty())
        t.indexes.push_back(primaryIndex("PrimaryKey", key));
    return t;
}

dao::TableDef ReadTableLinkText(std::string_view text, const std::string& source) {
    auto lines = util::SplitLines(text);
    if (!lines.empty() && lines[0].starts_with("\xEF\xBB\xBF"))
        lines[0].erase(0, 3);
    if (lines.size() < 3 || util::Trim(lines[0]).empty())
        ThrowMalformed(source, static_cast<int>(lines.size()),
                       "リンク ファイルには名前、接続文字列、リンク元テーブルの 3 行が要ります");
    dao::TableDef t = linkedTable(util::Trim(lines[0]), lines[1], util::Trim(lines[2]));
    std::vector<std::string> key;
    for (std::size_t i = 3; i < lines.size(); ++i) {
        for (auto& f : keyFields(lines[i]))
            key.push_back(std::move(f));
    }
    if (!key.empty())
        t.indexes.push_back(primaryIndex("PrimaryKey", key));
    return t;
}

Relation ReadRelationJson(const JsonValue& root, const std::string& source) {
    const JsonValue* items = root.find("Items");
    if (!items || items->kind != JsonValue::Kind::Object)
        ThrowMalformed(source, 1, "リレーションシップの Items がありません");
    Relation r;
    r.name = memberText(*items, "Name");
    r.table = memberText(*items, "Table");
    r.foreignTable = memberText(*items, "ForeignTable");
    if (const JsonValue* a = items->find("Attributes"))
        r.attributes = static_cast<std::int32_t>(a->asInteger());
    if (const JsonValue* fields = items->find("Fields")) {
        for (const auto& f : fields->items)
            r.fields.emplace_back(memberText(f, "Name"), memberText(f, "ForeignName"));
    }
    return r;
}

Relation ReadRelationText(std::string_view text, const std::string& source) {
    auto lines = util::SplitLines(text);
    if (!lines.empty() && lines[0].starts_with("\xEF\xBB\xBF"))
        lines[0].erase(0, 3);
    if (lines.size() < 4)
        ThrowMalformed(
            source, static_cast<int>(lines.size()),
            "リレーションシップには属性、名前、テーブル、参照するテーブルの行が要ります");
    Relation r;
    char* end = nullptr;
    r.attributes = static_cast<std::int32_t>(std::strtol(lines[0].c_str(), &end, 10));
    if (end == lines[0].c_str())
        ThrowMalformed(source, 1, "リレーションシップの属性が数値ではありません");
    r.name = util::Trim(lines[1]);
    r.table = util::Trim(lines[2]);
    r.foreignTable = util::Trim(lines[3]);
    std::size_t i = 4;
    while (i < lines.size() && util::Trim(lines[i]) != "Field = Begin")
        ++i;
    for (++i; i + 1 < lines.size() && util::Trim(lines[i]) != "End"; i += 2)
        r.fields.emplace_back(util::Trim(lines[i]), util::Trim(lines[i + 1]));
    return r;
}

void ApplyRelation(const Relation& relation, std::vector<dao::TableDef>& tables) {
    // dbRelationDontEnforce: Jet keeps no index for a relationship it does not enforce.
    constexpr std::int32_t kDontEnforce = 0x2;
    if ((relation.attributes & kDontEnforce) != 0 || relation.fields.empty())
        return;
    for (auto& t : tables) {
        if (!util::EqualsIgnoreCase(t.name, relation.foreignTable) || !t.connect.empty())
            continue;
        for (auto& ix : t.indexes) {
            if (util::EqualsIgnoreCase(ix.name, relation.name)) {
                ix.foreign = true;
                return;
            }
        }
        dao::Index ix;
        ix.name = relation.name;
        ix.foreign = true;
        for (const auto& field : relation.fields)
            ix.fields.push_back({field.second, false});
        t.indexes.push_back(std::move(ix));
        return;
    }
}

}  // namespace zanfor::host::exports
