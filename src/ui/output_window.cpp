#include "ui/output_window.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "report/qt_text.h"
#include "report/report_fonts.h"
#include "ui/progress_gauge.h"

namespace zanfor::app {

using output::OutputFrame;
using output::OutputKind;
using report::ToQString;

namespace {

// Buttons per row in each frame: the six CSV exports in two rows of three.
int Columns(OutputFrame frame) { return frame == OutputFrame::Text ? 2 : 3; }

}  // namespace

OutputWindow::OutputWindow(Program& program, RunUi& host, Dialogs& dialogs, Desktop& desktop,
                           std::function<void()> exitRequested, QWidget* parent)
    : QDialog(parent),
      program_(program),
      host_(host),
      dialogs_(dialogs),
      desktop_(desktop),
      exitRequested_(std::move(exitRequested)) {
    setObjectName("frmOut");
    setWindowTitle(ToQString(output::kOutputWindowTitle));
    setFont(report::ReportFont(report::FontRole::Text, 9));
    setStyleSheet(FrameStyleSheet() +
                  QStringLiteral("QPushButton { min-width: 120px; min-height: 24px; }"));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 8, 10, 10);
    layout->setSpacing(8);
    for (const auto& frameInfo : output::OutputFrames()) {
        auto* box = new QGroupBox(ToQString(frameInfo.caption));
        box->setObjectName(ToQString(frameInfo.name));
        auto* grid = new QGridLayout(box);
        grid->setContentsMargins(10, 8, 10, 8);
        grid->setSpacing(6);
        int placed = 0;
        for (const auto& info : output::Outputs()) {
            if (info.frame != frameInfo.frame)
                continue;
            auto* b = new QPushButton(ToQString(info.caption));
            b->setObjectName(ToQString(info.button));
            b->setAutoDefault(false);
            const auto kind = info.kind;
            connect(b, &QPushButton::clicked, this, [this, kind] { click(kind); });
            buttons_[static_cast<std::size_t>(kind)] = b;
            const int columns = Columns(frameInfo.frame);
            grid->addWidget(b, placed / columns, placed % columns);
            ++placed;
        }
        layout->addWidget(box);
    }
    reopen();
}

void OutputWindow::reopen() {
    const auto enabled = output::EnabledOutputs(program_.state().lastRun);
    for (std::size_t i = 0; i < buttons_.size(); ++i)
        buttons_[i]->setEnabled(enabled[i]);
}

void OutputWindow::click(OutputKind kind) {
    auto& work = program_.session().work;
    if (!work)
        return;
    output::OutputContext context{
        *work,
        dialogs_,
        *this,
        program_.state().targetPath,
        program_.paths().folder,
        [this](const std::filesystem::path& file) { desktop_.openDocument(file); }};
    if (output::ClickOutput(kind, context) == CommandEnd::ExitRequested && exitRequested_)
        exitRequested_();
}

// The main window waits too: none of its commands may empty a table being written out.
void OutputWindow::setBusy(bool busy) {
    ShowBusy(*this, busy_, busy);
    host_.setBusy(busy);
}

MsgResult OutputWindow::messageBox(std::string_view text, std::string_view title,
                                   MsgButtons buttons, MsgIcon icon) {
    return host_.messageBox(text, title, buttons, icon);
}

void OutputWindow::showReport(std::string_view reportName, int mode) {
    host_.showReport(reportName, mode);
}

OutputWindow* OpenOutputWindow(QWidget& mainWindow, Program& program, RunUi& host, Dialogs& dialogs,
                               Desktop& desktop, std::function<void()> exitRequested) {
    auto* window = mainWindow.findChild<OutputWindow*>("frmOut", Qt::FindDirectChildrenOnly);
    if (!window) {
        window = new OutputWindow(program, host, dialogs, desktop, std::move(exitRequested),
                                  &mainWindow);
        window->setWindowModality(Qt::ApplicationModal);
    } else {
        window->reopen();
    }
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

}  // namespace zanfor::app
