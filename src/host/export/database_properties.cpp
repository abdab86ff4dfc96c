#include "host/export/database_properties.h"

#include <cstdlib>

#include "host/dao.h"
#include "host/export/saved_text.h"
#include "host/export/typed_value.h"
#include "util/encoding.h"
#include "util/vb_string.h"

namespace zanfor::host::exports {

namespace {

std::string withoutBom(std::string_view line) {
    return std::string(line.starts_with("\xEF\xBB\xBF") ? line.substr(3) : line);
}

}  // namespace

Properties ReadDatabasePropertiesJson(const JsonValue& root, const std::string& source) {
    const JsonValue* items = root.find("Items");
    if (!items || items->kind != JsonValue::Kind::Object)
        ThrowMalformed(source, 1, "データベース プロパティの Items がありません");
    Properties props;
    for (const auto& [name, p] : items->members) {
        const JsonValue* value = p.find("Value");
        const JsonValue* type = p.find("Type");
        props.put(name, value
                            ? DaoTypedValue(type ? static_cast<int>(type->asInteger()) : 0, *value)
                            : DaoTypedValue(0, p));
    }
    return props;
}

Properties ReadDatabasePropertiesText(std::string_view text) {
    Properties props;
    for (const auto& raw : util::SplitLines(text)) {
        const std::string line = withoutBom(raw);
        // The separator was a character the tool's code page could not write; it reads as "?".
        const auto first = line.find_first_of("?\t");
        const auto last = line.find_last_of("?\t");
        if (first == std::string::npos || first == 0)
            continue;
        if (last == first) {
            props.put(line.substr(0, first), line.substr(first + 1));
            continue;
        }
        char* end = nullptr;
        const std::string typeText = line.substr(last + 1);
        const long type = std::strtol(typeText.c_str(), &end, 10);
        const std::string value = line.substr(first + 1, last - first - 1);
        if (end == typeText.c_str() || *end != '\0')
            props.put(line.substr(0, first), line.substr(first + 1));
        else
            props.put(line.substr(0, first), DaoTypedValue(static_cast<int>(type), value));
    }
    return props;
}

Properties ReadProjectFileProperties(std::string_view text) {
    Properties props;
    bool inSection = false;
    for (const auto& raw : util::SplitLines(text)) {
        const std::string line = util::Trim(withoutBom(raw));
        if (line.starts_with("[")) {
            inSection = util::EqualsIgnoreCase(line, "[Database Properties]");
            continue;
        }
        const auto equals = line.find('=');
        if (!inSection || equals == std::string::npos || equals == 0)
            continue;
        const std::string name = line.substr(0, equals);
        const std::string value = line.substr(equals + 1);
        const auto colon = value.find(':');
        const int type =
            colon == std::string::npos ? 0 : DaoTypeOfName("db" + value.substr(0, colon));
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
            props.put(name, value.substr(1, value.size() - 2));
        else if (type != 0)
            props.put(name, DaoTypedValue(type, value.substr(colon + 1)));
        else if (util::EqualsIgnoreCase(value, "True") || util::EqualsIgnoreCase(value, "False"))
            props.put(name, DaoTypedValue(dao::dbBoolean, value));
        else
            props.put(name, value);
    }
    return props;
}

}  // namespace zanfor::host::exports
