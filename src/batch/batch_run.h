#pragma once

// The batch window frmBatch without its widgets: the twelve steps as one table, what a click on
// a check box or option button does, and the batch run that collects every chosen step on the
// open target with the step's option and leaves the reports to the preview buttons.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "commands/commands.h"
#include "core/app_state.h"

namespace zanfor::batch {

struct BatchStep {
    std::string_view checkBox;  // "chkTbl"
    std::string_view caption;
    std::string_view optionGroup;  // "optTbl"; its buttons are "optTbl(0)", ...; "" for none
    std::span<const std::string_view> optionCaptions;  // in value order 1, 2, ...
    std::int16_t initialOption = 0;
    std::string_view place;     // the error report's place label while the step runs
    std::string_view progress;  // the message line as the step begins
    app::CommandId command{};   // the row of the command table that collects it
    // The collector whose last-run option 9 (no such objects) makes a ticked step's flag 9.
    std::optional<app::Collector> noObjects;
    // The main window's option setting the step's option goes to; none for the comments.
    std::int16_t app::OptionSettings::*setting = nullptr;
    std::string_view flagKey;    // the pattern file's key of the flag: "TABLE"
    std::string_view optionKey;  // and of the option: "mtable"; "" for none
};

// The steps in run order.
std::span<const BatchStep> BatchSteps();

inline constexpr std::int16_t kAllObjectKinds = 7;
inline constexpr std::string_view kBatchFinished =
    "「一括処理」を終了しました。\nプレビューボタンを押して印刷下さい。";

// What the window's check boxes show; a step's option buttons are enabled while its box is
// ticked. A flag of 9 may stand beside a ticked box (the user ticked it) or a cleared one (a
// pattern said 9); both skip the step.
struct BatchPanel {
    std::array<bool, app::kBatchStepCount> ticked{};
};

// Opening the window: every box cleared and every flag 0, the initial options, chkLink ticked.
// Each opening starts afresh, so the flags always match the boxes on screen.
BatchPanel OpenBatch(app::BatchState& batch);

// A click on step `step`'s check box: flag 1 or 0 (step 1 also sets the object kind to 7 or 0),
// then 9 when the step's collector found no objects of its kind in the target.
void ClickStep(BatchPanel& panel, app::AppState& state, std::size_t step, bool ticked);
// The option button `index` of the step's group: the option becomes index + 1.
void ClickStepOption(app::BatchState& batch, std::size_t step, int index);

// After a pattern was read: a box is ticked where the flag is 1 and cleared elsewhere, and a
// ticked step whose kind the target lacks gets flag 9, as a click would give it.
void ShowPattern(BatchPanel& panel, app::AppState& state);

// Whether the step runs: flag 1, and for step 1 the object kind 7 as well.
bool WillRun(const app::BatchState& batch, std::size_t step);

struct BatchOutcome {
    app::CommandEnd end = app::CommandEnd::Done;
    bool failed = false;               // a step reported an error and the batch stopped there
    std::vector<std::size_t> ran;      // the steps that completed, in order
    std::vector<std::string> reports;  // the reports their preview buttons show now
};

// cmdExec: each chosen step collects through `commands` with its option, in the table's order,
// the gauge sharing 100 % among the steps that run; the first failure ends the batch, keeping
// what the steps before it collected. `context.ui` is the batch window.
BatchOutcome RunBatch(app::CommandContext& context, app::Commands& commands);

}  // namespace zanfor::batch
