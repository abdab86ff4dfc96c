#include "report/pdf_writer.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>

#include "report/report_fixture.h"
#include "test_support.h"

namespace zanfor::report {
namespace {

QString Tool(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

// Two A4 pages: a red area, a dashed rule, plain, bold, turned and shaped (a no-break space)
// texts.
class PdfPages : public ::testing::Test {
protected:
    void SetUp() override {
        const int plain = fonts_.font({FontRole::Text, 9, false});
        const int bold = fonts_.font({FontRole::Text, 12, true});
        const int code = fonts_.font({FontRole::Code, 9, false});
        PageItems first;
        first.fills.push_back({QRectF(1440, 4320, 2880, 1440), qRgb(255, 0, 0)});
        first.lines.push_back({QLineF(1440, 7200, 8640, 7200), 20, qRgb(0, 0, 255), true});
        first.texts.push_back({QPointF(1440, 1440), QStringLiteral("受注一覧 Orders"), plain, 0});
        first.texts.push_back({QPointF(1440, 2160), QStringLiteral("見出し太字"), bold, 0});
        first.texts.push_back(
            {QPointF(1440, 2880), QStringLiteral("Code\u00a0client :"), code, qRgb(0, 0, 128)});
        first.texts.push_back({QPointF(10000, 1440), QStringLiteral("縦書"), plain, 0, 1});
        PageItems second;
        second.texts.push_back({QPointF(1440, 1440), QStringLiteral("二頁目"), plain, 0});

        QFile out(QString::fromStdString(file_.string()));
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        PdfWriter writer(out, fonts_, A4Twips(Orientation::Portrait), QStringLiteral("題名"),
                         QStringLiteral("Zanfor"));
        writer.page(first);
        writer.page(second);
        writer.finish();
    }

    FontBook fonts_;
    test::TempDir folder_;
    std::filesystem::path file_ = folder_ / "pages.pdf";
};

TEST_F(PdfPages, readBackWithTheirTextsWhereTheLayoutPutThemInSubsetFaces) {
    EXPECT_EQ(test::PdfPageCount(file_), 2);
    const std::string text = test::PdfText(file_, 1, 1);
    for (const char* expected : {"受注一覧 Orders", "見出し太字", "client :", "縦", "書"})
        EXPECT_NE(text.find(expected), std::string::npos) << expected << " in\n" << text;
    EXPECT_NE(test::PdfText(file_, 2, 2).find("二頁目"), std::string::npos);
    EXPECT_TRUE(Tool("pdfinfo", {QString::fromStdString(file_.string())}).contains(u"題名"));

    // The first word starts an inch in and its baseline lies an inch down (pdftotext gives
    // the box from the font's ascent to its descent).
    const QString boxes = Tool(
        "pdftotext", {"-bbox", "-f", "1", "-l", "1", QString::fromStdString(file_.string()), "-"});
    const auto word =
        QRegularExpression(QStringLiteral("xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"[\\d.]+\" "
                                          "yMax=\"([\\d.]+)\">受注一覧"))
            .match(boxes);
    ASSERT_TRUE(word.hasMatch()) << boxes.toStdString();
    EXPECT_NEAR(word.captured(1).toDouble(), 72, 0.1);
    EXPECT_LT(word.captured(2).toDouble(), 72);
    EXPECT_GT(word.captured(3).toDouble(), 72);

    // Each face once, embedded as a subset with its reading map.
    const QStringList faces = Tool("pdffonts", {QString::fromStdString(file_.string())})
                                  .split(u'\n', Qt::SkipEmptyParts)
                                  .mid(2);
    ASSERT_FALSE(faces.isEmpty());
    for (const QString& face : faces) {
        EXPECT_TRUE(face.contains(QRegularExpression(
            QStringLiteral("^[A-Z]{6}\\+\\S+ +CID TrueType +Identity-H +yes yes yes"))))
            << face.toStdString();
    }
}

TEST_F(PdfPages, drawAreasAndTextOnTheRightSpotsOfThePage) {
    // At 72 dpi a point is a pixel: the red area spans (72, 216)-(216, 288).
    const QString prefix = QString::fromStdString((folder_ / "page").string());
    Tool("pdftoppm", {"-r", "72", "-f", "1", "-l", "1", "-singlefile", "-png",
                      QString::fromStdString(file_.string()), prefix});
    const QImage page(prefix + ".png");
    ASSERT_FALSE(page.isNull());
    EXPECT_EQ(page.pixelColor(144, 252), QColor(255, 0, 0));
    EXPECT_EQ(page.pixelColor(60, 252), QColor(255, 255, 255));
    EXPECT_EQ(page.pixelColor(144, 300), QColor(255, 255, 255));
    int inked = 0;  // the first line's glyphs, just above its baseline
    for (int x = 72; x < 150; ++x)
        inked += page.pixelColor(x, 69).lightness() < 128;
    EXPECT_GT(inked, 5);
}

}  // namespace
}  // namespace zanfor::report
