#pragma once

// The print-title settings of frmSetUp without its widgets: the check boxes and what a click on
// them does to the others, and cmdOK storing the file-name line every report prints in
// T_AcTitle.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "core/app_state.h"
#include "core/run_ui.h"

namespace zanfor::app {

inline constexpr std::string_view kPrintTitlePlace = "場所:ファイル名印刷指定";
inline constexpr std::string_view kEnterPrintText = "印字する文字を入力して下さい。";
inline constexpr std::string_view kModeFullPath = "ファイル名フルパス印刷";
inline constexpr std::string_view kModeFileName = "ファイル名印刷";
inline constexpr std::string_view kModeFreeText = "任意の文字列を印刷";
inline constexpr std::string_view kModeNone = "印刷しない";

// What frmSetUp's controls show.
struct PrintTitleView {
    bool freeText = false;  // chkSetUp
    bool file = false;      // chkFile
    bool path = false;      // chkPath
    bool fileEnabled = true;
    bool pathEnabled = true;
    bool frameEnabled = true;  // framSetUp
    bool textEnabled = true;   // txtNini
    std::string text;          // txtNini
};

class PrintTitleForm {
public:
    explicit PrintTitleForm(PrintTitleSettings& settings);

    // The first showing: free text on, its text the system name.
    void firstShow(std::string_view systemName);
    void clickFreeText(bool checked);
    void clickFile(bool checked);
    void clickPath(bool checked);
    void setText(std::string_view text) { view_.text = text; }

    const PrintTitleView& view() const { return view_; }
    const PrintTitleSettings& settings() const { return settings_; }

private:
    PrintTitleSettings& settings_;
    PrintTitleView view_;
};

// The row cmdOK writes (none for "印刷しない") and the mode text: the file-name setting decides
// first, then the free-text setting.
struct PrintTitleChoice {
    std::optional<std::string> fileName;
    std::string_view modeText;
};
PrintTitleChoice ChoosePrintTitle(const PrintTitleSettings& settings, std::string_view targetPath,
                                  std::string_view freeText);

enum class StoreResult { Stored, Failed, ExitRequested };

// cmdOK: empties T_AcTitle, writes the chosen row and keeps the mode text. An empty free text
// is refused with its message (the table stays empty); errors get the settings window's report.
StoreResult StorePrintTitle(const std::filesystem::path& workDatabase, PrintTitleSettings& settings,
                            std::string_view targetPath, std::string_view freeText, RunUi& ui);

}  // namespace zanfor::app
