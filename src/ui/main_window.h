#pragma once

// The main window frmZanfor: one panel per kind of documentation (action button, options,
// picker, preview button), the report-header block, the path line, the progress display and
// the menu bar. It shows the Program's state and forwards every click to it; it is also the
// RunUi the commands write their messages and progress to.

#include <QMainWindow>
#include <QPointer>
#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "commands/commands.h"
#include "commands/main_panel.h"
#include "core/desktop.h"
#include "core/dialogs.h"
#include "core/error_report.h"
#include "core/run_ui.h"
#include "core/startup.h"
#include "program/program.h"

class QAction;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QHelpEvent;
class QHBoxLayout;
class QKeyEvent;
class QLabel;
class QLayout;
class QLineEdit;
class QMouseEvent;
class QPushButton;
class QTimer;
class QVBoxLayout;

namespace zanfor::app {

class ProgressGauge;
class ReportPresenter;
class SettingsWindow;
class SupportWindow;
class DependencyWindow;
class SiteRun;
class BatchWindow;
class CaptureWindow;
class QtCaptureDesk;

// What the window works with; each one left empty is the real thing (Qt dialogs, the desktop,
// the .mdb reader, Access over the file, the collectors' commands, the report preview).
struct MainWindowServices {
    Dialogs* dialogs = nullptr;
    Desktop* desktop = nullptr;
    host::dao::Engine* engine = nullptr;
    host::access::ApplicationFactory* accessFactory = nullptr;
    Commands* commands = nullptr;
    std::span<const CommandInfo> commandTable = CommandTable();  // a button for every row
    std::function<std::string()> today;
    std::function<void(std::string_view reportName, int mode)> showReport;
    // Called once the program has shut down; quits the application when empty.
    std::function<void()> endProgram;
};

class MainWindow : public QMainWindow, public RunUi {
    Q_OBJECT

public:
    explicit MainWindow(Startup startup, MainWindowServices services = {},
                        QWidget* parent = nullptr);
    ~MainWindow() override;

    Program& program() { return *program_; }
    // The commands the action buttons run when no other Commands were given.
    TableCommands& tableCommands() { return tableCommands_; }

    // Shows the program's state in the controls.
    void refresh();
    // The analysis file named on the command line, loaded once the window is up.
    void loadAtStartUp(const std::filesystem::path& file);

    // m1z: the exit question with OK and Cancel, then shutdown.
    void exitCommand();
    // The settings window's unstable-system error: "終了します。", shutdown without Zanfor.ini.
    void endAfterSettingsError();
    bool hasEnded() const { return ending_; }

    SettingsWindow* settingsWindow() const;
    SupportWindow* supportWindow() const;
    BatchWindow* batchWindow() const;
    // frmCapture while it is open; Timer2 (the capture time) opens it.
    CaptureWindow* captureWindow() const;

    int twipsToPixels(double twips) const;
    std::int32_t pixelsToTwips(int pixels) const;

    void showMessage(std::string_view text) override;
    void showGauge(bool visible) override;
    void setProgress(std::int16_t percent) override;
    void setBusy(bool busy) override;
    MsgResult messageBox(std::string_view text, std::string_view title, MsgButtons buttons,
                         MsgIcon icon) override;
    void showReport(std::string_view reportName, int mode) override;
    void startClearTimer(int milliseconds) override;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct HeaderBox {
        std::string_view name;
        std::string_view caption;
        std::string ReportHeader::*field;
        QLineEdit* edit = nullptr;
    };

    struct Panel {
        QGroupBox* box;
        QVBoxLayout* layout;
    };

    void buildMenus();
    QWidget* buildPanels();
    // A frame with its action and preview buttons on top.
    Panel panel(std::string_view caption, std::string_view name, CommandId id);
    // A panel whose options are all it holds besides its buttons.
    QGroupBox* simplePanel(std::string_view caption, std::string_view name, CommandId id,
                           QWidget* options);
    QGroupBox* simplePanel(std::string_view caption, std::string_view name, CommandId id,
                           QLayout* options);
    // A panel that lists all objects of a kind or the one chosen in its picker.
    QGroupBox* selectPanel(std::string_view caption, std::string_view name, CommandId id,
                           OptionGroup listing, OptionGroup select, Picker which,
                           QWidget* extra = nullptr);
    QGroupBox* buildOtherPanel();
    QGroupBox* buildCoverPanel();
    QWidget* buildStatusArea();
    QGroupBox* frame(std::string_view caption, std::string_view name);
    QPushButton* commandButton(CommandId id);
    // The command's button and, when its row has one, its preview button.
    QHBoxLayout* actionRow(CommandId id);
    QWidget* optionGroup(OptionGroup group, int columns = 1);
    QCheckBox* checkBox(CheckBox box);
    QComboBox* picker(std::string_view name);
    HeaderBox& headerBox(std::string_view name);
    QLineEdit* headerEdit(std::string_view name);
    void placeWindow();
    void watchChildren();
    void refreshPickers();

    void openTarget(std::optional<std::size_t> recentIndex);
    void runCommand(CommandId id);
    void showPreview(PreviewButton button);
    void openSettingsWindow();
    void openSupportWindow();
    void openDependencyWindow();
    void writeSite();
    void openBatchWindow();
    void openCaptureWindow();
    void runFileCommand(CommandEnd (Program::*command)());
    void refreshMenus();
    void showAbout();
    void openScreenSaverSettings();
    void openHelp();
    void clearProgress();
    bool enterAsTab(QWidget* widget, const QKeyEvent* key);
    void showHintOf(const QWidget* widget);
    void clearHintOverBackground(QWidget* widget, const QMouseEvent* move);
    bool showDisabledMenuHint(const QHelpEvent* help);
    void finish(bool writeSettings);
    void reportError(const ErrorReport& report);

    std::unique_ptr<Dialogs> ownedDialogs_;
    std::unique_ptr<Desktop> ownedDesktop_;
    std::unique_ptr<host::dao::Engine> ownedEngine_;
    std::unique_ptr<host::access::ApplicationFactory> ownedFactory_;
    TableCommands tableCommands_;
    MainWindowServices services_;
    std::unique_ptr<QtCaptureDesk> captureDesk_;
    std::unique_ptr<Program> program_;
    std::unique_ptr<ReportPresenter> presenter_;

    std::array<QPushButton*, kCommandCapacity> commands_{};
    std::array<QPushButton*, kPreviewButtonCount> previews_{};
    std::array<QButtonGroup*, kOptionGroupCount> groups_{};
    std::array<QCheckBox*, kCheckBoxCount> checks_{};
    std::array<QComboBox*, kPickerCount> pickers_{};
    QComboBox* fmImage_ = nullptr;
    std::array<HeaderBox, 7> header_;
    QPushButton* save_ = nullptr;
    QGroupBox* macroFrame_ = nullptr;
    QGroupBox* controlFrame_ = nullptr;
    QGroupBox* etcFrame_ = nullptr;
    QLabel* dbName_ = nullptr;
    QLineEdit* message_ = nullptr;
    ProgressGauge* gaugeBox_ = nullptr;
    QLabel* percent_ = nullptr;
    QTimer* timer1_ = nullptr;
    std::array<QAction*, 4> recent_{};
    QAction* openMenu_ = nullptr;            // m1a
    QAction* settingsMenu_ = nullptr;        // m8
    std::array<QAction*, 5> windowMenus_{};  // m1b, m1c, m6, m7, m9
    QPointer<SettingsWindow> settings_;
    QPointer<SupportWindow> support_;
    QPointer<DependencyWindow> dependencies_;
    SiteRun* site_ = nullptr;
    QPointer<BatchWindow> batch_;
    QPointer<CaptureWindow> capture_;

    bool refreshing_ = false;
    bool busy_ = false;
    bool ending_ = false;
};

}  // namespace zanfor::app
