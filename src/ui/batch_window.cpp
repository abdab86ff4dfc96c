#include "ui/batch_window.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "batch/analysis_pattern.h"
#include "core/program_files.h"
#include "report/qt_text.h"
#include "report/report_fonts.h"
#include "ui/progress_gauge.h"

namespace zanfor::app {

using report::ToQString;

BatchWindow::BatchWindow(Program& program, RunUi& host, Dialogs& dialogs,
                         std::function<void()> batchEnded, std::function<void()> exitRequested,
                         QWidget* parent)
    : QDialog(parent),
      program_(program),
      host_(host),
      dialogs_(dialogs),
      batchEnded_(std::move(batchEnded)),
      exitRequested_(std::move(exitRequested)) {
    setObjectName("frmBatch");
    setWindowTitle(ToQString(kProductTitle));
    setFont(report::ReportFont(report::FontRole::Text, 9));

    link_ = new QCheckBox(QStringLiteral("ﾘﾝｸ対象外"));
    link_->setObjectName("chkLink");
    connect(link_, &QCheckBox::clicked, this,
            [this](bool ticked) { program_.state().batch.link = ticked ? 2 : 1; });

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(link_);
    buttons->addStretch();
    auto button = [&](const char* name, const char* caption, auto click) {
        auto* b = new QPushButton(QString::fromUtf8(caption));
        b->setObjectName(name);
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, click);
        buttons->addWidget(b);
    };
    button("cmdExec", "実行", [this] { execute(); });
    button("cmdRead", "読込", [this] {
        batch::ReadPattern(panel_, program_.state(), dialogs_, *this);
        refresh();
    });
    button("cmdSave", "保存",
           [this] { batch::SavePattern(program_.state().batch, dialogs_, *this); });

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 8);
    layout->addWidget(buildSteps());
    layout->addLayout(buttons);
    layout->addWidget(buildProgressArea());
    reopen();
}

QWidget* BatchWindow::buildSteps() {
    auto* area = new QWidget;
    auto* grid = new QGridLayout(area);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(14);
    const auto steps = batch::BatchSteps();
    for (std::size_t i = 0; i < steps.size(); ++i) {
        const auto& step = steps[i];
        const int row = static_cast<int>(i);
        auto* box = new QCheckBox(ToQString(step.caption));
        box->setObjectName(ToQString(step.checkBox));
        boxes_[i] = box;
        grid->addWidget(box, row, 0);
        connect(box, &QCheckBox::clicked, this, [this, i](bool ticked) {
            batch::ClickStep(panel_, program_.state(), i, ticked);
            refresh();
        });
        if (step.optionGroup.empty())
            continue;
        auto* options = new QWidget;
        auto* line = new QHBoxLayout(options);
        line->setContentsMargins(0, 0, 0, 0);
        auto* group = new QButtonGroup(this);
        for (std::size_t k = 0; k < step.optionCaptions.size(); ++k) {
            auto* option = new QRadioButton(ToQString(step.optionCaptions[k]));
            option->setObjectName(ToQString(step.optionGroup) + QStringLiteral("(%1)").arg(k));
            group->addButton(option, static_cast<int>(k));
            line->addWidget(option);
        }
        line->addStretch();
        connect(group, &QButtonGroup::idClicked, this,
                [this, i](int index) { batch::ClickStepOption(program_.state().batch, i, index); });
        options_[i] = group;
        optionRows_[i] = options;
        grid->addWidget(options, row, 1);
    }
    grid->setColumnStretch(1, 1);
    return area;
}

QWidget* BatchWindow::buildProgressArea() {
    auto* area = new QWidget;
    auto* layout = new QHBoxLayout(area);
    layout->setContentsMargins(0, 0, 0, 0);
    message_ = MakeMessageLine();
    layout->addWidget(message_, 1);
    gauge_ = new ProgressGauge(kBatchGaugeTwips, font());
    // This window's scale has only its middle and its end.
    for (auto* label : gauge_->findChildren<QLabel*>())
        if (label->text() == QStringLiteral("0%"))
            label->hide();
    layout->addWidget(gauge_);
    layout->addWidget(gauge_->makeCaption());
    return area;
}

void BatchWindow::reopen() {
    panel_ = batch::OpenBatch(program_.state().batch);
    message_->clear();
    setProgress(0);
    gauge_->showLine(false);
    refresh();
}

void BatchWindow::refresh() {
    const auto& batch = program_.state().batch;
    for (std::size_t i = 0; i < boxes_.size(); ++i) {
        boxes_[i]->setChecked(panel_.ticked[i]);
        if (!options_[i])
            continue;
        optionRows_[i]->setEnabled(panel_.ticked[i]);
        if (auto* chosen = options_[i]->button(batch.options[i] - 1))
            chosen->setChecked(true);
    }
    link_->setChecked(batch.link == 2);
}

void BatchWindow::execute() {
    const auto outcome = program_.runBatch(*this);
    if (batchEnded_)
        batchEnded_();
    if (outcome.end == CommandEnd::ExitRequested && exitRequested_)
        exitRequested_();
}

void BatchWindow::showMessage(std::string_view text) {
    message_->setText(ToQString(text));
    message_->repaint();
}

void BatchWindow::showGauge(bool visible) { gauge_->showLine(visible); }

void BatchWindow::setProgress(std::int16_t percent) { gauge_->setProgress(percent); }

// The main window waits too: its commands must not start inside a batch step.
void BatchWindow::setBusy(bool busy) {
    ShowBusy(*this, busy_, busy);
    host_.setBusy(busy);
}

MsgResult BatchWindow::messageBox(std::string_view text, std::string_view title, MsgButtons buttons,
                                  MsgIcon icon) {
    return host_.messageBox(text, title, buttons, icon);
}

void BatchWindow::showReport(std::string_view reportName, int mode) {
    host_.showReport(reportName, mode);
}

// The batch clears nothing after it ends: its message and gauge stay until the next run.
void BatchWindow::startClearTimer(int) {}

}  // namespace zanfor::app
