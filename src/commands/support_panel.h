#pragma once

// The developer support window frmSien without its widgets: its frames with their captions,
// explanatory labels and buttons, which of them are enabled, the three pickers, the two
// selection options, and the initial processing that builds the procedure table the reference
// tools read. The window builds its controls from these tables and mirrors this state.

#include <array>
#include <bitset>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "commands/commands.h"
#include "core/app_state.h"

namespace zanfor::app {

enum class SupportFrame : std::uint8_t {
    LinkTable,
    ObjUpdate,
    Teigi,
    LinkForm,
    LinkReport,
    Hensu,
    LinkProc
};
inline constexpr std::size_t kSupportFrameCount = 7;

struct SupportFrameInfo {
    SupportFrame frame;
    std::string_view name;  // "framLinkTable"
    std::string_view caption;
    std::string_view note;  // the explanatory label
    std::span<const CommandId> buttons;
};

std::span<const SupportFrameInfo> SupportFrames();
const SupportFrameInfo& Info(SupportFrame frame);

// The option buttons of the form and report frames: index 0 every object, 1 the chosen one.
inline constexpr std::array<std::string_view, 2> kFormSelectCaptions{"全てのフォーム",
                                                                     "選択したフォーム"};
inline constexpr std::array<std::string_view, 2> kReportSelectCaptions{"全てのレポート",
                                                                       "選択したレポート"};
inline constexpr std::string_view kSyokiNote = "※　初期処理をクリック後、操作可能となります。";
inline constexpr std::string_view kSyokiPlace = "場所:初期処理";
inline constexpr std::string_view kSyokiFinished = "「初期処理」を終了しました。";
// The gauge of this window, in twips, and its scale labels.
inline constexpr double kSupportGaugeTwips = 2400;
inline constexpr std::array<std::string_view, 3> kGaugeScale{"0%", "50%", "100%"};

struct SupportPanel {
    std::bitset<kSupportFrameCount> frames;
    std::bitset<kCommandCapacity> commands;
    std::vector<std::string> tables, forms, reports;  // cboTable, cboForm, cboReport; the text
                                                      // each shows is in SupportState
    bool formPicker = true;
    bool reportPicker = true;

    bool enabled(SupportFrame f) const { return frames[static_cast<std::size_t>(f)]; }
    bool enabled(CommandId id) const { return commands[static_cast<std::size_t>(id)]; }
};

// Opening the window: the three pickers filled with the target's tables (Access's own left
// out), forms and reports as its opening counted them, the first of each chosen; the frames and
// buttons enabled by the initial-processing flag and the target's counts, "選択したフォーム" and
// "選択したレポート" chosen. A button whose tool this build lacks (`runs` false) stays disabled.
SupportPanel OpenSupportPanel(AppState& state, const std::function<bool(CommandId)>& runs);

// What the flag, the counts and a catalogue run allow; the pickers are left as they are.
void EnableSupportTools(SupportPanel& panel, const AppState& state,
                        const std::function<bool(CommandId)>& runs);

// optFSelect(index) and optRSelect(index): the selection mode becomes index + 1, and the picker
// is enabled for index 1 only.
void ClickFormSelect(SupportPanel& panel, AppState& state, int index);
void ClickReportSelect(SupportPanel& panel, AppState& state, int index);

// cmdSyoki: the procedure table built anew from the target's modules, the flag set, and the
// closing message. An error is reported with the window's wording and leaves flag and table
// as they were.
CommandEnd RunInitialProcessing(CommandContext& context);

}  // namespace zanfor::app
