#include "ui/support_window.h"

#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>
#include <vector>

#include "core/program_files.h"
#include "core/progress.h"
#include "report/qt_text.h"
#include "report/report_fonts.h"
#include "ui/progress_gauge.h"

namespace zanfor::app {

using report::ToQString;

namespace {

std::size_t Slot(auto value) { return static_cast<std::size_t>(value); }

void ShowNames(QComboBox* combo, const std::vector<std::string>& names, const std::string& text) {
    combo->clear();
    for (const auto& name : names)
        combo->addItem(ToQString(name));
    combo->setCurrentIndex(combo->findText(ToQString(text)));
}

}  // namespace

SupportWindow::SupportWindow(Program& program, RunUi& host, std::function<void()> exitRequested,
                             QWidget* parent)
    : QDialog(parent), program_(program), host_(host), exitRequested_(std::move(exitRequested)) {
    setObjectName("frmSien");
    setWindowTitle(QStringLiteral("開発者支援"));
    setFont(report::ReportFont(report::FontRole::Text, 9));
    setStyleSheet(FrameStyleSheet());

    clearTimer_ = new QTimer(this);
    connect(clearTimer_, &QTimer::timeout, this, [this] {
        clearTimer_->stop();
        showMessage({});
        showGauge(false);
        percent_->clear();
    });

    // The searches on the left, the listings and comparisons on the right; each column stacks
    // its frames at their own heights, so a wrapped note is never squeezed to fit the other.
    auto* columns = new QHBoxLayout;
    columns->setSpacing(10);
    const auto frames = SupportFrames();
    for (const auto& column :
         {std::vector{SupportFrame::LinkTable, SupportFrame::LinkForm, SupportFrame::LinkReport},
          std::vector{SupportFrame::Hensu, SupportFrame::LinkProc, SupportFrame::ObjUpdate,
                      SupportFrame::Teigi}}) {
        auto* stack = new QVBoxLayout;
        stack->setSpacing(6);
        for (const auto f : column)
            stack->addWidget(frame(frames[Slot(f)]));
        stack->addStretch();
        columns->addLayout(stack, 1);
    }

    auto* syoki = new QHBoxLayout;
    syoki->addWidget(button(CommandId::Syoki));
    auto* note = new QLabel(ToQString(kSyokiNote));
    note->setObjectName("lblSyoki");
    syoki->addWidget(note);
    syoki->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addLayout(columns);
    layout->addLayout(syoki);
    layout->addWidget(buildProgressArea());
    reopen();
    showGauge(false);
}

QGroupBox* SupportWindow::frame(const SupportFrameInfo& info) {
    auto* box = new QGroupBox(ToQString(info.caption));
    box->setObjectName(ToQString(info.name));
    frames_[Slot(info.frame)] = box;
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(8, 6, 8, 8);
    auto* note = new QLabel(ToQString(info.note));
    note->setWordWrap(true);
    note->setMinimumWidth(300);
    layout->addWidget(note);
    auto combo = [&](QComboBox*& picker, const char* name) {
        picker = new QComboBox;
        picker->setObjectName(name);
        picker->setMinimumWidth(200);
        layout->addWidget(picker);
    };
    switch (info.frame) {
        case SupportFrame::LinkTable:
            combo(tables_, "cboTable");
            tables_->setEditable(true);  // a name typed there is searched as it stands
            break;
        case SupportFrame::LinkForm:
            combo(forms_, "cboForm");
            layout->addWidget(
                selection("optFSelect", kFormSelectCaptions, formSelect_, ClickFormSelect));
            break;
        case SupportFrame::LinkReport:
            combo(reports_, "cboReport");
            layout->addWidget(
                selection("optRSelect", kReportSelectCaptions, reportSelect_, ClickReportSelect));
            break;
        default:
            break;
    }
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (const CommandId id : info.buttons)
        buttons->addWidget(button(id));
    layout->addLayout(buttons);
    // A tool this build lacks says so where its button waits.
    for (const CommandId id : info.buttons)
        if (!runs(id))
            buttons_[Slot(id)]->setToolTip(ToQString(info.caption) +
                                           QStringLiteral("は準備中です。"));
    return box;
}

QPushButton* SupportWindow::button(CommandId id) {
    const auto* row = FindCommand(id, SupportCommandTable());
    auto* b = new QPushButton(ToQString(row->caption));
    b->setObjectName(ToQString(row->button));
    b->setAutoDefault(false);
    buttons_[Slot(id)] = b;
    connect(b, &QPushButton::clicked, this, [this, id] { run(id); });
    return b;
}

QWidget* SupportWindow::selection(std::string_view name,
                                  const std::array<std::string_view, 2>& captions,
                                  QButtonGroup*& group,
                                  void (*click)(SupportPanel&, AppState&, int)) {
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    group = new QButtonGroup(this);
    for (int i = 0; i < 2; ++i) {
        auto* option = new QRadioButton(ToQString(captions[Slot(i)]));
        option->setObjectName(ToQString(name) + QStringLiteral("(%1)").arg(i));
        group->addButton(option, i);
        layout->addWidget(option);
    }
    layout->addStretch();
    connect(group, &QButtonGroup::idClicked, this, [this, click](int index) {
        if (refreshing_)
            return;
        click(panel_, program_.state(), index);
        refresh();
    });
    return row;
}

QWidget* SupportWindow::buildProgressArea() {
    auto* area = new QWidget;
    auto* layout = new QHBoxLayout(area);
    layout->setContentsMargins(0, 0, 0, 0);
    message_ = MakeMessageLine();
    layout->addWidget(message_, 1);
    gaugeBox_ = new ProgressGauge(kSupportGaugeTwips, font());
    layout->addWidget(gaugeBox_);
    percent_ = gaugeBox_->makeCaption();
    layout->addWidget(percent_);
    return area;
}

bool SupportWindow::runs(CommandId id) const {
    const auto* row = FindCommand(id, SupportCommandTable());
    return row && row->run;
}

void SupportWindow::reopen() {
    panel_ = OpenSupportPanel(program_.state(), [this](CommandId id) { return runs(id); });
    gaugeBox_->showLine(false);
    refresh();
}

void SupportWindow::refresh() {
    refreshing_ = true;
    for (const auto& info : SupportFrames())
        frames_[Slot(info.frame)]->setEnabled(panel_.enabled(info.frame));
    for (const auto& row : SupportCommandTable())
        buttons_[Slot(row.id)]->setEnabled(panel_.enabled(row.id));
    const auto& chosen = program_.state().support;
    ShowNames(tables_, panel_.tables, chosen.tableText);
    ShowNames(forms_, panel_.forms, chosen.formText);
    ShowNames(reports_, panel_.reports, chosen.reportText);
    forms_->setEnabled(panel_.formPicker);
    reports_->setEnabled(panel_.reportPicker);
    const auto& support = program_.state().support;
    formSelect_->button(support.formMode - 1)->setChecked(true);
    reportSelect_->button(support.reportMode - 1)->setChecked(true);
    refreshing_ = false;
}

void SupportWindow::run(CommandId id) {
    auto& support = program_.state().support;
    support.tableText = tables_->currentText().toStdString();
    support.formText = forms_->currentText().toStdString();
    support.reportText = reports_->currentText().toStdString();
    const auto end = program_.runCommand(id, *this);
    EnableSupportTools(panel_, program_.state(), [this](CommandId c) { return runs(c); });
    refresh();
    if (end == CommandEnd::ExitRequested && exitRequested_)
        exitRequested_();
}

void SupportWindow::showMessage(std::string_view text) {
    message_->setText(ToQString(text));
    message_->repaint();
}

void SupportWindow::showGauge(bool visible) { gaugeBox_->showLine(visible); }

void SupportWindow::setProgress(std::int16_t percent) { gaugeBox_->setProgress(percent); }

void SupportWindow::setBusy(bool busy) { ShowBusy(*this, busy_, busy); }

MsgResult SupportWindow::messageBox(std::string_view text, std::string_view title,
                                    MsgButtons buttons, MsgIcon icon) {
    return host_.messageBox(text, title, buttons, icon);
}

void SupportWindow::showReport(std::string_view reportName, int mode) {
    host_.showReport(reportName, mode);
}

void SupportWindow::startClearTimer(int milliseconds) {
    if (milliseconds <= 0) {
        clearTimer_->stop();
        return;
    }
    clearTimer_->start(milliseconds);
}

}  // namespace zanfor::app
