#pragma once

// The command panel of the main window without its widgets: which controls are enabled, the
// option groups and check boxes with what a click on them also does, and the hints shown on
// mouse-over. The window builds its controls from these tables and mirrors this state.

#include <array>
#include <bitset>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "commands/commands.h"
#include "core/app_state.h"

namespace zanfor::app {

enum class OptionGroup {
    Object,
    Table,
    TSelect,
    Query,
    QSelect,
    Form,
    FSelect,
    Report,
    RSelect,
    Proc,
    Module,
    MPrint,
    ModStep,
    Macro,
    McSelect,
    Control,
    File,
};
inline constexpr std::size_t kOptionGroupCount = 17;

enum class CheckBox { Link, Proc50, Mod50, CapKbn };
inline constexpr std::size_t kCheckBoxCount = 4;

// The drop-down lists a "選択した..." option enables.
enum class Picker { Table, Query, Form, Report, Macro };
inline constexpr std::size_t kPickerCount = 5;

struct OptionGroupInfo {
    OptionGroup group;
    std::string_view name;  // "optObject"; its buttons are "optObject(0)", "optObject(1)", ...
    std::int16_t OptionSettings::*setting;
    std::span<const std::string_view> captions;
    // The preview button a click disables: its stored result no longer matches the options.
    std::optional<PreviewButton> clears;
    // Index 1 enables this list and index 0 disables it.
    std::optional<Picker> selects;
};

struct CheckBoxInfo {
    CheckBox box;
    std::string_view name;
    std::string_view caption;
    std::int16_t OptionSettings::*setting;
    std::int16_t checkedValue;
    std::int16_t uncheckedValue;
};

std::span<const OptionGroupInfo> OptionGroups();
const OptionGroupInfo& Info(OptionGroup group);
std::span<const CheckBoxInfo> CheckBoxes();
const CheckBoxInfo& Info(CheckBox box);

std::string_view PreviewButtonName(PreviewButton button);  // "cmdOPre", ...
std::string_view PreviewButtonCaption(PreviewButton button);  // "プレビュー" or "ﾌﾟﾚﾋﾞｭｰ"
std::string_view PickerName(Picker picker);                   // "cboTable", ...

struct PanelState {
    std::bitset<kCommandCapacity> commands;
    bool save = false;  // cmdSave
    std::array<bool, kPickerCount> pickers{};
    bool link = true;  // chkLink
    bool macroFrame = true;
    bool controlFrame = true;
    bool etcFrame = true;

    bool enabled(CommandId id) const { return commands[static_cast<std::size_t>(id)]; }
    void enable(CommandId id, bool on = true) { commands.set(static_cast<std::size_t>(id), on); }
    bool enabled(Picker p) const { return pickers[static_cast<std::size_t>(p)]; }
};

// The start-up state: every command and preview button disabled, the options at their start-up
// values with their click handlers run, chkLink checked.
void ResetPanel(PanelState& panel, AppState& state);

// The option button `index` of the group was chosen.
void ClickOption(PanelState& panel, AppState& state, OptionGroup group, int index);
void ClickCheck(AppState& state, CheckBox box, bool checked);
bool IsChecked(const AppState& state, CheckBox box);
// The button of the group that the setting chooses.
int ChosenIndex(const AppState& state, OptionGroup group);

// The menus whose state follows the open mode and the saves.
enum class Menu { Open, Save, Load, Batch, Support, Settings };

// A save leaves the program on its target: another target or file is opened only after a
// restart (m1a, the recent-file entries, m1c). A loaded analysis file locks everything but the
// output window, help, About and exit.
bool MenuEnabled(const AppState& state, Menu menu);

// Fills the panel from a loaded analysis file's flags: its last-run options and scopes, the
// option buttons and preview buttons of the collectors that have results, the report-header
// texts and the three cover buttons; every other action button disabled.
void ShowSavedFlags(PanelState& panel, AppState& state, const LastRunOptions& lastRun,
                    std::span<const std::int16_t, 5> scopes, std::int16_t proc50,
                    std::int16_t mod50);

// The text a control puts into txtMesege when the mouse moves over it; "" for lblDBName and the
// window background; nothing for controls without a hint.
std::optional<std::string_view> HintFor(std::string_view controlName);

}  // namespace zanfor::app
