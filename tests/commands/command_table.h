#pragma once

// The program's command table with one row more, as a build that adds a collector has it: the
// tests show that the row alone puts the command on its button, on the command line and under
// the enabling rules.

#include <vector>

#include "commands/commands.h"

namespace zanfor::test {

// Past every real command, on the last place a table has room for.
inline constexpr auto kDummyCommand = static_cast<app::CommandId>(app::kCommandCapacity - 1);

inline int& DummyRuns() {
    static int runs = 0;
    return runs;
}

inline app::CommandEnd RunDummy(app::CommandContext&) {
    ++DummyRuns();
    return app::CommandEnd::Done;
}

inline std::vector<app::CommandInfo> TableWithDummyRow(
    app::EnabledWhen when = app::EnabledWhen::Always) {
    const auto real = app::CommandTable();
    std::vector<app::CommandInfo> table(real.begin(), real.end());
    table.push_back({.id = kDummyCommand,
                     .button = "cmdDummy",
                     .caption = "ダミー一覧",
                     .cliName = "dummy",
                     .enabledWhen = when,
                     .run = RunDummy});
    return table;
}

}  // namespace zanfor::test
