#pragma once

// The print-title settings window frmSetUp: which file-name line every report prints. Opened
// modeless from the main window's m8; OK stores the choice and hides the window, the close box
// unloads it so that the next opening starts afresh.

#include <QWidget>
#include <functional>

#include "core/print_title.h"
#include "core/run_ui.h"
#include "program/program.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace zanfor::app {

class SettingsWindow : public QWidget {
    Q_OBJECT

public:
    // `exitAfterError` ends the program after an error of the unstable range.
    SettingsWindow(Program& program, RunUi& ui, std::function<void()> exitAfterError,
                   QWidget* parent = nullptr);

    void refresh();
    // cmdOK.
    void store();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Program& program_;
    RunUi& ui_;
    std::function<void()> exitAfterError_;
    PrintTitleForm form_;
    QCheckBox* freeText_;
    QLineEdit* text_;
    QGroupBox* frame_;
    QCheckBox* file_;
    QCheckBox* path_;
    QPushButton* ok_;
    QLabel* mode_;
};

}  // namespace zanfor::app
