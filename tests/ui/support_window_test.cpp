#include "ui/support_window.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include "window_fixture.h"

namespace {

using namespace zanfor;

class SupportWindowTest : public test::WindowFixture {
protected:
    app::SupportWindow& open() {
        trigger("m7");
        auto* support = window->supportWindow();
        if (!support)
            throw std::runtime_error("the developer support window did not open");
        return *support;
    }
    template <typename T>
    T* in(app::SupportWindow& w, const char* name) {
        auto* found = w.findChild<T*>(name);
        if (!found)
            ADD_FAILURE() << "no control " << name;
        return found;
    }
};

TEST_F(SupportWindowTest, toolsComeOnAfterTheInitialProcessingAndStayOnWhenReopened) {
    start();
    trigger("m7");
    EXPECT_EQ(window->supportWindow(), nullptr) << "no target yet";
    openTarget(test::kMemoryTarget);
    auto& w = open();
    EXPECT_EQ(in<QGroupBox>(w, "framHensu")->title(), "変数情報");
    EXPECT_FALSE(in<QPushButton>(w, "cmdLinkProc")->isEnabled());
    EXPECT_FALSE(in<QGroupBox>(w, "framLinkForm")->isEnabled());
    EXPECT_TRUE(in<QRadioButton>(w, "optFSelect(1)")->isChecked());
    EXPECT_EQ(in<QComboBox>(w, "cboTable")->currentText(), "顧客");

    in<QPushButton>(w, "cmdSyoki")->click();
    EXPECT_EQ(boxTexts().back(), "「初期処理」を終了しました。");
    EXPECT_TRUE(in<QPushButton>(w, "cmdLinkProc")->isEnabled());
    EXPECT_TRUE(in<QPushButton>(w, "cmdHensu")->isEnabled());
    EXPECT_FALSE(in<QPushButton>(w, "cmdHensuH")->isEnabled()) << "until the catalogue ran";
    EXPECT_TRUE(in<QPushButton>(w, "cmdObjUpdate")->isEnabled());
    in<QPushButton>(w, "cmdObjUpdate")->click();
    EXPECT_EQ(boxTexts().back(), "比較用ファイルを選択して下さい。") << "the dialog was cancelled";

    in<QRadioButton>(w, "optFSelect(0)")->click();
    EXPECT_FALSE(in<QComboBox>(w, "cboForm")->isEnabled());
    EXPECT_EQ(window->program().state().support.formMode, 1);

    in<QPushButton>(w, "cmdHensu")->click();
    EXPECT_TRUE(in<QPushButton>(w, "cmdHensuH")->isEnabled());
    in<QPushButton>(w, "cmdHensuT")->click();
    EXPECT_EQ(reports.back().first, "R_AcHensuT");
    in<QPushButton>(w, "cmdLinkProc")->click();
    EXPECT_EQ(reports.back().first, "R_AcLinkProc");

    w.close();
    open();
    EXPECT_TRUE(in<QPushButton>(w, "cmdLinkProc")->isEnabled()) << "the flag outlives the window";
    EXPECT_TRUE(in<QRadioButton>(w, "optFSelect(1)")->isChecked());
    EXPECT_TRUE(in<QComboBox>(w, "cboForm")->isEnabled());
}

TEST_F(SupportWindowTest, progressShowsThePercentAndDrawsTheGaugeOverTwentyFourHundredTwips) {
    start();
    openTarget(test::kMemoryTarget);
    auto& w = open();
    auto* gauge = in<QWidget>(w, "linGuage");
    const auto pixels = [&](double twips) { return qRound(twips * w.logicalDpiX() / 1440.0); };
    for (const auto& [percent, caption, twips] :
         {std::tuple{35, "35%", 840.0}, {0, "0%", 0.0}, {100, "100%", 2400.0}}) {
        w.setProgress(static_cast<std::int16_t>(percent));
        EXPECT_EQ(in<QLabel>(w, "lblPer")->text(), caption);
        EXPECT_EQ(gauge->width(), pixels(twips)) << percent;
    }
}

}  // namespace
