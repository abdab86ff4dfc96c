#pragma once

// The JSON files of an export folder (table links, query and database properties,
// import/export definitions), read into a tree that keeps the order of object members: a
// definition's columns and a database's properties are listed in the order written.

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zanfor::host::exports {

struct JsonMember;

struct JsonValue {
    enum class Kind { Null, Bool, Number, String, Array, Object };

    Kind kind = Kind::Null;
    bool boolean = false;
    std::string text;  // a string's value, or a number as written
    std::vector<JsonValue> items;
    std::vector<JsonMember> members;

    // The member of that name (exact spelling first, then without regard to case), or nullptr.
    const JsonValue* find(std::string_view key) const;
    // A string or number as text, a boolean as "True"/"False"; "" otherwise.
    std::string asText() const;
    bool isIntegral() const;
    std::int64_t asInteger() const;
    double asDouble() const;
};

// A member of an object, read as a std::pair would be; a pair cannot hold the type being
// declared (clang rejects it), a vector of a type declared later can.
struct JsonMember {
    JsonMember(std::string name, JsonValue value)
        : first(std::move(name)), second(std::move(value)) {}
    std::string first;
    JsonValue second;
};

// Throws host::Error (err::kExportMalformed) naming `source` and the line.
JsonValue ParseJson(std::string_view text, const std::string& source);

}  // namespace zanfor::host::exports
