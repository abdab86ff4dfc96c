#include "ui/settings_window.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "window_fixture.h"

namespace {

using namespace zanfor;

class SettingsWindowTest : public test::WindowFixture {
protected:
    app::SettingsWindow* settings = nullptr;

    void SetUp() override {
        start();
        openTarget(test::kMemoryTarget);
        trigger("m8");
        settings = window->settingsWindow();
        ASSERT_NE(settings, nullptr);
    }
    template <typename T>
    T* control(const char* name) {
        auto* found = settings->findChild<T*>(name);
        if (!found)
            ADD_FAILURE() << "no control " << name;
        return found;
    }
    void ok() { control<QPushButton>("cmdOK")->click(); }
    QString mode() { return control<QLabel>("lblMsg")->text(); }
};

TEST_F(SettingsWindowTest, firstShowsFreeTextWithTheSystemName) {
    EXPECT_TRUE(control<QCheckBox>("chkSetUp")->isChecked());
    EXPECT_EQ(control<QLineEdit>("txtNini")->text(), "販売管理システム");
    EXPECT_FALSE(control<QCheckBox>("chkFile")->isEnabled());
    EXPECT_FALSE(control<QCheckBox>("chkPath")->isEnabled());
    EXPECT_FALSE(control<QGroupBox>("framSetUp")->isEnabled());
    EXPECT_EQ(mode(), "");
}

TEST_F(SettingsWindowTest, okRightAwayStoresTheSystemNameAndHides) {
    ok();
    EXPECT_EQ(titleRows(), std::vector<std::string>{"販売管理システム"});
    EXPECT_EQ(mode(), "任意の文字列を印刷");
    EXPECT_FALSE(settings->isVisible());
    trigger("m8");
    EXPECT_EQ(window->settingsWindow(), settings) << "a hidden window keeps its choice";
    EXPECT_EQ(mode(), "任意の文字列を印刷");
}

TEST_F(SettingsWindowTest, uncheckingFreeTextAloneStoresNoLine) {
    control<QCheckBox>("chkSetUp")->click();
    EXPECT_FALSE(control<QCheckBox>("chkFile")->isChecked());
    EXPECT_FALSE(control<QCheckBox>("chkPath")->isChecked());
    EXPECT_EQ(control<QLineEdit>("txtNini")->text(), "");
    EXPECT_FALSE(control<QLineEdit>("txtNini")->isEnabled());
    ok();
    EXPECT_TRUE(titleRows().empty());
    EXPECT_EQ(mode(), "印刷しない");
}

TEST_F(SettingsWindowTest, theFileNameAloneOrWithItsFullPath) {
    control<QCheckBox>("chkSetUp")->click();
    control<QCheckBox>("chkFile")->click();
    ok();
    EXPECT_EQ(titleRows(), std::vector<std::string>{"販売管理.mdb"});
    EXPECT_EQ(mode(), "ファイル名印刷");

    trigger("m8");
    control<QCheckBox>("chkPath")->click();
    ok();
    EXPECT_EQ(titleRows(), std::vector<std::string>{test::kMemoryTarget});
    EXPECT_EQ(mode(), "ファイル名フルパス印刷");
}

TEST_F(SettingsWindowTest, anEmptyFreeTextAsksForOneAndStoresNothing) {
    control<QLineEdit>("txtNini")->clear();
    ok();
    EXPECT_EQ(boxTexts().back(), "印字する文字を入力して下さい。");
    EXPECT_TRUE(titleRows().empty());
    EXPECT_TRUE(settings->isVisible());
    EXPECT_EQ(mode(), "");
}

TEST_F(SettingsWindowTest, closingTheWindowUnloadsItSoTheNextShowingStartsAfresh) {
    control<QCheckBox>("chkSetUp")->click();
    control<QCheckBox>("chkFile")->click();
    settings->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(window->settingsWindow(), nullptr);
    trigger("m8");
    settings = window->settingsWindow();
    ASSERT_NE(settings, nullptr);
    EXPECT_TRUE(control<QCheckBox>("chkSetUp")->isChecked());
    EXPECT_FALSE(control<QCheckBox>("chkFile")->isChecked());
}

TEST_F(SettingsWindowTest, openingAnotherTargetEmptiesTheStoredLine) {
    ok();
    ASSERT_EQ(titleRows().size(), 1u);
    openTarget(test::kMemoryTarget);
    EXPECT_TRUE(titleRows().empty());
}

}  // namespace
