#include "commands/form_capture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "host/error.h"
#include "host/memory/memory_target.h"
#include "vba/vba_fixture.h"

namespace {

using namespace zanfor;
using app::CommandEnd;

// The desktop's side as calls in order; captureWindow answers `draws`.
struct RecordingDesk : app::CaptureDesk {
    std::vector<std::string> calls;
    bool draws = true;

    void showMainWindow(bool visible) override { calls.push_back(visible ? "show" : "hide"); }
    void emptyClipboard() override { calls.push_back("empty"); }
    bool captureWindow(const host::access::DesignObject& form, bool designView,
                       bool wholeWindow) override {
        calls.push_back("capture:" + form.name + (designView ? ":design" : ":form") +
                        (wholeWindow ? ":window" : ""));
        return draws;
    }
    void startViewerTimer(int milliseconds) override {
        calls.push_back("timer:" + std::to_string(milliseconds));
    }
};

// Form view is refused by Access for a form that asks another form for a value.
struct UnstableAccess : host::memory::MemoryApplication {
    using MemoryApplication::MemoryApplication;
    host::access::DesignObject& openForm(const std::string&, host::access::View) override {
        throw host::Error(2475, "アクティブなフォームがありません。");
    }
};

std::shared_ptr<const host::memory::MemoryTarget> CaptureTarget() {
    host::memory::MemoryTargetBuilder b("/capture.mdb");
    b.query("q受注", host::dao::dbQSelect, "SELECT * FROM 受注 WHERE 顧客=[Forms]![F顧客]![ID];");
    b.query("q全件", host::dao::dbQSelect, "SELECT MyForms!名前 FROM MyForms;");
    b.form("F一覧").property("RecordSource", "q全件");
    b.form("F明細").property("RecordSource", "q受注");
    b.form("F直接").property("RecordSource", "SELECT * FROM 受注 WHERE 顧客=forms!F顧客!ID");
    return b.build();
}

struct Capture {
    test::VbaFixture f = test::VbaFixture::ForTarget(CaptureTarget());
    RecordingDesk desk;
    std::filesystem::path folder = "/nowhere";

    CommandEnd run(const std::string& form, std::int16_t capKbn,
                   host::access::Application* access = nullptr) {
        f.state().pickers.fmImageText = form;
        f.state().options.capKbn = capKbn;
        f.state().header.capTime = "3";
        auto ctx = f.context();
        app::CommandContext c{f.state(),
                              f.collector.ui,
                              f.collector.work,
                              ctx.target,
                              access ? *access : *f.access,
                              folder,
                              nullptr,
                              &desk};
        return app::RunFormCapture(c);
    }
    std::vector<std::string> openForms() {
        return static_cast<host::memory::MemoryApplication&>(*f.access).openObjectNames();
    }
};

TEST(FormCapture, takesThePictureBeforeTheWaitAndClosesTheForm) {
    struct Case {
        const char* form;
        std::int16_t capKbn;
        bool draws;
        std::vector<std::string> calls;
    };
    const Case cases[] = {
        {"F一覧", 0, true, {"hide", "empty", "capture:F一覧:form", "timer:3000"}},
        // Nothing drawn: the clipboard stays empty and the viewer still comes after the wait.
        {"F一覧", 0, false, {"hide", "empty", "capture:F一覧:form", "timer:3000"}},
        // Design view asks no other form for anything.
        {"F明細", 1, true, {"hide", "empty", "capture:F明細:design", "timer:3000"}},
    };
    for (const auto& c : cases) {
        Capture t;
        t.desk.draws = c.draws;
        EXPECT_EQ(t.run(c.form, c.capKbn), CommandEnd::Done);
        EXPECT_EQ(t.desk.calls, c.calls) << c.form;
        EXPECT_TRUE(t.openForms().empty());
        EXPECT_TRUE(t.f.events("box:").empty());
    }
}

TEST(FormCapture, aFailureShowsTheMainWindowAgainAndReportsIt) {
    struct Case {
        const char* form;
        std::string box;
        std::int16_t capKbnAfter;
    };
    const std::string cancelled =
        "場所:画面イメージｴﾗｰNo:2501\n他フォームを参照しているため取得出来ません。\n"
        "デザインビューにチェック後実行してください。";
    const Case cases[] = {
        {"F明細", cancelled, 1},  // through the saved query it names
        {"F直接", cancelled, 1},  // in its own SQL
        {"無い", "場所:画面イメージｴﾗｰNo:2102\n場所、ｴﾗｰNo、内容を控えメールをお願いします。", 0},
    };
    for (const auto& c : cases) {
        Capture t;
        EXPECT_EQ(t.run(c.form, 0), CommandEnd::Done);
        EXPECT_EQ(t.desk.calls, (std::vector<std::string>{"hide", "show"})) << c.form;
        const auto boxes = t.f.events("box:");
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].substr(0, c.box.size()), c.box);
        EXPECT_EQ(t.f.state().options.capKbn, c.capKbnAfter);
        EXPECT_TRUE(t.openForms().empty());
    }

    Capture t;
    UnstableAccess unstable(*t.f.engine);
    EXPECT_EQ(t.run("F一覧", 0, &unstable), CommandEnd::ExitRequested);
    EXPECT_EQ(t.desk.calls, (std::vector<std::string>{"hide", "show"}));
    EXPECT_NE(t.f.events("box:").at(0).find("システムが不安定です。"), std::string::npos);
}

TEST(FormCapture, withoutADeskNothingHappens) {
    Capture t;
    auto ctx = t.f.context();
    app::CommandContext c{t.f.state(), t.f.collector.ui, t.f.collector.work,
                          ctx.target,  *t.f.access,      t.folder};
    EXPECT_EQ(app::RunFormCapture(c), CommandEnd::Done);
    EXPECT_TRUE(t.f.collector.ui.events.empty());
}

TEST(FormCapture, theCaptureTimeIsWholeSecondsWithinTheTimersRange) {
    const std::pair<const char*, int> cases[] = {
        {"3", 3},   {" 3 ", 3}, {"+4", 4}, {"2.5", 2}, {"3.5", 4}, {"０５", 5}, {"", 0},
        {"abc", 0}, {"3秒", 0}, {"-2", 0}, {"nan", 0}, {"65", 65}, {"66", 65},  {"1e9", 65},
    };
    for (const auto& [text, seconds] : cases)
        EXPECT_EQ(app::CaptureDelaySeconds(text), seconds) << text;
}

}  // namespace
