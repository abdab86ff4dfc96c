#include "app/main_window.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>
#include <QWidget>

#include "app/program_files.h"
#include "report/report_fonts.h"

namespace zanfor::app {

MainWindow::MainWindow(QWidget* parent)
    : QMainWindow(parent), dbName_(new QLabel(this)), message_(new QLineEdit(this)) {
    setObjectName("frmZanfor");
    setWindowTitle(QString::fromUtf8(kProductTitle.data(), kProductTitle.size()));
    setFont(report::ReportFont(report::FontRole::Text, 10));

    dbName_->setObjectName("lblDBName");
    message_->setObjectName("txtMesege");
    message_->setReadOnly(true);

    auto* central = new QWidget(this);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("mdb File :"), dbName_);
    auto* layout = new QVBoxLayout(central);
    layout->addLayout(form);
    layout->addWidget(message_);
    setCentralWidget(central);
}

void MainWindow::setTargetPath(const QString& path) { dbName_->setText(path); }

void MainWindow::showMessage(const QString& text) { message_->setText(text); }

}  // namespace zanfor::app
