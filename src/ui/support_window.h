#pragma once

// The developer support window frmSien: the cross-reference tools in their frames, the initial
// processing that unlocks them, and a progress display of its own. It shows the support panel's
// state and runs its buttons through the Program with itself as the tools' window; message boxes
// and report previews go through the main window.

#include <QDialog>
#include <array>
#include <cstdint>
#include <string_view>

#include "commands/support_panel.h"
#include "core/run_ui.h"
#include "program/program.h"

class QButtonGroup;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;

namespace zanfor::app {

class ProgressGauge;

class SupportWindow : public QDialog, public RunUi {
    Q_OBJECT

public:
    // `host` is the main window: its message boxes and report preview serve this window too;
    // `exitRequested` is called when a tool hit an error that ends the program.
    SupportWindow(Program& program, RunUi& host, std::function<void()> exitRequested,
                  QWidget* parent = nullptr);

    // Opening the window again: pickers refilled, tools enabled by the flag.
    void reopen();

    void showMessage(std::string_view text) override;
    void showGauge(bool visible) override;
    void setProgress(std::int16_t percent) override;
    void setBusy(bool busy) override;
    MsgResult messageBox(std::string_view text, std::string_view title, MsgButtons buttons,
                         MsgIcon icon) override;
    void showReport(std::string_view reportName, int mode) override;
    void startClearTimer(int milliseconds) override;

private:
    QGroupBox* frame(const SupportFrameInfo& info);
    QPushButton* button(CommandId id);
    QWidget* selection(std::string_view name, const std::array<std::string_view, 2>& captions,
                       QButtonGroup*& group, void (*click)(SupportPanel&, AppState&, int));
    QWidget* buildProgressArea();
    void run(CommandId id);
    void refresh();
    bool runs(CommandId id) const;

    Program& program_;
    RunUi& host_;
    std::function<void()> exitRequested_;
    SupportPanel panel_;
    std::array<QGroupBox*, kSupportFrameCount> frames_{};
    std::array<QPushButton*, kCommandCapacity> buttons_{};
    QComboBox* tables_ = nullptr;
    QComboBox* forms_ = nullptr;
    QComboBox* reports_ = nullptr;
    QButtonGroup* formSelect_ = nullptr;
    QButtonGroup* reportSelect_ = nullptr;
    QLineEdit* message_ = nullptr;
    ProgressGauge* gaugeBox_ = nullptr;
    QLabel* percent_ = nullptr;
    QTimer* clearTimer_ = nullptr;
    bool busy_ = false;
    bool refreshing_ = false;
};

}  // namespace zanfor::app
