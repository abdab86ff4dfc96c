#include "host/export/json_value.h"

#include <cstdlib>

#include "host/export/saved_text.h"
#include "util/vb_string.h"

namespace zanfor::host::exports {

namespace {

// Deep enough for every file an export tool writes, shallow enough that hostile nesting cannot
// exhaust the stack.
constexpr int kMaxDepth = 200;

class Parser {
public:
    Parser(std::string_view text, const std::string& source) : s_(text), source_(source) {
        if (s_.starts_with("\xEF\xBB\xBF"))
            s_.remove_prefix(3);
    }

    JsonValue run() {
        JsonValue v = value(0);
        skipSpace();
        if (at_ != s_.size())
            fail("JSON の値の後に余分な文字があります");
        return v;
    }

private:
    [[noreturn]] void fail(std::string_view reason) const {
        int line = 1;
        for (std::size_t i = 0; i < at_ && i < s_.size(); ++i)
            line += s_[i] == '\n' ? 1 : 0;
        ThrowMalformed(source_, line, reason);
    }

    void skipSpace() {
        while (at_ < s_.size() &&
               (s_[at_] == ' ' || s_[at_] == '\t' || s_[at_] == '\r' || s_[at_] == '\n'))
            ++at_;
    }

    bool consume(std::string_view word) {
        if (s_.substr(at_).starts_with(word)) {
            at_ += word.size();
            return true;
        }
        return false;
    }

    void expect(char c) {
        skipSpace();
        if (at_ >= s_.size() || s_[at_] != c)
            fail(std::string("'") + c + "' がありません");
        ++at_;
    }

    JsonValue value(int depth) {
        if (depth > kMaxDepth)
            fail("JSON の入れ子が深すぎます");
        skipSpace();
        if (at_ >= s_.size())
            fail("JSON の値がありません");
        JsonValue v;
        const char c = s_[at_];
        if (c == '{') {
            v.kind = JsonValue::Kind::Object;
            ++at_;
            skipSpace();
            if (consume("}"))
                return v;
            do {
                skipSpace();
                std::string key = string();
                expect(':');
                v.members.emplace_back(std::move(key), value(depth + 1));
                skipSpace();
            } while (consume(","));
            expect('}');
        } else if (c == '[') {
            v.kind = JsonValue::Kind::Array;
            ++at_;
            skipSpace();
            if (consume("]"))
                return v;
            do {
                v.items.push_back(value(depth + 1));
                skipSpace();
            } while (consume(","));
            expect(']');
        } else if (c == '"') {
            v.kind = JsonValue::Kind::String;
            v.text = string();
        } else if (consume("true")) {
            v.kind = JsonValue::Kind::Bool;
            v.boolean = true;
        } else if (consume("false")) {
            v.kind = JsonValue::Kind::Bool;
        } else if (consume("null")) {
            v.kind = JsonValue::Kind::Null;
        } else {
            v.kind = JsonValue::Kind::Number;
            v.text = number();
        }
        return v;
    }

    std::string number() {
        const std::size_t start = at_;
        while (at_ < s_.size() &&
               (std::string_view("+-.eE").find(s_[at_]) != std::string_view::npos ||
                (s_[at_] >= '0' && s_[at_] <= '9')))
            ++at_;
        if (at_ == start)
            fail("JSON として読めない値です");
        return std::string(s_.substr(start, at_ - start));
    }

    unsigned hex4() {
        if (at_ + 4 > s_.size())
            fail("\\u の後に 16 進数 4 桁がありません");
        unsigned code = 0;
        for (int i = 0; i < 4; ++i) {
            const char h = s_[at_++];
            code <<= 4;
            if (h >= '0' && h <= '9')
                code |= static_cast<unsigned>(h - '0');
            else if (h >= 'a' && h <= 'f')
                code |= static_cast<unsigned>(h - 'a' + 10);
            else if (h >= 'A' && h <= 'F')
                code |= static_cast<unsigned>(h - 'A' + 10);
            else
                fail("\\u の後に 16 進数 4 桁がありません");
        }
        return code;
    }

    std::string string() {
        if (at_ >= s_.size() || s_[at_] != '"')
            fail("文字列がありません");
        ++at_;
        std::string out;
        while (at_ < s_.size() && s_[at_] != '"') {
            const char c = s_[at_++];
            if (c != '\\') {
                out += c;
                continue;
            }
            if (at_ >= s_.size())
                break;
            const char e = s_[at_++];
            switch (e) {
                case 'n':
                    out += '\n';
                    break;
                case 'r':
                    out += '\r';
                    break;
                case 't':
                    out += '\t';
                    break;
                case 'b':
                    out += '\b';
                    break;
                case 'f':
                    out += '\f';
                    break;
                case 'u': {
                    char32_t code = hex4();
                    if (code >= 0xD800 && code < 0xDC00 && consume("\\u")) {
                        const unsigned low = hex4();
                        code = low >= 0xDC00 && low < 0xE000
                                   ? 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00)
                                   : 0xFFFD;
                    }
                    util::AppendUtf8(code, out);
                    break;
                }
                default:
                    out += e;
            }
        }
        if (at_ >= s_.size())
            fail("文字列の引用符が閉じられていません");
        ++at_;
        return out;
    }

    std::string_view s_;
    const std::string& source_;
    std::size_t at_ = 0;
};

}  // namespace

const JsonValue* JsonValue::find(std::string_view key) const {
    for (const auto& [name, value] : members) {
        if (name == key)
            return &value;
    }
    for (const auto& [name, value] : members) {
        if (util::EqualsIgnoreCase(name, key))
            return &value;
    }
    return nullptr;
}

std::string JsonValue::asText() const {
    switch (kind) {
        case Kind::String:
        case Kind::Number:
            return text;
        case Kind::Bool:
            return boolean ? "True" : "False";
        default:
            return {};
    }
}

bool JsonValue::isIntegral() const {
    return kind == Kind::Number && text.find_first_of(".eE") == std::string::npos;
}

std::int64_t JsonValue::asInteger() const {
    if (kind == Kind::Bool)
        return boolean ? -1 : 0;
    return std::strtoll(text.c_str(), nullptr, 10);
}

double JsonValue::asDouble() const { return std::strtod(text.c_str(), nullptr); }

JsonValue ParseJson(std::string_view text, const std::string& source) {
    return Parser(text, source).run();
}

}  // namespace zanfor::host::exports
