#pragma once

// The batch window frmBatch: a check box and option group per step, chkLink, the buttons that
// run the batch and save or read an analysis pattern, and a progress display of its own. It
// shows the batch panel and the state's batch values and runs the batch through the Program
// with itself as the batch's window; message boxes go through the main window.

#include <QDialog>
#include <array>
#include <cstdint>
#include <functional>
#include <string_view>

#include "batch/batch_run.h"
#include "core/dialogs.h"
#include "core/run_ui.h"
#include "program/program.h"

class QButtonGroup;
class QCheckBox;
class QLabel;
class QLineEdit;

namespace zanfor::app {

class ProgressGauge;

// The length of the batch window's gauge line in twips.
inline constexpr double kBatchGaugeTwips = 2350;

class BatchWindow : public QDialog, public RunUi {
    Q_OBJECT

public:
    // `host` is the main window; `batchEnded` lets it show the options and preview buttons the
    // batch set, `exitRequested` runs its exit command after an error that ends the program.
    BatchWindow(Program& program, RunUi& host, Dialogs& dialogs, std::function<void()> batchEnded,
                std::function<void()> exitRequested, QWidget* parent = nullptr);

    // The window's opening: every box cleared, the initial options, chkLink ticked.
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
    QWidget* buildSteps();
    QWidget* buildProgressArea();
    void refresh();
    void execute();

    Program& program_;
    RunUi& host_;
    Dialogs& dialogs_;
    std::function<void()> batchEnded_;
    std::function<void()> exitRequested_;
    batch::BatchPanel panel_;
    std::array<QCheckBox*, kBatchStepCount> boxes_{};
    std::array<QButtonGroup*, kBatchStepCount> options_{};
    std::array<QWidget*, kBatchStepCount> optionRows_{};
    QCheckBox* link_ = nullptr;
    QLineEdit* message_ = nullptr;
    ProgressGauge* gauge_ = nullptr;
    bool busy_ = false;
};

}  // namespace zanfor::app
