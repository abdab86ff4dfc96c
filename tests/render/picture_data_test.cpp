#include "render/picture_data.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <string>

#include "host/access/access_fixture.h"
#include "host/access/file_application.h"
#include "test_support.h"

namespace {

using zanfor::render::DecodePictureData;
using zanfor::test::Le;

// A packed DIB with a Windows 3 header; `rest` is what follows it (masks, colours, bits).
std::string Dib(std::int32_t width, std::int32_t height, int bpp, int compression, int colors,
                const std::string& rest) {
    return Le(40, 4) + Le(static_cast<std::uint32_t>(width), 4) +
           Le(static_cast<std::uint32_t>(height), 4) + Le(1, 2) + Le(bpp, 2) + Le(compression, 4) +
           std::string(12, '\0') + Le(colors, 4) + Le(0, 4) + rest;
}

const std::string kRed("\0\0\xFF", 3);
const std::string kBlue("\xFF\0\0", 3);
const std::string kPad("\0\0", 2);
// 2 x 2 at 24 bits, rows bottom up: blue and blue, then red and red.
const std::string kRgbBits = kBlue + kBlue + kPad + kRed + kRed + kPad;

TEST(PictureData, decodesEachKindOfBitmap) {
    const std::string dib24 = Dib(2, 2, 24, 0, 0, kRgbBits);
    const struct {
        const char* what;
        std::string bytes;
        QColor topLeft;
    } cases[] = {
        {"24 bits", dib24, Qt::red},
        {"colours before 24-bit bits", Dib(2, 2, 24, 0, 2, std::string(8, '\x7F') + kRgbBits),
         Qt::red},
        {"top down", Dib(2, -2, 24, 0, 0, kRgbBits), Qt::blue},
        {"core header", Le(12, 4) + Le(2, 2) + Le(2, 2) + Le(1, 2) + Le(24, 2) + kRgbBits, Qt::red},
        {"32-bit bit fields",
         Dib(2, 2, 32, 3, 0,
             Le(0xFF0000, 4) + Le(0xFF00, 4) + Le(0xFF, 4) + std::string(8, '\0') +
                 std::string(8, '\xFF')),
         Qt::white},
        {"run-length 8 bits",
         Dib(2, 2, 8, 1, 2,
             Le(0, 4) + Le(0xFF00, 4) + std::string("\x02\x01\0\0\x02\x01\0\x01", 8)),
         Qt::green},
        {"bmp file", "BM" + Le(14 + dib24.size(), 4) + Le(0, 4) + Le(54, 4) + dib24, Qt::red},
    };
    for (const auto& c : cases) {
        const QImage image = DecodePictureData(c.bytes);
        EXPECT_EQ(image.size(), QSize(2, 2)) << c.what;
        EXPECT_EQ(image.pixelColor(0, 0), c.topLeft) << c.what;
    }

    QImage png(3, 1, QImage::Format_RGB32);
    png.fill(Qt::yellow);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    png.save(&buffer, "PNG");
    EXPECT_EQ(DecodePictureData(buffer.data().toStdString()).pixelColor(2, 0), QColor(Qt::yellow));
}

TEST(PictureData, damagedOrForeignBytesGiveNoPicture) {
    const std::string dib24 = Dib(2, 2, 24, 0, 0, kRgbBits);
    const std::pair<const char*, std::string> cases[] = {
        {"empty", ""},
        {"truncated header", dib24.substr(0, 30)},
        {"colour table past the end", Dib(2, 2, 8, 0, 0, std::string(40, '\0'))},
        {"more colours than any table", Dib(2, 2, 8, 0, 0x40000000, std::string(100, '\0'))},
        {"more colours than 1 bit can index", Dib(2, 2, 1, 0, 16, std::string(72, '\0'))},
        {"bits past the end", dib24.substr(0, dib24.size() - 1)},
        {"absurd width", Dib(0x7FFFFFFF, 1, 1, 0, 0, std::string(64, '\0'))},
        {"beyond the largest side", Dib(8193, 1, 8, 0, 1, std::string(8200, '\0'))},
        {"metafile behind its clipboard format", std::string("\x0e\0\0\0\0\0\0\0\x01\0", 10)},
        {"file offset past the end", "BM" + Le(0, 4) + Le(0, 4) + Le(0xFFFFFFF0, 4) + dib24},
    };
    for (const auto& [what, bytes] : cases)
        EXPECT_TRUE(DecodePictureData(bytes).isNull()) << what;
}

// A button's picture as Access 2000 stored it: 16 x 16 at 4 bits, a magic wand.
TEST(PictureData, decodesAStoredButtonPicture) {
    ZANFOR_REQUIRE_TESTDATA(data);
    using namespace zanfor::host::access;
    FileApplication app;
    app.openCurrentDatabase((data / "pairs/strings/Strings.mdb").string());
    const auto& form = app.openForm("DeclineWords", View::Design);
    const QImage image = DecodePictureData(zanfor::test::ControlNamed(form, "cmdNew").pictureData);
    EXPECT_EQ(image.size(), QSize(16, 16));
    EXPECT_EQ(image.pixelColor(6, 1), QColor(Qt::yellow));
}

}  // namespace
