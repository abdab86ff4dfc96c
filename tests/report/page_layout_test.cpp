#include "report/page_layout.h"

#include <gtest/gtest.h>

#include <QStringList>
#include <algorithm>
#include <map>
#include <set>

namespace {

using namespace zanfor::report;

// A listing built block by block: one detail table of a number column and a text column.
class Listing {
public:
    Listing() {
        content_.name = QStringLiteral("R_Test");
        content_.title = QStringLiteral("テスト一覧");
        content_.printDate = QDateTime(QDate(2024, 5, 1), QTime(9, 30));
        content_.tables.push_back({TableKind::List,
                                   {{QStringLiteral("番号"), 20, Align::Right},
                                    {QStringLiteral("内容"), 160, Align::Left}},
                                   true,
                                   {}});
    }
    Listing& fileLine(const QString& text) {
        content_.hasFileLine = true;
        content_.fileLine = text;
        return *this;
    }
    Listing& columns(int n) {
        content_.flowColumns = n;
        return *this;
    }
    Listing& groupBegin(bool keepTogether = false) {
        return push({.type = BlockType::GroupBegin, .keepTogether = keepTogether});
    }
    Listing& groupEnd() { return push({.type = BlockType::GroupEnd}); }
    Listing& heading(const QString& text) {
        return push({.type = BlockType::Heading, .text = text});
    }
    Listing& tableBegin() { return push({.type = BlockType::TableBegin, .table = 0}); }
    Listing& tableEnd() { return push({.type = BlockType::TableEnd}); }
    // A row of `lines` lines of text.
    Listing& row(int lines, const QString& first = {}, bool repeated = false) {
        QStringList text;
        for (int i = 0; i < lines; ++i)
            text << QStringLiteral("行%1").arg(i + 1);
        Cell number{.text = repeated ? QString() : first, .repeated = repeated ? first : QString()};
        return push({.type = BlockType::Row, .cells = {number, {.text = text.join(u'\n')}}});
    }
    Listing& rows(int count) {
        for (int i = 0; i < count; ++i)
            row(1, QString::number(i + 1));
        return *this;
    }
    const ReportContent& content() const { return content_; }
    Document layOut() const { return LayOutReport(content_, A4Twips(content_.orientation)); }

private:
    Listing& push(Block block) {
        content_.blocks.push_back(std::move(block));
        return *this;
    }
    ReportContent content_;
};

std::map<int, std::vector<Placement>> PiecesByBlock(const Document& doc) {
    std::map<int, std::vector<Placement>> pieces;
    for (const auto& p : doc.placements) {
        if (p.block >= 0)
            pieces[p.block].push_back(p);
    }
    return pieces;
}

QStringList TextsOf(const Document& doc, int page) {
    QStringList texts;
    for (const auto& t : doc.pages[static_cast<std::size_t>(page)].texts)
        texts << t.text;
    return texts;
}

TEST(PageBreak, aRowIsCutOnlyWhenTallerThanAFrameAndThenContinuesLineByLine) {
    Listing listing;
    listing.tableBegin();
    // Rows of growing height end at every position on the page; one row is taller than a page.
    for (int lines = 1; lines <= 40; ++lines)
        listing.row(lines, QString::number(lines));
    listing.row(400, QStringLiteral("長"));
    listing.rows(5).tableEnd();
    const Document doc = listing.layOut();
    const auto pieces = PiecesByBlock(doc);
    const auto& blocks = listing.content().blocks;

    for (const auto& [block, parts] : pieces) {
        if (blocks[static_cast<std::size_t>(block)].type != BlockType::Row)
            continue;
        for (const auto& part : parts) {
            EXPECT_LE(part.bottom, doc.bodyBottom + 0.5) << "block " << block;
            EXPECT_GE(part.top, 0);
        }
        const int lineCount = parts.front().lineCount;
        if (lineCount <= 40) {
            EXPECT_EQ(parts.size(), 1u) << "a row of " << lineCount << " lines was cut";
            continue;
        }
        ASSERT_GT(parts.size(), 1u);
        int next = 0;
        for (const auto& part : parts) {
            EXPECT_EQ(part.firstLine, next) << "lines skipped or repeated";
            EXPECT_GT(part.lastLine, part.firstLine);
            next = part.lastLine;
        }
        EXPECT_EQ(next, lineCount);
        for (std::size_t i = 1; i < parts.size(); ++i)
            EXPECT_EQ(parts[i].page, parts[i - 1].page + 1) << "a piece per following page";
    }
}

TEST(PageBreak, aRowThatFitsAPageButNotUnderTheTitleMovesToTheNextPageWhole) {
    Listing tall;
    tall.tableBegin().row(500).tableEnd();
    int capacity = 0;
    for (const auto& p : tall.layOut().placements)
        capacity = std::max(capacity, p.lastLine - p.firstLine);
    ASSERT_GT(capacity, 20);
    for (int lines = capacity - 12; lines <= capacity; ++lines) {
        Listing listing;
        listing.tableBegin().row(lines).tableEnd();
        const auto pieces = PiecesByBlock(listing.layOut());
        EXPECT_EQ(pieces.at(1).size(), 1u) << "a row of " << lines << " lines was cut";
    }
}

TEST(PageBreak, columnHeadingsOpenEveryPageTheTableRunsOn) {
    Listing listing;
    listing.groupBegin()
        .heading(QStringLiteral("見出し"))
        .tableBegin()
        .rows(300)
        .tableEnd()
        .groupEnd();
    const Document doc = listing.layOut();
    ASSERT_GT(doc.pages.size(), 3u);
    std::map<int, double> headerTop, firstRowTop;
    for (const auto& p : doc.placements) {
        if (p.block < 0 && !headerTop.count(p.page))
            headerTop[p.page] = p.top;
        if (p.block >= 0 &&
            listing.content().blocks[static_cast<std::size_t>(p.block)].type == BlockType::Row &&
            !firstRowTop.count(p.page)) {
            firstRowTop[p.page] = p.top;
        }
    }
    for (const auto& [page, top] : firstRowTop) {
        ASSERT_TRUE(headerTop.count(page)) << "no column headings on page " << page + 1;
        EXPECT_LT(headerTop[page], top);
        EXPECT_TRUE(TextsOf(doc, page).contains(QStringLiteral("内容")));
    }
    for (int page = 1; page < static_cast<int>(doc.pages.size()); ++page) {
        EXPECT_TRUE(TextsOf(doc, page).contains(QStringLiteral("見出し（続き）")))
            << "page " << page + 1 << " does not say whose rows continue";
    }
}

TEST(PageBreak, aHeadingIsNeverLeftAloneAtTheFootOfAPage) {
    for (int filler = 40; filler <= 75; ++filler) {
        Listing listing;
        listing.tableBegin().rows(filler).tableEnd();
        listing.groupBegin()
            .heading(QStringLiteral("次の見出し"))
            .tableBegin()
            .rows(3)
            .tableEnd()
            .groupEnd();
        const Document doc = listing.layOut();
        const auto pieces = PiecesByBlock(doc);
        const int headingBlock = filler + 3;  // after the table, its rows and the group's start
        ASSERT_EQ(listing.content().blocks.at(headingBlock).type, BlockType::Heading);
        const int headingPage = pieces.at(headingBlock).front().page;
        const int firstRowPage = pieces.at(headingBlock + 2).front().page;
        EXPECT_EQ(headingPage, firstRowPage) << "after " << filler << " rows";
    }
}

TEST(PageBreak, aKeepTogetherGroupThatFitsAPageIsNotSplit) {
    for (int filler = 40; filler <= 75; filler += 3) {
        Listing listing;
        listing.tableBegin().rows(filler);
        listing.groupBegin(true).rows(12).groupEnd().tableEnd();
        const Document doc = listing.layOut();
        std::set<int> pages;
        for (const auto& p : doc.placements) {
            if (p.block > filler + 1)
                pages.insert(p.page);
        }
        EXPECT_EQ(pages.size(), 1u) << "after " << filler << " rows";
    }
}

TEST(PageBreak, aValueLeftOutUnderTheSameValueIsPrintedAgainAtTheTopOfAPage) {
    Listing listing;
    listing.tableBegin().row(1, QStringLiteral("frmA"));
    for (int i = 0; i < 150; ++i)
        listing.row(1, QStringLiteral("frmA"), true);
    listing.tableEnd();
    const Document doc = listing.layOut();
    ASSERT_GE(doc.pages.size(), 2u);
    for (int page = 0; page < static_cast<int>(doc.pages.size()); ++page)
        EXPECT_EQ(TextsOf(doc, page).count(QStringLiteral("frmA")), 1) << "page " << page + 1;
}

TEST(PageFrame, everyPageCarriesNumberOfTotalPrintDateAndFileLineInsideThePaper) {
    for (const bool fileLine : {true, false}) {
        Listing listing;
        if (fileLine)
            listing.fileLine(QStringLiteral("C:\\業務\\販売.mdb"));
        listing.tableBegin().rows(200).tableEnd();
        ReportContent content = listing.content();
        // Landscape is A4 turned.
        content.orientation = fileLine ? Orientation::Portrait : Orientation::Landscape;
        const Document doc = LayOutReport(content, A4Twips(content.orientation));
        EXPECT_EQ(doc.pageSize.width() > doc.pageSize.height(), !fileLine);
        const int total = static_cast<int>(doc.pages.size());
        ASSERT_GT(total, 2);
        for (int page = 0; page < total; ++page) {
            const QStringList texts = TextsOf(doc, page);
            EXPECT_TRUE(texts.contains(QStringLiteral("%1 / %2").arg(page + 1).arg(total)));
            EXPECT_TRUE(texts.contains(QStringLiteral("印刷日時 2024/05/01 09:30")));
            EXPECT_EQ(texts.contains(QStringLiteral("C:\\業務\\販売.mdb")), fileLine) << page;
            // The big title opens the report; later pages name it in their header.
            EXPECT_TRUE(texts.contains(QStringLiteral("テスト一覧")));
            for (const auto& t : doc.pages[static_cast<std::size_t>(page)].texts) {
                EXPECT_GE(t.origin.x(), 0);
                EXPECT_LT(t.origin.x(), doc.pageSize.width());
                EXPECT_LT(t.origin.y(), doc.pageSize.height());
            }
        }
    }
}

TEST(PageFrame, twoColumnFlowFillsTheRightColumnBeforeTurningThePage) {
    Listing listing;
    listing.columns(2).tableBegin().rows(120).tableEnd();
    const Document doc = listing.layOut();
    EXPECT_TRUE(std::any_of(doc.placements.begin(), doc.placements.end(),
                            [](const auto& p) { return p.page == 0 && p.column == 1; }));
    Listing single;
    single.tableBegin().rows(120).tableEnd();
    EXPECT_LT(doc.pages.size(), single.layOut().pages.size());
}

}  // namespace
