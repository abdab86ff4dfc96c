#include "host/export/xml_tree.h"

#include <algorithm>
#include <cstdlib>

#include "host/export/saved_text.h"
#include "util/vb_string.h"

namespace zanfor::host::exports {

namespace {

constexpr int kMaxDepth = 200;

bool isNameChar(char c) {
    return c != ' ' && c != '\t' && c != '\r' && c != '\n' && c != '/' && c != '>' && c != '=' &&
           c != '<' && c != '"' && c != '\'';
}

// A character reference outside Unicode becomes the replacement character.
void appendCharacter(unsigned long code, std::string& out) {
    const bool valid = code != 0 && code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF);
    util::AppendUtf8(valid ? static_cast<char32_t>(code) : U'\uFFFD', out);
}

class Parser {
public:
    Parser(std::string_view text, const std::string& source) : s_(text), source_(source) {
        if (s_.starts_with("\xEF\xBB\xBF"))
            s_.remove_prefix(3);
    }

    XmlElement run() {
        skipMisc();
        if (at_ >= s_.size() || s_[at_] != '<')
            fail("XML の要素がありません");
        XmlElement root = element(0);
        skipMisc();
        if (at_ != s_.size())
            fail("XML のルート要素の後に余分な文字があります");
        return root;
    }

private:
    // Every element records its line: the count goes on from the last position asked for, as
    // the parser only moves forward, instead of starting again at the top of the file.
    int lineAt(std::size_t pos) const {
        pos = std::min(pos, s_.size());
        if (pos < counted_) {
            counted_ = 0;
            line_ = 1;
        }
        line_ += static_cast<int>(std::count(s_.begin() + static_cast<std::ptrdiff_t>(counted_),
                                             s_.begin() + static_cast<std::ptrdiff_t>(pos), '\n'));
        counted_ = pos;
        return line_;
    }

    [[noreturn]] void fail(std::string_view reason) const {
        ThrowMalformed(source_, lineAt(at_), reason);
    }

    void skipSpace() {
        while (at_ < s_.size() &&
               (s_[at_] == ' ' || s_[at_] == '\t' || s_[at_] == '\r' || s_[at_] == '\n'))
            ++at_;
    }

    void skipPast(std::string_view end) {
        const std::size_t found = s_.find(end, at_);
        if (found == std::string_view::npos)
            fail("XML の宣言またはコメントが閉じられていません");
        at_ = found + end.size();
    }

    // Declarations, comments, processing instructions and blanks around elements.
    void skipMisc() {
        for (;;) {
            skipSpace();
            const std::string_view rest = s_.substr(at_);
            if (rest.starts_with("<?"))
                skipPast("?>");
            else if (rest.starts_with("<!--"))
                skipPast("-->");
            else if (rest.starts_with("<!"))
                skipPast(">");
            else
                return;
        }
    }

    std::string name() {
        const std::size_t start = at_;
        while (at_ < s_.size() && isNameChar(s_[at_]))
            ++at_;
        if (at_ == start)
            fail("XML の名前がありません");
        return std::string(s_.substr(start, at_ - start));
    }

    std::string decode(std::string_view raw) const {
        std::string out;
        for (std::size_t i = 0; i < raw.size(); ++i) {
            if (raw[i] != '&') {
                out += raw[i];
                continue;
            }
            const std::size_t semi = raw.find(';', i);
            if (semi == std::string_view::npos) {
                out += raw[i];
                continue;
            }
            const std::string_view entity = raw.substr(i + 1, semi - i - 1);
            if (entity == "amp")
                out += '&';
            else if (entity == "lt")
                out += '<';
            else if (entity == "gt")
                out += '>';
            else if (entity == "quot")
                out += '"';
            else if (entity == "apos")
                out += '\'';
            else if (entity.starts_with("#x") || entity.starts_with("#X"))
                appendCharacter(std::strtoul(std::string(entity.substr(2)).c_str(), nullptr, 16),
                                out);
            else if (entity.starts_with("#"))
                appendCharacter(std::strtoul(std::string(entity.substr(1)).c_str(), nullptr, 10),
                                out);
            else {
                out += raw.substr(i, semi - i + 1);
            }
            i = semi;
        }
        return out;
    }

    XmlElement element(int depth) {
        if (depth > kMaxDepth)
            fail("XML の入れ子が深すぎます");
        XmlElement e;
        e.line = lineAt(at_);
        ++at_;
        e.name = name();
        for (;;) {
            skipSpace();
            if (at_ >= s_.size())
                fail("XML の開始タグが閉じられていません");
            if (s_.substr(at_).starts_with("/>")) {
                at_ += 2;
                return e;
            }
            if (s_[at_] == '>') {
                ++at_;
                break;
            }
            std::string key = name();
            skipSpace();
            if (at_ >= s_.size() || s_[at_] != '=')
                fail("XML の属性に '=' がありません");
            ++at_;
            skipSpace();
            if (at_ >= s_.size() || (s_[at_] != '"' && s_[at_] != '\''))
                fail("XML の属性値に引用符がありません");
            const char quote = s_[at_++];
            const std::size_t end = s_.find(quote, at_);
            if (end == std::string_view::npos)
                fail("XML の属性値の引用符が閉じられていません");
            e.attributes.emplace_back(std::move(key), decode(s_.substr(at_, end - at_)));
            at_ = end + 1;
        }
        for (;;) {
            const std::size_t lt = s_.find('<', at_);
            if (lt == std::string_view::npos)
                fail("XML の要素 <" + e.name + "> が閉じられていません");
            e.text += decode(s_.substr(at_, lt - at_));
            at_ = lt;
            const std::string_view rest = s_.substr(at_);
            if (rest.starts_with("</")) {
                at_ += 2;
                if (name() != e.name)
                    fail("XML の終了タグが <" + e.name + "> と合いません");
                skipSpace();
                if (at_ >= s_.size() || s_[at_] != '>')
                    fail("XML の終了タグが閉じられていません");
                ++at_;
                return e;
            }
            if (rest.starts_with("<![CDATA[")) {
                at_ += 9;
                const std::size_t end = s_.find("]]>", at_);
                if (end == std::string_view::npos)
                    fail("CDATA が閉じられていません");
                e.text += s_.substr(at_, end - at_);
                at_ = end + 3;
            } else if (rest.starts_with("<!--")) {
                skipPast("-->");
            } else if (rest.starts_with("<?")) {
                skipPast("?>");
            } else {
                e.children.push_back(element(depth + 1));
            }
        }
    }

    std::string_view s_;
    const std::string& source_;
    std::size_t at_ = 0;
    mutable std::size_t counted_ = 0;  // lines are counted up to here
    mutable int line_ = 1;             // the line of that position
};

}  // namespace

std::string XmlElement::attribute(std::string_view attributeName, std::string_view fallback) const {
    for (const auto& [key, value] : attributes) {
        if (key == attributeName)
            return value;
    }
    return std::string(fallback);
}

bool XmlElement::hasAttribute(std::string_view attributeName) const {
    for (const auto& a : attributes) {
        if (a.first == attributeName)
            return true;
    }
    return false;
}

std::string_view XmlElement::localName() const {
    const auto colon = name.find(':');
    return colon == std::string::npos ? std::string_view(name)
                                      : std::string_view(name).substr(colon + 1);
}

XmlElement ParseXml(std::string_view text, const std::string& source) {
    return Parser(text, source).run();
}

}  // namespace zanfor::host::exports
