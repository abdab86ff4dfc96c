#include "collect/macro_collector.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <stdexcept>

#include "host/access/file_application.h"
#include "host/access/macro_converter.h"
#include "host/error.h"
#include "util/vb_string.h"
#include "vba/vba_fixture.h"

namespace {

using namespace zanfor;
using host::access::MacroDefinition;
using host::access::MacroRow;
using host::memory::MemoryApplication;
using Lines = std::vector<std::string>;

MacroRow Action(std::string action, std::vector<std::string> arguments = {},
                std::string macroName = "") {
    return {std::move(macroName), "", std::move(action), std::move(arguments), ""};
}

// An application that converts the first macro and fails as `fail` says on the second.
class FailingApplication : public MemoryApplication {
public:
    FailingApplication(host::memory::MemoryEngine& engine, std::function<void()> fail)
        : MemoryApplication(engine), fail_(std::move(fail)) {}
    host::access::Module convertMacro(const std::string& name) override {
        if (converted_++ > 0)
            fail_();
        return MemoryApplication::convertMacro(name);
    }

private:
    std::function<void()> fail_;
    int converted_ = 0;
};

struct Run {
    test::VbaFixture f;
    collect::RunResult result;
};

// Macros "A" (a beep) and "受注" (a group of three) collected with the given options.
Run Collect(
    std::int16_t listing, std::int16_t selection = 1, std::function<void()> fail = [] {}) {
    host::memory::MemoryTargetBuilder b("/m.mdb");
    b.macro("A", host::access::ConvertMacro({"A", {Action("Beep")}}));
    b.macro("受注", host::access::ConvertMacro(MacroDefinition{
                        "受注",
                        {Action("OpenForm", {"F", "0", "", "", "1"}, "開く"),
                         Action("TransferText", {"2", "", "T"}, "書出"),
                         Action("TransferDatabase", {"0", "", "C:\\a.mdb"}, "取込")}}));
    auto target = std::make_shared<host::memory::MemoryTarget>(*b.build());
    b.macro("無い");  // listed, with no design
    target->containers = b.build()->containers;
    auto f = test::VbaFixture::ForTarget(target);
    f.access = std::make_unique<FailingApplication>(*f.engine, std::move(fail));
    f.access->openCurrentDatabase("/m.mdb");
    f.state().procedureNo = 40;
    f.state().options.macro = listing;
    f.state().options.mcselect = selection;
    f.state().pickers.macroText = "受注";
    auto ctx = f.context();
    const auto result = collect::RunMacroCollection(ctx);
    return {std::move(f), result};
}

TEST(MacroCollector, rowsOfEveryMacroAndArgumentsOfEveryStatement) {
    auto [f, result] = Collect(2);
    EXPECT_EQ(result, collect::RunResult::Failed);  // for the macro without design, named last
    EXPECT_EQ(
        f.rows("SELECT objectNo, ProcedureNo, ObjectName, ProcName, ActionNo, Midasi, CASE "
               "WHEN ActionNo IS NULL THEN Procedure END FROM T_AcMacro WHERE objectNo > 1"),
        (Lines{"2|42|受注|開く|21|2|", "2|43|受注|書出|19|2|", "2|44|受注|取込|17|2|",
               "3||無い|||2|読み取れません (ｴﾗｰNo:30010 マクロ '無い' のデザインがありません。)"}));
    EXPECT_EQ(f.rows("SELECT group_concat(Hikisu, ';') FROM (SELECT Hikisu FROM T_AcMacro2 a JOIN "
                     "T_AcMacro m ON m.ProcedureNo = a.ProcedureNo AND m.LineNo = a.LineNo WHERE "
                     "m.ActionNo = 21 ORDER BY HikiNo)"),
              Lines{R"("F";標準;"";"";acEdit)"});
    EXPECT_EQ(f.state().procedureNo, 44);
    ASSERT_EQ(f.events("box:").size(), 1u);
    EXPECT_NE(f.events("box:")[0].find("\n　無い: ｴﾗｰNo:30010"), std::string::npos);
}

TEST(MacroCollector, selectedMacroAloneIsCollectedAndOnlyPreviewedWhenAskedAgain) {
    auto [f, result] = Collect(1, 2);
    ASSERT_EQ(result, collect::RunResult::Collected);
    EXPECT_EQ(f.rows("SELECT objectNo, ActionNo, Midasi FROM T_AcMacro"),
              (Lines{"1|21|1", "1|19|1", "1|17|1"}));
    EXPECT_EQ(f.collector.count("T_AcMacro2"), 0);
    EXPECT_EQ(f.state().remembered.macro, "受注");
    auto ctx = f.context();
    EXPECT_EQ(collect::RunMacroCollection(ctx), collect::RunResult::Previewed);
}

TEST(MacroCollector, runEndingInTheGeneralReportLeavesNoConvertedModule) {
    auto [f, result] = Collect(2, 1, [] { throw std::runtime_error("boom"); });
    ASSERT_EQ(result, collect::RunResult::Failed);
    EXPECT_EQ(f.events("box:"), Lines{"場所:マクロ情報ｴﾗｰNo:5\n場所、ｴﾗｰNo、内容を控えメール"
                                      "をお願いします。\n内容:boom"});
    EXPECT_EQ(f.rows("SELECT ObjectName FROM T_AcMacro"), Lines{"A"});
    auto& access = static_cast<MemoryApplication&>(*f.access);
    EXPECT_TRUE(access.openObjectNames().empty());
    EXPECT_THROW(access.openModule("変換するマクロ: A"), host::Error);
}

TEST(MacroCollector, errorsOfTheConversionEndTheRunWithTheirOwnLines) {
    const std::map<int, std::string> cases{
        {2046, "マクロをVBAに変換する機能が組み込まれていません。"},
        {2544, "隠しオブジェクトで指定されているマクロがあります。"},
        {2501, "システムが不安定です。"}};
    for (const auto& [number, line] : cases) {
        auto [f, result] = Collect(2, 1, [n = number] { throw host::Error(n, "x"); });
        EXPECT_EQ(result, number == 2501 ? collect::RunResult::ShutdownRequested
                                         : collect::RunResult::Failed);
        const auto boxes = f.events("box:");
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_TRUE(
            boxes[0].starts_with("場所:マクロ情報ｴﾗｰNo:" + std::to_string(number) + "\n" + line))
            << boxes[0];
    }
    EXPECT_FALSE(collect::MacroErrorLines(host::Error(7866, "")));
}

// An Access 97 file: Access opens it without its project, and its macros cannot be converted.
TEST(MacroCollector, fileOlderThanAccess2000Reports2516) {
    ZANFOR_REQUIRE_TESTDATA(data);
    const auto path = data / "mdb/mdbtestdata-nwind-jet3.mdb";
    test::CollectorFixture c(host::access::FileEngine().openDatabase(path.string()));
    host::access::FileApplication access;
    auto ctx = c.context();
    ctx.access = &access;
    EXPECT_EQ(collect::RunMacroCollection(ctx), collect::RunResult::Failed);
    EXPECT_EQ(c.ui.events.at(c.ui.events.size() - 2),
              "box:場所:マクロ情報ｴﾗｰNo:2516\nAccess2000以前のバージョンで作成した\nファイルのため"
              "解析出来ません。\nAccess2000で変換後、解析して下さい。");
}

// Whether `text` shows the argument as written or as a literal, blanks aside.
bool Shows(std::string text, std::string argument) {
    std::erase(text, ' ');
    std::erase(argument, ' ');
    std::string literal;
    for (const char c : argument)
        literal += c == '"' ? "\"\"" : std::string(1, c);
    return text.find(argument) != std::string::npos || text.find(literal) != std::string::npos;
}

// Each action of a sample macro's sheet is one row, in order, under the sheet's condition ("..."
// continues the one above), and its statement shows every text argument: those within the cut
// are listed. The run leaves nothing open and the file as it was.
TEST(MacroCollector, everyActionOfEverySampleMacroIsOneRowWithItsConditionAndArguments) {
    ZANFOR_REQUIRE_TESTDATA(data);
    for (const char* source :
         {"mdb/northwind-ja.mdb", "mdb/northwind-en.mdb", "mdb/comptoir-fr.mdb",
          "pairs/strings/Strings.mdb", "exports/ncrn-birds/source"}) {
        const auto path = data / source;
        const bool folder = std::filesystem::is_directory(path);
        const auto before = folder ? "" : test::FileBytes(path);
        test::CollectorFixture c(host::access::FileEngine().openDatabase(path.string()));
        host::access::FileApplication access;
        access.openCurrentDatabase(path.string());
        c.state.options.macro = 2;
        auto ctx = c.context();
        ctx.access = &access;
        ASSERT_EQ(collect::RunMacroCollection(ctx), collect::RunResult::Collected) << source;
        long objectNo = 0;
        for (const auto& macro : access.currentDb().documents("Scripts")) {
            SCOPED_TRACE(std::string(source) + " " + macro.name);
            workdb::Query q(c.work,
                            "SELECT AcWhere, trim(Procedure), (SELECT group_concat(Hikisu, ', ') "
                            "FROM T_AcMacro2 a WHERE a.ProcedureNo = m.ProcedureNo AND a.LineNo = "
                            "m.LineNo) FROM T_AcMacro m WHERE trim(Procedure) <> 'End If' AND "
                            "objectNo = " +
                                std::to_string(++objectNo) + " ORDER BY rowid");
            for (const auto& row : access.macroDefinition(macro.name).rows) {
                if (row.action.empty())
                    continue;
                ASSERT_TRUE(q.next()) << row.action;
                const std::string condition = util::Trim(row.condition);
                EXPECT_EQ(q.value(0).toText(),
                          condition.empty() || condition == "..." ? "" : "(" + condition + ")");
                const std::string statement = q.value(1).toText();
                const auto listed = util::Left(statement.substr(statement.find(' ') + 1), 170);
                for (const auto& a : row.arguments) {
                    if (a.empty() || a[0] == '=' || a.find_first_not_of("-0123456789") == a.npos)
                        continue;
                    EXPECT_TRUE(Shows(statement, a)) << statement;
                    if (Shows(listed, a)) {
                        EXPECT_TRUE(Shows(q.value(2).toText(), a)) << statement;
                    }
                }
            }
            EXPECT_FALSE(q.next()) << "a row of no action";
        }
        EXPECT_TRUE(access.openObjectNames().empty());
        EXPECT_EQ(folder ? "" : test::FileBytes(path), before);
    }
}

}  // namespace
