#include "ui/output_window.h"

#include <QGroupBox>
#include <QPushButton>

#include "window_fixture.h"

namespace {

using namespace zanfor;

class OutputWindowTest : public test::WindowFixture {
protected:
    app::OutputWindow& open() {
        trigger("m9");
        auto* out = window->findChild<app::OutputWindow*>("frmOut");
        if (!out)
            throw std::runtime_error("the output window did not open");
        return *out;
    }
    QPushButton* button(app::OutputWindow& w, const char* name) {
        auto* found = w.findChild<QPushButton*>(name);
        if (!found)
            ADD_FAILURE() << "no button " << name;
        return found;
    }
};

TEST_F(OutputWindowTest, framesHoldTheirButtonsEnabledByWhatWasCollectedAndACsvIsWritten) {
    start();
    openTarget(test::kMemoryTarget);
    auto& w = open();
    for (const auto& [frame, caption] : {std::pair{"framCSV", "CSV形式"},
                                         {"framTEXT", "テキスト形式"},
                                         {"framExcel", "Excel形式"}}) {
        auto* box = w.findChild<QGroupBox*>(frame);
        ASSERT_NE(box, nullptr) << frame;
        EXPECT_EQ(box->title(), caption);
    }
    EXPECT_EQ(button(w, "cmdQText")->text(), "ＳＱＬ出力");
    EXPECT_EQ(button(w, "cmdQText")->parentWidget()->objectName(), "framTEXT");
    EXPECT_FALSE(button(w, "cmdTCSV")->isEnabled()) << "nothing collected yet";
    w.close();

    find<QPushButton>("cmdTable")->click();
    open();
    EXPECT_TRUE(button(w, "cmdTCSV")->isEnabled()) << "enabled afresh on reopening";
    EXPECT_TRUE(button(w, "cmdExTbl")->isEnabled());
    EXPECT_FALSE(button(w, "cmdOCSV")->isEnabled());

    dialogs.files = {(home / "tables").string()};
    button(w, "cmdTCSV")->click();
    EXPECT_EQ(boxTexts().back(), "ＣＳＶファイル出力を終了しました");
    const auto bytes = test::FileBytes(home / "tables.csv");
    EXPECT_GT(std::count(bytes.begin(), bytes.end(), '\n'), 1) << "the header and the fields";
    EXPECT_TRUE(w.isEnabled());
}

}  // namespace
