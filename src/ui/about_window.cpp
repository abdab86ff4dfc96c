#include "ui/about_window.h"

#include <QFormLayout>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/program_files.h"
#include "report/qt_text.h"
#include "report/report_fonts.h"

namespace zanfor::app {

using report::ToQString;

namespace {

QLabel* Figure(const std::string& text, const char* name) {
    auto* label = new QLabel(ToQString(text));
    label->setObjectName(ToQString(name));
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

}  // namespace

AboutWindow::AboutWindow(const AboutFigures& figures, QWidget* parent) : QDialog(parent) {
    setObjectName("frmAbout");
    setWindowTitle(ToQString(kProductTitle));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowModality(Qt::ApplicationModal);
    setFont(report::ReportFont(report::FontRole::Text, 9));

    auto* mark = new QLabel(QStringLiteral("Z"));
    mark->setObjectName("picIcon");
    mark->setFixedSize(48, 48);
    mark->setAlignment(Qt::AlignCenter);
    mark->setStyleSheet(
        QStringLiteral("background:#1f5fae; color:white; border-radius:8px;"
                       "font-size:28px; font-weight:bold;"));

    auto* title = new QLabel(QStringLiteral("Zanfor2000"));
    title->setObjectName("lblTitle");
    QFont big = font();
    big.setPointSizeF(16);
    big.setBold(true);
    title->setFont(big);
    auto* version = new QLabel(QStringLiteral("Ver 2.1"));
    version->setObjectName("lblVersion");

    auto* heading = new QVBoxLayout;
    heading->setSpacing(2);
    heading->addWidget(title);
    heading->addWidget(version);
    auto* top = new QHBoxLayout;
    top->setSpacing(12);
    top->addWidget(mark, 0, Qt::AlignTop);
    top->addLayout(heading, 1);

    auto* line = new QFrame;
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);

    auto* form = new QFormLayout;
    form->setLabelAlignment(Qt::AlignRight);
    form->setHorizontalSpacing(10);
    form->setVerticalSpacing(4);
    form->addRow(QStringLiteral("ファイル名："), Figure(figures.fileName, "lblFileName"));
    form->addRow(QStringLiteral("ドライブ："), Figure(figures.drive, "lblDrive"));
    form->addRow(QStringLiteral("ドライブ容量："), Figure(figures.totalSpace, "lblTotal"));
    form->addRow(QStringLiteral("空き容量："), Figure(figures.freeSpace, "lblFree"));
    form->addRow(QStringLiteral("ファイルサイズ："), Figure(figures.fileSize, "lblSize"));

    auto* ok = new QPushButton(QStringLiteral("OK"));
    ok->setObjectName("cmdOK");
    ok->setMinimumSize(88, 26);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 14, 16, 12);
    layout->setSpacing(10);
    layout->addLayout(top);
    layout->addWidget(line);
    layout->addLayout(form);
    layout->addLayout(buttons);
    setMinimumWidth(340);
}

}  // namespace zanfor::app
