#include "host/text_lines.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "util/encoding.h"

namespace {

using namespace zanfor::host;

// Lines read in place are the lines the copying split gives, line ends of every kind included.
TEST(TextLines, viewsSplitAsTheCopyingSplitDoes) {
    for (const char* text : {"", "a", "a\r\n", "a\n\n", "\r", "\n\r\n", "a\rb\r\nc\nd", "a\r\n\r\n",
                             "a\r\rb", "末尾なし\n続き"}) {
        const auto views = LineViews(text);
        EXPECT_EQ(std::vector<std::string>(views.begin(), views.end()),
                  zanfor::util::SplitLines(text))
            << text;
    }
}

TEST(TextLines, trimsAndComparesAsVbsTrimAndUCase) {
    const struct {
        const char* line;
        const char* word;
        bool starts;
    } cases[] = {
        {"  option Explicit", "OPTION ", true},
        {"\xE3\x80\x80Rem x", "REM ", true},
        {"Option  ", "OPTION ", false},    // the blanks at the end are trimmed away
        {"\tOption x", "OPTION ", false},  // a tab is no blank to Trim
        {"ｏption x", "OPTION ", false},   // a full-width letter stays one
        {"Opt", "OPTION ", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TrimmedStartsWith(c.line, c.word), c.starts) << c.line;
    EXPECT_EQ(LeftTrimmedView(" \xE3\x80\x80"
                              "a  "),
              "a  ");
    EXPECT_EQ(TrimmedView("\xE3\x80\x80 a b \xE3\x80\x80"), "a b");
}

}  // namespace
