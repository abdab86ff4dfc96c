#include "ui/batch_window.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include "window_fixture.h"

namespace {

using namespace zanfor;

class BatchWindowTest : public test::WindowFixture {
protected:
    app::BatchWindow& open() {
        trigger("m6");
        auto* batch = window->batchWindow();
        if (!batch)
            throw std::runtime_error("the batch window did not open");
        return *batch;
    }
    template <typename T>
    T* in(app::BatchWindow& w, const char* name) {
        auto* found = w.findChild<T*>(name);
        if (!found)
            ADD_FAILURE() << "no control " << name;
        return found;
    }
};

TEST_F(BatchWindowTest, aBatchCollectsTheTickedStepsAndTheMainWindowShowsWhatItSet) {
    start();
    openTarget(test::kMemoryTarget);
    auto& w = open();
    EXPECT_EQ(w.windowTitle(), "Zanfor2000 Ver 2.1");
    EXPECT_FALSE(w.isModal());
    EXPECT_FALSE(in<QCheckBox>(w, "chkTbl")->isChecked());
    EXPECT_FALSE(in<QRadioButton>(w, "optTbl(0)")->isEnabled());
    EXPECT_TRUE(in<QRadioButton>(w, "optModStep(3)")->isChecked());
    EXPECT_TRUE(in<QCheckBox>(w, "chkLink")->isChecked());

    in<QCheckBox>(w, "chkTbl")->click();
    EXPECT_TRUE(in<QRadioButton>(w, "optTbl(0)")->isEnabled());
    in<QRadioButton>(w, "optTbl(2)")->click();
    in<QCheckBox>(w, "chkMod")->click();
    in<QPushButton>(w, "cmdExec")->click();
    EXPECT_EQ(boxTexts().back(), std::string(batch::kBatchFinished));
    EXPECT_TRUE(reports.empty()) << "printing is the preview buttons' part";
    EXPECT_EQ(in<QLabel>(w, "lblPer")->text(), "100%");
    EXPECT_TRUE(find<QPushButton>("cmdTPre")->isEnabled());
    EXPECT_TRUE(find<QPushButton>("cmdMPre")->isEnabled());
    EXPECT_FALSE(find<QPushButton>("cmdQPre")->isEnabled());
    EXPECT_TRUE(find<QRadioButton>("optTable(2)")->isChecked());

    // Saved, then read back after the window was opened again with every box cleared.
    dialogs.files = {(home / "abc.APT").string()};
    in<QPushButton>(w, "cmdSave")->click();
    EXPECT_EQ(boxTexts().back(), "解析パターン登録が完了しました。");
    w.close();
    open();
    EXPECT_FALSE(in<QCheckBox>(w, "chkTbl")->isChecked());
    EXPECT_EQ(window->program().state().batch.flags, (std::array<std::int16_t, 12>{}));
    dialogs.files = {(home / "abc.apt").string()};
    in<QPushButton>(w, "cmdRead")->click();
    EXPECT_EQ(boxTexts().back(), "解析パターンを読み込みました。");
    EXPECT_TRUE(in<QCheckBox>(w, "chkTbl")->isChecked());
    EXPECT_TRUE(in<QRadioButton>(w, "optTbl(2)")->isChecked());
    EXPECT_TRUE(in<QRadioButton>(w, "optMod(0)")->isEnabled());
    EXPECT_FALSE(in<QCheckBox>(w, "chkQery")->isChecked());
}

}  // namespace
