#include "app/main_window.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>

namespace {

TEST(MainWindow, exposesTheControlsByTheirNamesWithTheProductTitle) {
    zanfor::app::MainWindow window;
    window.setTargetPath("/data/販売.mdb");
    window.showMessage("終了しました");
    EXPECT_EQ(window.objectName(), "frmZanfor");
    EXPECT_EQ(window.windowTitle(), "Zanfor2000 Ver 2.1");
    ASSERT_NE(window.findChild<QLabel*>("lblDBName"), nullptr);
    EXPECT_EQ(window.findChild<QLabel*>("lblDBName")->text(), "/data/販売.mdb");
    EXPECT_EQ(window.findChild<QLineEdit*>("txtMesege")->text(), "終了しました");
}

}  // namespace
