#include "ui/capture_window.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QClipboard>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include "test_support.h"
#include "ui/window_fixture.h"

namespace {

using namespace zanfor;

QImage Picture() {
    QImage image(300, 200, QImage::Format_RGB32);
    image.fill(Qt::white);
    image.setPixel(10, 20, qRgb(0, 0, 128));
    return image;
}

TEST(CaptureWindow, isThePictureWithRoomForTheMenuBar) {
    EXPECT_EQ(app::CaptureWindowSize(QSize(300, 200)), QSize(308, 246));
    EXPECT_EQ(app::CaptureWindowSize(QSize(0, 0)), QSize(8, 46));
}

TEST(CaptureWindow, savesUnderANameEndingInBmp) {
    const std::pair<const char*, const char*> cases[] = {
        {"x.BMP", "x.bmp"},   {"x.bmp", "x.bmp"},     {"x", "x.bmp"},
        {"xBMP", "xBMP.bmp"}, {"a.b.bmp", "a.b.bmp"}, {"画面.Bmp", "画面.bmp"},
        {"bmp", "bmp.bmp"},   {"x.png", "x.png.bmp"},
    };
    for (const auto& [chosen, saved] : cases)
        EXPECT_EQ(app::BitmapFileName(chosen), saved) << chosen;
}

TEST(CaptureWindow, takesTheClipboardsPictureSavesItAndEmptiesTheClipboardOnClosing) {
    test::TempDir dir;
    app::ScriptedDialogs dialogs;
    int stops = 0;
    QGuiApplication::clipboard()->setImage(Picture());
    app::CaptureWindow viewer(dialogs, [&] { ++stops; }, {});
    EXPECT_EQ(stops, 1) << "Timer2 stopped on loading";
    EXPECT_EQ(viewer.windowTitle(), "Zanfor2000 Ver 2.1");
    EXPECT_EQ(viewer.findChild<QLabel*>("picWk")->size(), QSize(300, 200));
    EXPECT_TRUE(viewer.findChild<QLabel*>("picWk2")->isHidden());
    EXPECT_EQ(viewer.size(), QSize(308, 246));

    dialogs.files = {(dir / "画面.BMP").string()};
    viewer.findChild<QAction*>("mnuSave")->trigger();
    ASSERT_EQ(dialogs.fileRequests.size(), 1u);
    EXPECT_EQ(dialogs.fileRequests[0].title, "画像ファイルの保存");
    EXPECT_EQ(dialogs.fileRequests[0].filterDescription, "ビットマップ(*.bmp)");
    const QImage saved(QString::fromStdString((dir / "画面.bmp").string()), "BMP");
    EXPECT_EQ(saved.size(), QSize(300, 200));
    EXPECT_EQ(saved.pixel(10, 20), qRgb(0, 0, 128));
    EXPECT_TRUE(dialogs.boxes.empty());

    viewer.findChild<QAction*>("mnuClose")->trigger();
    EXPECT_TRUE(QGuiApplication::clipboard()->image().isNull());

    // The capture of a form that could not be drawn leaves nothing to save.
    app::CaptureWindow empty(dialogs, {}, {});
    dialogs.files = {(dir / "空").string()};
    empty.save();
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text.rfind("場所:画像取得ｴﾗｰNo:5\n", 0), 0u);
    EXPECT_FALSE(std::filesystem::exists(dir / "空.bmp"));
}

class CaptureButton : public test::WindowFixture {};

// The memory target's form has no design to draw: the viewer comes with an empty picture.
TEST_F(CaptureButton, hidesTheMainWindowUntilTimer2ShowsItWithTheViewer) {
    start().show();
    openTarget(test::kMemoryTarget);
    find<QLineEdit>("txtCapTime")->setText("0");
    find<QPushButton>("cmdFmImage")->click();
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(find<QTimer>("Timer2")->isActive());
    QElapsedTimer waited;
    waited.start();
    while (!window->captureWindow() && waited.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    ASSERT_NE(window->captureWindow(), nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->captureWindow()->isVisible());
    EXPECT_FALSE(find<QTimer>("Timer2")->isActive());
    EXPECT_TRUE(boxTexts().empty());
    window->captureWindow()->close();
}

}  // namespace
