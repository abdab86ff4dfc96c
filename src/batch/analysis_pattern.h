#pragma once

// The analysis pattern file (.apt): the batch window's step flags and options as 22 lines
// "KEY=value" in the ANSI code page with CR LF, and the window's buttons that save and read it.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "batch/batch_run.h"
#include "core/app_state.h"
#include "core/dialogs.h"
#include "core/run_ui.h"

namespace zanfor::batch {

inline constexpr std::string_view kPatternSaved = "解析パターン登録が完了しました。";
inline constexpr std::string_view kPatternRead = "解析パターンを読み込みました。";
inline constexpr std::string_view kSavePlace = "場所:解析パターン保存";
inline constexpr std::string_view kReadPlace = "場所:解析パターン読込";
inline constexpr std::string_view kPatternNotSaved = "解析パターンを保存できませんでした。";
inline constexpr std::string_view kPatternNotRead = "解析パターンを読み込めませんでした。";

// The flags in step order, then the options of the steps that have one: "OBJECT=1", ...,
// "mfile=1".
std::vector<std::string> PatternLines(const app::BatchState& batch);

// Each line is decided by the first key found in it (keys tried in file order, each as a
// case-sensitive substring anywhere in the line); the value is the one character after the
// key's "=". A line without a key, or whose value is no digit its control can hold (a flag 0, 1
// or 9, an option one of its group's buttons), changes nothing.
void ReadPatternLines(const std::vector<std::string>& lines, app::BatchState& batch);

// The file a name chosen in the save dialog stands for: ".apt" (in any case) replaced by
// ".apt", anything else followed by it; "" for "".
std::string PatternFileName(std::string_view chosen);

// Host errors with a number when the file cannot be written or read; reading leaves `batch`
// as it was then.
void WritePatternFile(const std::filesystem::path& file, const app::BatchState& batch);
void ReadPatternFile(const std::filesystem::path& file, app::BatchState& batch);

// cmdSave: the save dialog, the file, then the message. A file that could not be written is
// reported as such, never as saved.
void SavePattern(const app::BatchState& batch, app::Dialogs& dialogs, app::RunUi& ui);
// cmdRead: the open dialog, the pattern read and shown, then the message; true when read.
bool ReadPattern(BatchPanel& panel, app::AppState& state, app::Dialogs& dialogs, app::RunUi& ui);

}  // namespace zanfor::batch
