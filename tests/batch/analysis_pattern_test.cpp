#include "batch/analysis_pattern.h"

#include <gtest/gtest.h>

#include "test_support.h"
#include "util/encoding.h"

namespace {

using namespace zanfor;
using namespace std::string_literals;
using batch::ReadPatternLines;

app::BatchState Initial() {
    app::BatchState state;
    batch::OpenBatch(state);
    return state;
}

TEST(AnalysisPattern, writesTheTwentyTwoLinesInCp932WithCrLf) {
    test::TempDir dir;
    auto state = Initial();
    state.flags = {1, 0, 1, 0, 0, 9, 0, 1, 0, 0, 0, 1};
    batch::WritePatternFile(dir / "p.apt", state);
    EXPECT_EQ(test::FileBytes(dir / "p.apt"),
              "OBJECT=1\r\nTABLE=0\r\nQUERY=1\r\nFORM=0\r\nREPORT=0\r\nMACRO=9\r\nPROC=0\r\n"
              "MODULE=1\r\nMODSTEP=0\r\nCONTROL=0\r\nFILE=0\r\nCOMMENT=1\r\nmtable=2\r\n"
              "mquery=3\r\nmform=1\r\nmreport=1\r\nmmacro=2\r\nmproc=2\r\nmmodule=3\r\n"
              "mmodstep=4\r\nmcontrol=1\r\nmfile=1\r\n");
    auto back = Initial();
    batch::ReadPatternFile(dir / "p.apt", back);
    EXPECT_EQ(back.flags, state.flags);
    EXPECT_EQ(back.options, state.options);
}

struct ReadCase {
    std::vector<std::string> lines;
    std::size_t step;
    std::int16_t flag;    // the step's flag after reading
    std::int16_t option;  // and its option
};

TEST(AnalysisPattern, eachLineIsDecidedByTheFirstKeyFoundAndOneCharacterOfValue) {
    const ReadCase cases[] = {
        {{"mmodule=2", "garbage", "", "MODULE=1"}, 7, 1, 2},  // any order, extra lines
        {{"mmodule=12"}, 7, 0, 1},                            // one character only
        {{"  xMODSTEP=1 "}, 8, 1, 4},                         // anywhere in the line
        {{"MODSTEP=1"}, 7, 0, 3},                             // MODULE is not in MODSTEP
        {{"QUERY=1 TABLE=1"}, 2, 0, 3},                       // TABLE is tried first
        {{"QUERY=1 TABLE=1"}, 1, 1, 2},
        {{"table=1", "Mtable=3"}, 1, 0, 2},                         // keys are case-sensitive
        {{"TABLE=", "mtable=x", "mtable=4", "mtable=0"}, 1, 0, 2},  // no value its control holds
        {{"TABLE=5", "TABLE=9"}, 1, 9, 2},
        {{"mform = 2"}, 3, 0, 1},  // the value is the blank
    };
    for (const auto& c : cases) {
        auto state = Initial();
        ReadPatternLines(c.lines, state);
        EXPECT_EQ(state.flags[c.step], c.flag) << c.lines.front();
        EXPECT_EQ(state.options[c.step], c.option) << c.lines.front();
    }
}

TEST(AnalysisPattern, theSavedNameAlwaysEndsInDotApt) {
    const std::pair<std::string, std::string> cases[] = {
        {"abc.APT", "abc.apt"}, {"abc", "abc.apt"}, {"", ""},
        {"adapt", "adapt.apt"}, {"APT", "APT.apt"}, {"/d/x.Apt", "/d/x.apt"},
    };
    for (const auto& [chosen, file] : cases)
        EXPECT_EQ(batch::PatternFileName(chosen), file) << chosen;
}

TEST(AnalysisPattern, damagedBytesAndHugeLinesReadWhatTheyHoldWithoutHarm) {
    test::TempDir dir;
    auto bytes = "\xff\xfe\x00\x81\x40junk\r\nOBJECT=1\r\n\x82\xa0"s + std::string(200000, 'Q') +
                 "\rmfile=3\r\n" + std::string(1000, '\0');
    util::WriteFileAtomically(dir / "bad.apt", bytes);
    auto state = Initial();
    batch::ReadPatternFile(dir / "bad.apt", state);
    EXPECT_EQ(state.flags[0], 1);
    EXPECT_EQ(state.options[10], 3);
}

TEST(AnalysisPattern, aFileThatCannotBeReadOrWrittenIsReportedAndChangesNothing) {
    test::TempDir dir;
    std::filesystem::create_directory(dir / "folder.apt");
    util::WriteFileAtomically(dir / "big.apt", std::string((1 << 20) + 1, 'x'));
    const std::pair<std::string, std::string> reads[] = {
        {(dir / "missing.apt").string(), "ｴﾗｰNo:3024"},
        {(dir / "folder.apt").string(), "ｴﾗｰNo:3051"},
        {(dir / "big.apt").string(), "ｴﾗｰNo:3343"},
    };
    for (const auto& [file, number] : reads) {
        app::AppState state;
        batch::BatchPanel panel = batch::OpenBatch(state.batch);
        const auto before = state.batch.options;
        app::ScriptedDialogs dialogs;
        app::RecordingUi ui;
        dialogs.files = {file};
        EXPECT_FALSE(batch::ReadPattern(panel, state, dialogs, ui));
        ASSERT_EQ(ui.events.size(), 1u);
        EXPECT_TRUE(ui.events[0].starts_with("box:場所:解析パターン読込" + number +
                                             "\n解析パターンを読み込めませんでした。"))
            << ui.events[0];
        EXPECT_EQ(state.batch.options, before);
    }
    app::ScriptedDialogs dialogs;
    app::RecordingUi ui;
    dialogs.files = {(dir / "nowhere" / "p").string()};
    batch::SavePattern(Initial(), dialogs, ui);
    ASSERT_EQ(ui.events.size(), 1u);
    EXPECT_TRUE(ui.events[0].starts_with("box:場所:解析パターン保存ｴﾗｰNo:"));
    EXPECT_EQ(dialogs.fileRequests[0].title, "解析用パターンの保存");
    EXPECT_EQ(dialogs.fileRequests[0].filterDescription, "解析ﾊﾟﾀｰﾝ(*.apt)");
}

}  // namespace
