#include "ui/capture_window.h"

#include <QBuffer>
#include <QClipboard>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QMenuBar>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <system_error>

#include "core/error_report.h"
#include "core/program_files.h"
#include "host/error.h"
#include "render/form_renderer.h"
#include "report/qt_text.h"
#include "util/encoding.h"
#include "util/vb_string.h"

namespace zanfor::app {

using report::ToQString;

namespace {

constexpr int kExtraWidthTwips = 120;
constexpr int kExtraHeightTwips = 690;
constexpr std::string_view kBitmapExtension = ".bmp";
// The page setup's margins in millimetres: left, top, right, bottom, and the least it allows.
constexpr QMarginsF kMargins(10, 20, 10, 15);
constexpr QMarginsF kMinimumMargins(5, 5, 5, 5);

// The picture at its size on paper (it was taken at the screen's 96 dpi), made smaller when it
// does not fit inside the margins.
void PrintPicture(QPrinter& printer, const QImage& picture) {
    const QRect area = printer.pageLayout().paintRectPixels(printer.resolution());
    const double scale = static_cast<double>(printer.resolution()) / render::kScreenDpi;
    QSize size(qRound(picture.width() * scale), qRound(picture.height() * scale));
    if (size.width() > area.width() || size.height() > area.height())
        size = size.scaled(area.size(), Qt::KeepAspectRatio);
    QPainter painter;
    if (!painter.begin(&printer))
        throw host::Error(host::err::kNoPrinter, "プリンタに出力できません。");
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRect(QPoint(0, 0), size), picture);
}

}  // namespace

QSize CaptureWindowSize(QSize picture) {
    return picture +
           QSize(render::TwipsToPixels(kExtraWidthTwips), render::TwipsToPixels(kExtraHeightTwips));
}

std::string BitmapFileName(std::string_view chosen) {
    const auto ending = chosen.size() >= kBitmapExtension.size()
                            ? chosen.substr(chosen.size() - kBitmapExtension.size())
                            : std::string_view();
    if (util::EqualsIgnoreCase(ending, kBitmapExtension))
        chosen.remove_suffix(kBitmapExtension.size());
    return std::string(chosen) + std::string(kBitmapExtension);
}

void WriteBitmapFile(const QImage& picture, const std::filesystem::path& file) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (picture.isNull() || !picture.save(&buffer, "BMP"))
        throw host::Error(host::err::kInvalidProcedureCall, "保存する画像がありません。");
    try {
        util::WriteFileAtomically(file, std::string_view(bytes.constData(), bytes.size()));
    } catch (const std::system_error& e) {
        throw host::FileSystemError(file, e.code());
    }
}

CaptureWindow::CaptureWindow(Dialogs& dialogs, std::function<void()> stopTimer,
                             std::function<void()> exitProgram, QWidget* parent)
    : QMainWindow(parent, Qt::Window),
      dialogs_(dialogs),
      stopTimer_(std::move(stopTimer)),
      exitProgram_(std::move(exitProgram)) {
    setObjectName("frmCapture");
    setWindowTitle(ToQString(kProductTitle));
    auto* bar = menuBar();
    auto add = [this](QMenu* menu, const char* name, const QString& caption, auto handler) {
        auto* action = menu ? menu->addAction(caption) : menuBar()->addAction(caption);
        action->setObjectName(name);
        connect(action, &QAction::triggered, this, handler);
    };
    auto* printer = bar->addMenu(QStringLiteral("プリンタ"));
    printer->setObjectName("mnuPrinter");
    add(printer, "mnuPageSetup", QStringLiteral("ﾍﾟｰｼﾞ設定"), [this] { pageSetup(); });
    add(printer, "mnuPrint", QStringLiteral("印刷"), [this] { print(); });
    add(nullptr, "mnuSave", QStringLiteral("保存"), [this] { save(); });
    add(nullptr, "mnuClose", QStringLiteral("閉じる"), [this] { close(); });

    auto* central = new QWidget(this);
    picWk_ = new QLabel(central);
    picWk_->setObjectName("picWk");
    picWk2_ = new QLabel(central);
    picWk2_->setObjectName("picWk2");
    picWk2_->hide();
    setCentralWidget(central);
    load();
}

// Qt's clipboard is never held by another program the way the Windows one could be, so the
// picture is always there to take; an emptied clipboard gives an empty picture.
void CaptureWindow::load() {
    picture_ = QGuiApplication::clipboard()->image();
    picWk_->setPixmap(QPixmap::fromImage(picture_));
    picWk_->setFixedSize(picture_.size());
    picWk_->show();
    resize(CaptureWindowSize(picture_.size()));
    update();
    if (stopTimer_)
        stopTimer_();
}

void CaptureWindow::applyLayout(QPrinter& printer) const {
    if (layout_.isValid()) {
        printer.setPageLayout(layout_);
        return;
    }
    auto layout = printer.pageLayout();
    layout.setUnits(QPageLayout::Millimeter);
    layout.setMinimumMargins(kMinimumMargins);
    layout.setMargins(kMargins);
    printer.setPageLayout(layout);
}

void CaptureWindow::pageSetup() {
    QPrinter printer(QPrinter::HighResolution);
    applyLayout(printer);
    QPageSetupDialog dialog(&printer, this);
    if (dialog.exec() == QDialog::Accepted)
        layout_ = printer.pageLayout();
}

void CaptureWindow::print() {
    QPrinter printer(QPrinter::HighResolution);
    applyLayout(printer);
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    try {
        PrintPicture(printer, picture_);
    } catch (const std::exception& e) {
        reportError(e);
    }
}

void CaptureWindow::save() {
    std::error_code ec;
    const auto here = std::filesystem::current_path(ec);
    const auto chosen =
        dialogs_.saveFileName({std::string(kSavePictureTitle), std::string(kBitmapFilter), "*.bmp",
                               ec ? std::string() : here.string()});
    if (chosen.empty())
        return;
    try {
        WriteBitmapFile(picture_, BitmapFileName(chosen));
    } catch (const std::exception& e) {
        reportError(e);
    }
}

void CaptureWindow::reportError(const std::exception& failure) {
    const auto report = BuildErrorReport(kViewerPlace, failure, WindowKind::Main);
    dialogs_.messageBox(report.text(), report.title, MsgButtons::Ok, MsgIcon::Critical);
    if (report.shutdown && exitProgram_)
        exitProgram_();
}

// The picture lived on the clipboard only for the viewer.
void CaptureWindow::closeEvent(QCloseEvent* event) {
    QGuiApplication::clipboard()->clear();
    event->accept();
}

}  // namespace zanfor::app
