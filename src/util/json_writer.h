#pragma once

// A small streaming JSON writer for the command line's machine-readable output.

#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace zanfor::util {

class JsonWriter {
public:
    explicit JsonWriter(std::ostream& out) : out_(&out) {}

    JsonWriter& beginObject();
    JsonWriter& endObject();
    JsonWriter& beginArray();
    JsonWriter& endArray();
    // Inside an object: the next value's name.
    JsonWriter& key(std::string_view name);

    JsonWriter& value(std::string_view text);
    JsonWriter& value(const char* text) { return value(std::string_view(text)); }
    JsonWriter& value(std::int64_t number);
    JsonWriter& value(int number) { return value(static_cast<std::int64_t>(number)); }
    JsonWriter& value(double number);
    JsonWriter& value(bool flag);
    JsonWriter& null();

private:
    void beforeValue();
    void newline();

    std::ostream* out_;
    std::vector<bool> first_;  // per open container: nothing written in it yet
    bool afterKey_ = false;
};

// The text as a JSON string literal. Invalid UTF-8 bytes become U+FFFD so the output parses.
std::string JsonQuote(std::string_view text);

}  // namespace zanfor::util
