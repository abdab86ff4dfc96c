#pragma once

// The output window frmOut: the CSV, text and Excel exports of the collected results, each
// button enabled when its collector has run. Clicks go to the output panel with this window as
// the busy window; message boxes go through the main window.

#include <QDialog>
#include <array>
#include <functional>

#include "core/desktop.h"
#include "core/dialogs.h"
#include "core/run_ui.h"
#include "output/output_panel.h"
#include "program/program.h"

class QPushButton;

namespace zanfor::app {

class OutputWindow : public QDialog, public RunUi {
    Q_OBJECT

public:
    // `host` is the main window; `exitRequested` runs its exit command after an error that
    // ends the program.
    OutputWindow(Program& program, RunUi& host, Dialogs& dialogs, Desktop& desktop,
                 std::function<void()> exitRequested, QWidget* parent = nullptr);

    // Form_Load: the buttons enabled by the collectors' last-run options.
    void reopen();

    void showMessage(std::string_view) override {}
    void showGauge(bool) override {}
    void setProgress(std::int16_t) override {}
    void setBusy(bool busy) override;
    MsgResult messageBox(std::string_view text, std::string_view title, MsgButtons buttons,
                         MsgIcon icon) override;
    void showReport(std::string_view reportName, int mode) override;
    void startClearTimer(int) override {}

private:
    void click(output::OutputKind kind);

    Program& program_;
    RunUi& host_;
    Dialogs& dialogs_;
    Desktop& desktop_;
    std::function<void()> exitRequested_;
    std::array<QPushButton*, output::kOutputCount> buttons_{};
    bool busy_ = false;
};

// m9: the window, made on first use as a child of `mainWindow`, opened again with its buttons
// enabled afresh and shown modal.
OutputWindow* OpenOutputWindow(QWidget& mainWindow, Program& program, RunUi& host, Dialogs& dialogs,
                               Desktop& desktop, std::function<void()> exitRequested);

}  // namespace zanfor::app
