#pragma once

// The lines of a text read in place, for readers that look at a few lines of a large file or
// copy each line once into what they build. Lines split as util::SplitLines splits them: at
// CR LF, LF or a lone CR, a final line end giving no empty last line.

#include <cstddef>
#include <string_view>
#include <vector>

namespace zanfor::host {

// Every line of `text`; the views point into it.
std::vector<std::string_view> LineViews(std::string_view text);

// Takes the lines one at a time.
class LineCursor {
public:
    explicit LineCursor(std::string_view text) : text_(text) {}

    // The next line into `line`; false when none is left.
    bool next(std::string_view& line);
    // The text after the lines taken.
    std::string_view rest() const { return text_.substr(at_); }

private:
    std::string_view text_;
    std::size_t at_ = 0;
};

// VB's LTrim and Trim without a copy: ASCII and ideographic blanks off the start, or off both
// ends.
std::string_view LeftTrimmedView(std::string_view s);
std::string_view TrimmedView(std::string_view s);

// Whether `s` starts with `word` (upper-case ASCII), letters compared as UCase compares them.
bool StartsWithIgnoringCase(std::string_view s, std::string_view word);

// Whether the trimmed line starts with `word` (upper-case ASCII), letters compared as UCase
// compares them: no other letter upper-cases to an ASCII one.
bool TrimmedStartsWith(std::string_view line, std::string_view word);

}  // namespace zanfor::host
