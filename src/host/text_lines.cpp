#include "host/text_lines.h"

#include <cstring>

#include "util/vb_string.h"

namespace zanfor::host {

std::vector<std::string_view> LineViews(std::string_view text) {
    std::vector<std::string_view> lines;
    LineCursor cursor(text);
    for (std::string_view line; cursor.next(line);)
        lines.push_back(line);
    return lines;
}

bool LineCursor::next(std::string_view& line) {
    if (at_ >= text_.size())
        return false;
    // Two memchr calls, each a vector scan, find the line end faster than a walk over the bytes.
    const char* begin = text_.data() + at_;
    std::size_t length = text_.size() - at_;
    if (const void* lf = std::memchr(begin, '\n', length))
        length = static_cast<std::size_t>(static_cast<const char*>(lf) - begin);
    if (const void* cr = std::memchr(begin, '\r', length))
        length = static_cast<std::size_t>(static_cast<const char*>(cr) - begin);
    line = std::string_view(begin, length);
    const std::size_t end = at_ + length;
    if (end >= text_.size())
        at_ = text_.size();
    else
        at_ =
            end + (text_[end] == '\r' && end + 1 < text_.size() && text_[end + 1] == '\n' ? 2 : 1);
    return true;
}

std::string_view LeftTrimmedView(std::string_view s) {
    for (;;) {
        if (s.starts_with(' '))
            s.remove_prefix(1);
        else if (s.starts_with(util::kIdeographicSpace))
            s.remove_prefix(util::kIdeographicSpace.size());
        else
            return s;
    }
}

std::string_view TrimmedView(std::string_view s) {
    s = LeftTrimmedView(s);
    for (;;) {
        if (s.ends_with(' '))
            s.remove_suffix(1);
        else if (s.ends_with(util::kIdeographicSpace))
            s.remove_suffix(util::kIdeographicSpace.size());
        else
            return s;
    }
}

bool StartsWithIgnoringCase(std::string_view s, std::string_view word) {
    if (s.size() < word.size())
        return false;
    for (std::size_t i = 0; i < word.size(); ++i) {
        const char c = s[i];
        if ((c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c) != word[i])
            return false;
    }
    return true;
}

bool TrimmedStartsWith(std::string_view line, std::string_view word) {
    return StartsWithIgnoringCase(TrimmedView(line), word);
}

}  // namespace zanfor::host
