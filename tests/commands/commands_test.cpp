#include "commands/commands.h"

#include <gtest/gtest.h>

#include <set>

#include "commands/command_table.h"

namespace {

using namespace zanfor;
using app::Collector;
using app::CommandId;

TEST(CommandTable, everyRowIsNamedOnceAndFoundByItsNames) {
    std::set<std::string_view> buttons;
    std::set<std::string_view> cliNames;
    std::set<CommandId> ids;
    for (const auto& row : app::CommandTable()) {
        EXPECT_TRUE(buttons.insert(row.button).second) << row.button;
        EXPECT_TRUE(cliNames.insert(row.cliName).second) << row.cliName;
        EXPECT_TRUE(ids.insert(row.id).second) << row.button;
        EXPECT_EQ(app::FindCommand(row.cliName), &row);
        EXPECT_EQ(app::FindCommand(row.id), &row);
    }
    EXPECT_EQ(app::FindCommand(CommandId::Hyousi2)->button, "cmdHyousi(2)");
    EXPECT_EQ(app::FindCommand("nothing"), nullptr);
    EXPECT_EQ(app::FindCommand(test::kDummyCommand), nullptr);
}

// Opening a target enables a command when the target has what its collector reads; code lives
// in the modules of forms and reports too.
TEST(CommandTable, openingEnablesByWhatTheTargetHas) {
    struct Case {
        const char* what;
        Collector missing;
        std::set<CommandId> disabled;
    };
    const Case cases[] = {
        {"no tables", Collector::Tables, {CommandId::Table}},
        {"no queries", Collector::Queries, {CommandId::Query}},
        {"no forms", Collector::Forms, {CommandId::Form, CommandId::FmImage}},
        {"no reports", Collector::Reports, {CommandId::Report}},
        {"no macros", Collector::Macros, {CommandId::Macro}},
    };
    for (const auto& c : cases) {
        app::LastRunOptions lastRun;
        lastRun[c.missing] = app::kNoObjects;
        const auto enabled = app::EnabledOnOpening(lastRun);
        for (const auto& row : app::CommandTable())
            EXPECT_EQ(enabled[static_cast<std::size_t>(row.id)], !c.disabled.contains(row.id))
                << c.what << ": " << row.button;
    }
    app::LastRunOptions noCode;
    for (auto c : {Collector::Forms, Collector::Reports, Collector::ModuleListing})
        noCode[c] = app::kNoObjects;
    const auto enabled = app::EnabledOnOpening(noCode);
    for (auto id : {CommandId::Proc, CommandId::Module, CommandId::ModStep})
        EXPECT_FALSE(enabled[static_cast<std::size_t>(id)]) << app::FindCommand(id)->button;
    EXPECT_TRUE(enabled[static_cast<std::size_t>(CommandId::Comment)]);
}

TEST(CommandTable, aRowAddedToTheTableIsEnabledAndRunByItsRule) {
    const auto always = test::TableWithDummyRow();
    const auto slot = static_cast<std::size_t>(test::kDummyCommand);
    EXPECT_TRUE(app::EnabledOnOpening({}, always)[slot]);
    app::LastRunOptions noMacros;
    noMacros[Collector::Macros] = app::kNoObjects;
    EXPECT_FALSE(
        app::EnabledOnOpening(noMacros, test::TableWithDummyRow(app::EnabledWhen::Macros))[slot]);

    app::TableCommands commands(always);
    EXPECT_TRUE(commands.runs(test::kDummyCommand));
    EXPECT_TRUE(app::EnabledOnOpening({}, always, &commands)[slot]);
    auto waiting = test::TableWithDummyRow();
    waiting.back().run = nullptr;
    app::TableCommands none(waiting);
    EXPECT_FALSE(none.runs(test::kDummyCommand)) << "no collector yet";
    EXPECT_FALSE(app::EnabledOnOpening({}, waiting, &none)[slot]);
    EXPECT_FALSE(app::TableCommands().runs(test::kDummyCommand));
}

}  // namespace
