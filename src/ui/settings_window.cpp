#include "ui/settings_window.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/program_files.h"
#include "report/qt_text.h"
#include "report/report_fonts.h"

namespace zanfor::app {

using report::ToQString;

SettingsWindow::SettingsWindow(Program& program, RunUi& ui, std::function<void()> exitAfterError,
                               QWidget* parent)
    : QWidget(parent, Qt::Window),
      program_(program),
      ui_(ui),
      exitAfterError_(std::move(exitAfterError)),
      form_(program.state().printTitle),
      freeText_(new QCheckBox(QStringLiteral("任意の文字を印字する"))),
      text_(new QLineEdit),
      frame_(new QGroupBox),
      file_(new QCheckBox(QStringLiteral("各種レポートへファイル名を印字する"))),
      path_(new QCheckBox(QStringLiteral("ファイル名をフルパスで表示する"))),
      ok_(new QPushButton(QStringLiteral("OK"))),
      mode_(new QLabel) {
    setObjectName("frmSetUp");
    setWindowTitle(ToQString(kProductTitle));
    setAttribute(Qt::WA_DeleteOnClose);
    setFont(report::ReportFont(report::FontRole::Text, 9));
    freeText_->setObjectName("chkSetUp");
    text_->setObjectName("txtNini");
    frame_->setObjectName("framSetUp");
    file_->setObjectName("chkFile");
    path_->setObjectName("chkPath");
    ok_->setObjectName("cmdOK");
    mode_->setObjectName("lblMsg");

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(14, 12, 14, 12);
    layout->setSpacing(8);
    layout->addWidget(freeText_);
    auto* textRow = new QHBoxLayout;
    textRow->addSpacing(22);
    textRow->addWidget(text_);
    layout->addLayout(textRow);
    auto* frameLayout = new QVBoxLayout(frame_);
    frameLayout->setContentsMargins(10, 8, 10, 8);
    frameLayout->setSpacing(6);
    frameLayout->addWidget(file_);
    auto* pathRow = new QHBoxLayout;
    pathRow->addSpacing(22);
    pathRow->addWidget(path_);
    frameLayout->addLayout(pathRow);
    layout->addWidget(frame_);
    auto* bottom = new QHBoxLayout;
    mode_->setMinimumWidth(180);
    mode_->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    mode_->setMinimumHeight(24);
    bottom->addWidget(mode_, 1);
    ok_->setMinimumSize(88, 26);
    bottom->addWidget(ok_);
    layout->addLayout(bottom);

    connect(freeText_, &QCheckBox::clicked, this, [this](bool on) {
        form_.clickFreeText(on);
        refresh();
    });
    connect(file_, &QCheckBox::clicked, this, [this](bool on) {
        form_.clickFile(on);
        refresh();
    });
    connect(path_, &QCheckBox::clicked, this, [this](bool on) {
        form_.clickPath(on);
        refresh();
    });
    connect(text_, &QLineEdit::textChanged, this,
            [this](const QString& text) { form_.setText(text.toStdString()); });
    connect(ok_, &QPushButton::clicked, this, [this] { store(); });

    for (auto* child : findChildren<QWidget*>())
        child->installEventFilter(this);
    form_.firstShow(program_.state().header.system);
    refresh();
    adjustSize();
    resize(std::max(width(), 400), height());
}

void SettingsWindow::refresh() {
    const auto& view = form_.view();
    freeText_->setChecked(view.freeText);
    file_->setChecked(view.file);
    path_->setChecked(view.path);
    file_->setEnabled(view.fileEnabled);
    path_->setEnabled(view.pathEnabled);
    frame_->setEnabled(view.frameEnabled);
    text_->setEnabled(view.textEnabled);
    if (text_->text() != ToQString(view.text))
        text_->setText(ToQString(view.text));
}

void SettingsWindow::store() {
    const auto result = StorePrintTitle(program_.paths().workDatabase, program_.state().printTitle,
                                        program_.state().targetPath, form_.view().text, ui_);
    switch (result) {
        case StoreResult::Stored:
            mode_->setText(ToQString(program_.state().printTitle.modeText));
            hide();
            break;
        case StoreResult::ExitRequested:
            if (exitAfterError_)
                exitAfterError_();
            break;
        case StoreResult::Failed:
            break;
    }
}

bool SettingsWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const auto key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            focusNextChild();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace zanfor::app
