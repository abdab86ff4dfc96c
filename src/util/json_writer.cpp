#include "util/json_writer.h"

#include <cmath>
#include <cstdio>

#include "util/vb_string.h"

namespace zanfor::util {

std::string JsonQuote(std::string_view text) {
    std::string out = "\"";
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        const std::size_t length = Utf8CharLength(text, i);
        if (c >= 0x80) {
            if (IsValidUtf8(text.substr(i, length))) {
                out.append(text.substr(i, length));
            } else {
                out += "\\ufffd";
            }
            i += length;
            continue;
        }
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (c < 0x20) {
                    char buf[8];
                    std::snprintf(buf, sizeof buf, "\\u%04x", c);
                    out += buf;
                } else {
                    out += static_cast<char>(c);
                }
        }
        ++i;
    }
    return out + "\"";
}

void JsonWriter::newline() { *out_ << '\n' << std::string(first_.size() * 2, ' '); }

void JsonWriter::beforeValue() {
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (!first_.empty()) {
        if (!first_.back())
            *out_ << ',';
        first_.back() = false;
        newline();
    }
}

JsonWriter& JsonWriter::beginObject() {
    beforeValue();
    *out_ << '{';
    first_.push_back(true);
    return *this;
}

JsonWriter& JsonWriter::endObject() {
    const bool empty = first_.back();
    first_.pop_back();
    if (!empty)
        newline();
    *out_ << '}';
    if (first_.empty())
        *out_ << '\n';
    return *this;
}

JsonWriter& JsonWriter::beginArray() {
    beforeValue();
    *out_ << '[';
    first_.push_back(true);
    return *this;
}

JsonWriter& JsonWriter::endArray() {
    const bool empty = first_.back();
    first_.pop_back();
    if (!empty)
        newline();
    *out_ << ']';
    if (first_.empty())
        *out_ << '\n';
    return *this;
}

JsonWriter& JsonWriter::key(std::string_view name) {
    beforeValue();
    *out_ << JsonQuote(name) << ": ";
    afterKey_ = true;
    return *this;
}

JsonWriter& JsonWriter::value(std::string_view text) {
    beforeValue();
    *out_ << JsonQuote(text);
    return *this;
}

JsonWriter& JsonWriter::value(std::int64_t number) {
    beforeValue();
    *out_ << number;
    return *this;
}

JsonWriter& JsonWriter::value(double number) {
    beforeValue();
    if (!std::isfinite(number)) {
        *out_ << "null";
    } else {
        char buf[32];
        std::snprintf(buf, sizeof buf, "%.17g", number);
        *out_ << buf;
    }
    return *this;
}

JsonWriter& JsonWriter::value(bool flag) {
    beforeValue();
    *out_ << (flag ? "true" : "false");
    return *this;
}

JsonWriter& JsonWriter::null() {
    beforeValue();
    *out_ << "null";
    return *this;
}

}  // namespace zanfor::util
