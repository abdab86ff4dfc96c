#include "report/text_layout.h"

#include <gtest/gtest.h>

#include <QStringList>

namespace {

using zanfor::report::FontBook;
using zanfor::report::FontRole;

struct WrapCase {
    const char* name;
    const char* text;
    double widthInEms;  // the frame width, in widths of "あ"
    int lines;          // expected number of lines; 0 when only the invariants are checked
};

void PrintTo(const WrapCase& c, std::ostream* out) { *out << c.name; }

class WrapTest : public ::testing::TestWithParam<WrapCase> {
protected:
    FontBook fonts;
    int font = fonts.font({FontRole::Text, 9, false});
};

// Removing the blanks a soft break drops must give the text back.
QString WithoutBlanks(QString s) { return s.remove(u' ').remove(u'\n'); }

TEST_P(WrapTest, linesFitTheWidthKeepEveryCharacterAndRespectLineBreakingRules) {
    const auto& c = GetParam();
    const QString text = QString::fromUtf8(c.text);
    const double width = c.widthInEms * fonts.width(font, QStringLiteral("あ"));
    const auto lines = fonts.wrap(font, text, width);

    ASSERT_FALSE(lines.empty());
    if (c.lines > 0) {
        EXPECT_EQ(static_cast<int>(lines.size()), c.lines);
    }
    QString joined;
    for (const auto& line : lines) {
        const bool singleCharacter =
            line.size() == 1 || (line.size() == 2 && line[0].isHighSurrogate());
        if (!singleCharacter) {
            EXPECT_LE(fonts.width(font, line), width + 0.01) << line.toStdString();
        }
        if (!line.isEmpty()) {
            EXPECT_FALSE(line.back().isHighSurrogate()) << "a surrogate pair was split";
            EXPECT_FALSE(line.front().isLowSurrogate()) << "a surrogate pair was split";
        }
        joined += line;
    }
    EXPECT_EQ(WithoutBlanks(joined), WithoutBlanks(text));
}

INSTANTIATE_TEST_SUITE_P(
    Text, WrapTest,
    ::testing::Values(
        WrapCase{"emptyTextIsOneEmptyLine", "", 10, 1},
        WrapCase{"ownLineEndsAreKeptWithEmptyLines", "一行目\n\n三行目", 20, 3},
        WrapCase{"japaneseBreaksBetweenCharacters", "あいうえおかきくけこさしすせそ", 5.5, 3},
        WrapCase{"aTokenWiderThanTheLineIsCut",
                 "ABCDEFGHIJKLMNOPQRSTUVWXYZABCDEFGHIJKLMNOPQRSTUVWXYZ", 6, 0},
        WrapCase{"widthBelowOneCharacterStillEnds", "テーブル", 0.2, 4},
        WrapCase{"surrogatePairsStayWhole", "𠮷野家の𠮷田さんと𠮷川さん𠮷𠮷𠮷", 3, 0}),
    [](const auto& test) { return std::string(test.param.name); });

TEST(Wrap, neverStartsALineWithAClosingMarkNorEndsOneWithAnOpeningBracket) {
    FontBook fonts;
    const int font = fonts.font({FontRole::Text, 9, false});
    const double em = fonts.width(font, QStringLiteral("あ"));
    // At every width from 2 to 12 characters some line would otherwise begin with "。" or "」".
    const QString text =
        QStringLiteral("受注を「確定」しました。次に「請求」を行います。以上、よろしく。");
    const QString noStart = QStringLiteral("。、」）");
    const QString noEnd = QStringLiteral("「（");
    for (double ems = 2.5; ems <= 12; ems += 0.5) {
        const auto lines = fonts.wrap(font, text, ems * em);
        for (std::size_t i = 0; i < lines.size(); ++i) {
            if (i > 0) {
                EXPECT_FALSE(noStart.contains(lines[i].front()))
                    << ems << ": " << lines[i].toStdString();
            }
            if (i + 1 < lines.size()) {
                EXPECT_FALSE(noEnd.contains(lines[i].back()))
                    << ems << ": " << lines[i].toStdString();
            }
        }
    }
}

TEST(Wrap, softBreaksDropTheBlankAtTheBreakButKeepLeadingIndentation) {
    FontBook fonts;
    const int font = fonts.font({FontRole::Code, 8, false});
    const double ch = fonts.width(font, QStringLiteral("x"));
    const auto lines = fonts.wrap(font, QStringLiteral("    If a Then b = c + d"), 14 * ch);
    ASSERT_GE(lines.size(), 2u);
    EXPECT_TRUE(lines.front().startsWith(QStringLiteral("    If")));
    for (std::size_t i = 1; i < lines.size(); ++i)
        EXPECT_FALSE(lines[i].startsWith(u' ')) << lines[i].toStdString();
}

}  // namespace
