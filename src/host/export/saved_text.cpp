#include "host/export/saved_text.h"

#include <system_error>

#include "host/error.h"
#include "host/text_lines.h"
#include "util/encoding.h"
#include "util/vb_string.h"

namespace zanfor::host::exports {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// Access nests a few levels (section, tab page, option group, button, its label); far deeper
// text is not Access's and would only exhaust the stack of the readers that walk the tree.
constexpr std::size_t kMaxDepth = 100;

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

bool isOctal(char c) { return c >= '0' && c <= '7'; }

int hexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Appends the bytes of one line of a binary value ("0x2800..." with a trailing "," on all but
// the last); false for any other line.
bool appendHexLine(std::string_view line, std::string& out) {
    if (line.ends_with(","))
        line = trimmed(line.substr(0, line.size() - 1));
    if (!line.starts_with("0x") || line.size() % 2 != 0)
        return false;
    for (std::size_t i = 2; i < line.size(); i += 2) {
        const int high = hexDigit(line[i]);
        const int low = hexDigit(line[i + 1]);
        if (high < 0 || low < 0)
            return false;
        out += static_cast<char>(high * 16 + low);
    }
    return true;
}

// Reads one quoted string starting at s[at] == '"'; returns the position after its closing quote.
std::size_t readQuoted(std::string_view s, std::size_t at, std::string& out,
                       const std::string& source, int line) {
    for (std::size_t i = at + 1; i < s.size(); ++i) {
        const char c = s[i];
        if (c == '"')
            return i + 1;
        if (c != '\\' || i + 1 >= s.size()) {
            out += c;
            continue;
        }
        const char next = s[++i];
        if (isOctal(next)) {
            int code = 0;
            std::size_t digits = 0;
            while (digits < 3 && i < s.size() && isOctal(s[i])) {
                code = code * 8 + (s[i] - '0');
                ++i;
                ++digits;
            }
            --i;
            out += static_cast<char>(code);
        } else if (next == 'n') {
            out += '\n';
        } else if (next == 'r') {
            out += '\r';
        } else if (next == 't') {
            out += '\t';
        } else {
            out += next;
        }
    }
    ThrowMalformed(source, line, "引用符が閉じられていません");
}

// A Windows character set number (LOGFONT.lfCharSet) to its ANSI code page; 0 when the set
// says nothing about the text's code page.
int codePageOfCharSet(int charSet) {
    switch (charSet) {
        case 128:
            return 932;
        case 129:
            return 949;
        case 134:
            return 936;
        case 136:
            return 950;
        case 161:
            return 1253;
        case 162:
            return 1254;
        case 163:
            return 1258;
        case 177:
            return 1255;
        case 178:
            return 1256;
        case 186:
            return 1257;
        case 204:
            return 1251;
        case 222:
            return 874;
        case 238:
            return 1250;
        default:
            return 0;
    }
}

}  // namespace

int CodePageHint(std::string_view bytes) {
    int found = 0;
    for (std::size_t at = bytes.find("CharSet ="); at != std::string_view::npos;
         at = bytes.find("CharSet =", at + 1)) {
        int charSet = 0;
        std::size_t i = at + 9;
        bool digits = false;
        while (i < bytes.size() && bytes[i] >= '0' && bytes[i] <= '9' && charSet < 1000) {
            charSet = charSet * 10 + (bytes[i++] - '0');
            digits = true;
        }
        const int codePage = digits ? codePageOfCharSet(charSet) : 0;
        if (codePage == 932)
            return 932;
        if (codePage != 0 && found != 0 && found != codePage)
            return 932;
        if (codePage != 0)
            found = codePage;
    }
    return found;
}

namespace {

// The value part of "Name = Begin" or "UnknownProp = {...} Begin": a value written as a block.
bool opensBlock(std::string_view value) { return value == "Begin" || value.ends_with(" Begin"); }

bool valueOpensBlock(std::string_view line) {
    const std::size_t equals = line.find(" =");
    if (equals == std::string_view::npos || line.starts_with("\""))
        return false;
    const std::string_view value = trimmed(line.substr(equals + 2));
    return !value.starts_with("\"") && opensBlock(value);
}

// Access writes a character beyond the BMP as its two UTF-16 halves, each in UTF-8's three-byte
// form (CESU-8); such a pair is joined into the character's proper four bytes.
std::string joinSurrogatePairs(std::string bytes) {
    if (bytes.find('\xED') == std::string::npos)
        return bytes;
    std::string out;
    out.reserve(bytes.size());
    auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    for (std::size_t i = 0; i < bytes.size();) {
        if (i + 6 <= bytes.size() && byte(i) == 0xED && (byte(i + 1) & 0xF0) == 0xA0 &&
            (byte(i + 2) & 0xC0) == 0x80 && byte(i + 3) == 0xED && (byte(i + 4) & 0xF0) == 0xB0 &&
            (byte(i + 5) & 0xC0) == 0x80) {
            const char32_t high = 0xD000 | ((byte(i + 1) & 0x3F) << 6) | (byte(i + 2) & 0x3F);
            const char32_t low = 0xD000 | ((byte(i + 4) & 0x3F) << 6) | (byte(i + 5) & 0x3F);
            util::AppendUtf8(0x10000 + ((high - 0xD800) << 10) + (low - 0xDC00), out);
            i += 6;
        } else {
            out += bytes[i++];
        }
    }
    return out;
}

class Parser {
public:
    // The lines are views into `text`, which outlives the parser.
    Parser(std::string_view text, const std::string& source)
        : lines_(LineViews(text)), source_(source) {}

    SavedText run() {
        SavedText result;
        std::vector<SavedBlock*> stack{&result.root};
        for (index_ = 0; index_ < lines_.size(); ++index_) {
            const std::string_view s = trimmed(lines_[index_]);
            if (s.empty())
                continue;
            if (s == "CodeBehindForm") {
                if (stack.size() > 1)
                    fail("CodeBehindForm がブロックの中にあります");
                result.code = rest(index_ + 1);
                break;
            }
            if (s == "End") {
                if (stack.size() == 1)
                    fail("End に対応する Begin がありません");
                stack.pop_back();
                continue;
            }
            if (s == "Begin" || s.starts_with("Begin ")) {
                if (stack.size() > kMaxDepth)
                    fail("Begin の入れ子が深すぎます");
                SavedBlock block;
                block.kind = std::string(trimmed(s.substr(5)));
                block.line = lineNumber();
                stack.back()->children.push_back(std::move(block));
                stack.push_back(&stack.back()->children.back());
                continue;
            }
            stack.back()->properties.push_back(property(s));
        }
        if (stack.size() > 1) {
            ThrowMalformed(source_, stack.back()->line,
                           "Begin " + stack.back()->kind + " が End で閉じられていません");
        }
        return result;
    }

private:
    int lineNumber() const { return static_cast<int>(index_) + 1; }

    [[noreturn]] void fail(std::string_view reason) const {
        ThrowMalformed(source_, lineNumber(), reason);
    }

    std::string rest(std::size_t from) const {
        std::string code;
        for (std::size_t i = from; i < lines_.size(); ++i) {
            if (i > from)
                code += "\r\n";
            code += lines_[i];
        }
        return code;
    }

    SavedProperty property(std::string_view s) {
        SavedProperty p;
        p.line = lineNumber();
        std::size_t valueAt = 0;
        if (s.starts_with("db") && s.find(" \"") != std::string_view::npos &&
            s.find(" \"") < s.find(" =")) {
            const std::size_t space = s.find(" \"");
            p.type = std::string(s.substr(0, space));
            valueAt = readQuoted(s, space + 1, p.name, source_, p.line);
            if (s.substr(valueAt, 2) != " =")
                fail("型付きの値に \" =\" がありません");
            valueAt += 2;
        } else {
            const std::size_t equals = s.find(" =");
            if (equals == std::string_view::npos || equals == 0 ||
                s.substr(0, equals).find('"') != std::string_view::npos) {
                fail("プロパティでもブロックでもない行です");
            }
            p.name = std::string(s.substr(0, equals));
            valueAt = equals + 2;
        }
        p.value = value(s.substr(valueAt));
        return p;
    }

    SavedValue value(std::string_view written) {
        SavedValue v;
        const std::string_view t = trimmed(written);
        if (t.starts_with("\"")) {
            v.kind = SavedValue::Kind::Text;
            if (!trimmed(t.substr(readQuoted(t, 0, v.text, source_, lineNumber()))).empty())
                fail("引用符の後に余分な文字があります");
            while (index_ + 1 < lines_.size() && trimmed(lines_[index_ + 1]).starts_with("\"")) {
                ++index_;
                const std::string_view next = trimmed(lines_[index_]);
                if (!trimmed(next.substr(readQuoted(next, 0, v.text, source_, lineNumber())))
                         .empty()) {
                    fail("引用符の後に余分な文字があります");
                }
            }
        } else if (t == "NotDefault") {
            v.kind = SavedValue::Kind::NotDefault;
        } else if (opensBlock(t)) {
            // Hex lines, or in later versions a whole embedded macro with blocks of its own.
            v.kind = SavedValue::Kind::Binary;
            const int opened = lineNumber();
            int depth = 1;
            bool hex = true;
            while (depth > 0 && ++index_ < lines_.size()) {
                const std::string_view line = trimmed(lines_[index_]);
                if (line == "End") {
                    --depth;
                } else if (line == "Begin" || line.starts_with("Begin ") || valueOpensBlock(line)) {
                    ++depth;
                    hex = false;
                } else if (hex && !appendHexLine(line, v.bytes)) {
                    hex = false;
                }
            }
            if (index_ >= lines_.size())
                ThrowMalformed(source_, opened, "バイナリ値が End で閉じられていません");
            if (!hex)
                v.bytes.clear();
        } else if (t.empty()) {
            v.kind = SavedValue::Kind::Text;
        } else {
            v.kind = SavedValue::Kind::Number;
            v.text = std::string(t);
        }
        return v;
    }

    std::vector<std::string_view> lines_;
    const std::string& source_;
    std::size_t index_ = 0;
};

}  // namespace

const SavedProperty* SavedBlock::find(std::string_view name) const {
    for (auto it = properties.rbegin(); it != properties.rend(); ++it) {
        if (util::EqualsIgnoreCase(it->name, name))
            return &*it;
    }
    return nullptr;
}

std::string SavedBlock::text(std::string_view name, std::string_view fallback) const {
    const SavedProperty* p = find(name);
    return p ? p->value.text : std::string(fallback);
}

void ThrowMalformed(const std::string& source, int line, std::string_view reason) {
    throw Error(err::kExportMalformed, "エクスポート ファイル '" + source + "' の " +
                                           std::to_string(line) +
                                           " 行目を読めません: " + std::string(reason) + "。");
}

SavedText ParseSavedText(std::string_view text, const std::string& source) {
    if (text.starts_with(kUtf8Bom))
        text.remove_prefix(kUtf8Bom.size());
    return Parser(text, source).run();
}

std::string ReadExportFile(const std::filesystem::path& file, int defaultCodePage) {
    return ReadExportFile(file, [defaultCodePage] { return defaultCodePage; });
}

std::string ReadExportFile(const std::filesystem::path& file,
                           const std::function<int()>& defaultCodePage) {
    std::string bytes;
    try {
        bytes = joinSurrogatePairs(util::ReadFileBytes(file));
    } catch (const std::system_error& e) {
        throw Error(err::kFileNotFound,
                    "エクスポート ファイル '" + file.string() + "' を読めません: " + e.what());
    }
    // Valid UTF-8 is the text as it stands (DecodeText's answer), taken without a copy.
    if (std::string_view(bytes).starts_with(kUtf8Bom)) {
        bytes.erase(0, kUtf8Bom.size());
        return util::IsValidUtf8(bytes) ? std::move(bytes)
                                        : util::DecodeText(std::string(kUtf8Bom) + bytes);
    }
    if (util::IsValidUtf8(bytes))
        return bytes;
    const int hint = CodePageHint(bytes);
    return util::DecodeCodePage(bytes, hint != 0 ? hint : defaultCodePage());
}

}  // namespace zanfor::host::exports
