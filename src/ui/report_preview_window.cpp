#include "ui/report_preview_window.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QGraphicsView>
#include <QLabel>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QScrollBar>
#include <QSpinBox>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>

#include "core/program_files.h"
#include "host/error.h"
#include "report/qt_text.h"
#include "workdb/work_database.h"

namespace zanfor::app {

using report::ToQString;

namespace {

QPageLayout ReportPageLayout(report::Orientation orientation) {
    return QPageLayout(QPageSize(QPageSize::A4),
                       orientation == report::Orientation::Landscape ? QPageLayout::Landscape
                                                                     : QPageLayout::Portrait,
                       QMarginsF());
}

}  // namespace

std::optional<ErrorReport> ShowReportErrorReport(int number, std::string_view description) {
    if (number == host::err::kPropertyReference)
        return std::nullopt;
    if (number == host::err::kNoPrinter) {
        return ErrorReport{
            std::string(kProductTitle),
            {std::string(kReportPlace) + "プリンタドライバがインストールされていません。",
             "プリンタドライバをインストールして下さい。"},
            false};
    }
    return BuildErrorReport(kReportPlace, number, description, WindowKind::Main);
}

std::string_view PreviewButtonReport(PreviewButton button, const OptionSettings& settings) {
    switch (button) {
        case PreviewButton::OPre:
            return "R_AcObjectAll";
        case PreviewButton::TPre:
            return settings.table == 1 ? "R_AcTblIndex" : "R_AcTblTable";
        case PreviewButton::QPre:
            return settings.query == 1 ? "R_AcQerySql" : "R_AcQeryAll";
        case PreviewButton::FPre:
            return "R_AcFrmCntl";
        case PreviewButton::RPre:
            return "R_AcRepCntl";
        case PreviewButton::PPre:
            return settings.proc50 == 1 ? "R_AcProcName50" : "R_AcProcName";
        case PreviewButton::MPre:
            if (settings.mprint == 1)
                return settings.mod50 == 1 ? "R_AcModule50" : "R_AcModule";
            return settings.mod50 == 1 ? "R_AcModule250" : "R_AcModule2";
        case PreviewButton::MsPre:
            return "R_AcModStep";
        case PreviewButton::MCPre:
            return "R_AcMacro";
        case PreviewButton::CPre:
            return "R_AcControlCount";
        case PreviewButton::FlPre:
            return "R_AcFile";
        case PreviewButton::CmPre:
            return "R_AcComment";
    }
    return {};
}

void ShowErrorReportBox(const ErrorReport& report, QWidget* parent) {
    QMessageBox box(QMessageBox::Critical, ToQString(report.title), ToQString(report.text()),
                    QMessageBox::Ok, parent);
    box.exec();
}

namespace {

// The sink when one is set (the main window's error path), else a box over `parent`.
void DeliverReportError(const ErrorSink& sink, QWidget* parent, int number,
                        std::string_view description) {
    const auto error = ShowReportErrorReport(number, description);
    if (!error)
        return;
    if (sink)
        sink(*error);
    else
        ShowErrorReportBox(*error, parent);
}

}  // namespace

ReportPreviewWindow::ReportPreviewWindow(report::PreparedReport report,
                                         report::PrinterList printers, ErrorSink errors,
                                         QWidget* parent)
    : QMainWindow(parent),
      report_(std::move(report)),
      printers_(std::move(printers)),
      errors_(std::move(errors)),
      printer_(std::make_unique<QPrinter>(QPrinter::ScreenResolution)) {
    setObjectName("ReportPreview");
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(report_.title() + QStringLiteral(" - 印刷プレビュー"));
    printer_->setPageLayout(ReportPageLayout(report_.orientation()));
    printer_->setFullPage(true);
    preview_ = new QPrintPreviewWidget(printer_.get(), this);
    preview_->setObjectName("preview");
    setCentralWidget(preview_);
    connect(preview_, &QPrintPreviewWidget::paintRequested, this,
            [this](QPrinter* printer) { paint(printer); });
    connect(preview_, &QPrintPreviewWidget::previewChanged, this, [this] { updatePageControls(); });
    // The preview widget tells nobody when scrolling changes the page it shows; it recounts the
    // page from its view's scroll bars, so the page box listens to the same bars, after it.
    if (auto* view = preview_->findChild<QGraphicsView*>()) {
        for (QScrollBar* bar : {view->verticalScrollBar(), view->horizontalScrollBar()})
            connect(bar, &QScrollBar::valueChanged, this, [this] { updatePageControls(); });
    }
    buildToolBar();
    resize(1000, 780);
}

ReportPreviewWindow::~ReportPreviewWindow() {
    // The preview widget uses the printer until it is gone.
    delete preview_;
}

void ReportPreviewWindow::buildToolBar() {
    auto* bar = addToolBar(QStringLiteral("プレビュー"));
    bar->setMovable(false);
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    QStyle* s = style();
    auto add = [&](QStyle::StandardPixmap icon, const QString& text, const QKeySequence& key,
                   auto slot) {
        QAction* action = bar->addAction(s->standardIcon(icon), text);
        action->setShortcut(key);
        connect(action, &QAction::triggered, this, slot);
        return action;
    };
    // Paging and zooming read well as arrows; their names stay as tool tips.
    auto iconOnly = [&](QAction* action) {
        if (auto* button = qobject_cast<QToolButton*>(bar->widgetForAction(action)))
            button->setToolButtonStyle(Qt::ToolButtonIconOnly);
    };
    add(QStyle::SP_DialogSaveButton, QStringLiteral("印刷..."), QKeySequence::Print,
        [this] { print(); });
    add(QStyle::SP_FileIcon, QStringLiteral("PDF保存..."), QKeySequence::Save,
        [this] { saveWithDialog(report::OutputFormat::Pdf); });
    add(QStyle::SP_FileLinkIcon, QStringLiteral("HTML保存..."), QKeySequence(),
        [this] { saveWithDialog(report::OutputFormat::Html); });
    bar->addSeparator();
    iconOnly(add(QStyle::SP_MediaSkipBackward, QStringLiteral("先頭"),
                 QKeySequence(Qt::CTRL | Qt::Key_Home), [this] { showPage(1); }));
    iconOnly(add(QStyle::SP_MediaSeekBackward, QStringLiteral("前へ"), QKeySequence(Qt::Key_PageUp),
                 [this] { showPage(currentPage() - 1); }));
    pageBox_ = new QSpinBox(bar);
    pageBox_->setObjectName("page");
    pageBox_->setRange(1, 1);
    pageBox_->setAlignment(Qt::AlignRight);
    bar->addWidget(pageBox_);
    pageTotal_ = new QLabel(bar);
    bar->addWidget(pageTotal_);
    connect(pageBox_, &QSpinBox::valueChanged, this, [this](int page) {
        if (page != currentPage())
            preview_->setCurrentPage(page);
    });
    iconOnly(add(QStyle::SP_MediaSeekForward, QStringLiteral("次へ"),
                 QKeySequence(Qt::Key_PageDown), [this] { showPage(currentPage() + 1); }));
    iconOnly(add(QStyle::SP_MediaSkipForward, QStringLiteral("最後"),
                 QKeySequence(Qt::CTRL | Qt::Key_End), [this] { showPage(pageCount()); }));
    bar->addSeparator();
    add(QStyle::SP_TitleBarMaxButton, QStringLiteral("ページ全体"), QKeySequence(),
        [this] { preview_->fitInView(); });
    add(QStyle::SP_ToolBarHorizontalExtensionButton, QStringLiteral("幅に合わせる"), QKeySequence(),
        [this] { preview_->fitToWidth(); });
    iconOnly(add(QStyle::SP_ArrowUp, QStringLiteral("拡大"), QKeySequence::ZoomIn,
                 [this] { preview_->zoomIn(); }));
    iconOnly(add(QStyle::SP_ArrowDown, QStringLiteral("縮小"), QKeySequence::ZoomOut,
                 [this] { preview_->zoomOut(); }));
    add(QStyle::SP_FileDialogDetailedView, QStringLiteral("1ページ"), QKeySequence(),
        [this] { preview_->setSinglePageViewMode(); });
    add(QStyle::SP_FileDialogListView, QStringLiteral("見開き"), QKeySequence(),
        [this] { preview_->setFacingPagesViewMode(); });
    bar->addSeparator();
    add(QStyle::SP_DialogCloseButton, QStringLiteral("閉じる"), QKeySequence(Qt::Key_Escape),
        [this] { close(); });
}

void ReportPreviewWindow::paint(QPrinter* printer) {
    try {
        report::PaintReport(report_, *printer);
    } catch (const host::Error& e) {
        reportError(e.number(), e.description());
    }
}

int ReportPreviewWindow::pageCount() const { return preview_->pageCount(); }

int ReportPreviewWindow::currentPage() const { return preview_->currentPage(); }

void ReportPreviewWindow::showPage(int page) {
    preview_->setCurrentPage(std::clamp(page, 1, std::max(1, pageCount())));
    // A page already in view moves no scroll bar.
    updatePageControls();
}

void ReportPreviewWindow::updatePageControls() {
    const int pages = std::max(1, pageCount());
    const QSignalBlocker block(pageBox_);
    pageBox_->setRange(1, pages);
    pageBox_->setValue(std::clamp(currentPage(), 1, pages));
    pageTotal_->setText(QStringLiteral(" / %1 ").arg(pages));
}

void ReportPreviewWindow::reportError(int number, std::string_view description) {
    DeliverReportError(errors_, this, number, description);
}

void ReportPreviewWindow::print() {
    try {
        report::RequirePrinter(printers_);
        QPrinter printer(QPrinter::HighResolution);
        printer.setPageLayout(ReportPageLayout(report_.orientation()));
        QPrintDialog dialog(&printer, this);
        dialog.setWindowTitle(QStringLiteral("印刷"));
        if (dialog.exec() != QDialog::Accepted)
            return;
        report::PaintReport(report_, printer);
    } catch (const host::Error& e) {
        reportError(e.number(), e.description());
    }
}

bool ReportPreviewWindow::saveTo(const QString& file, report::OutputFormat format) {
    try {
        report::SaveReport(report_, file.toStdString(), format);
        return true;
    } catch (const host::Error& e) {
        reportError(e.number(), e.description());
        return false;
    }
}

void ReportPreviewWindow::saveWithDialog(report::OutputFormat format) {
    const bool pdf = format == report::OutputFormat::Pdf;
    const QString suggested = QDir::home().filePath(
        report_.title() + (pdf ? QStringLiteral(".pdf") : QStringLiteral(".html")));
    const QString file = QFileDialog::getSaveFileName(
        this, pdf ? QStringLiteral("PDF ファイルに保存") : QStringLiteral("HTML ファイルに保存"),
        suggested, pdf ? QStringLiteral("PDF (*.pdf)") : QStringLiteral("HTML (*.html *.htm)"));
    if (!file.isEmpty())
        saveTo(file, format);
}

ReportPresenter::ReportPresenter(std::filesystem::path workDatabase, QWidget* parent)
    : workDatabase_(std::move(workDatabase)), parent_(parent) {}

ReportPresenter::~ReportPresenter() { delete preview_.data(); }

void ReportPresenter::reportError(int number, std::string_view description) {
    DeliverReportError(errors_, parent_, number, description);
}

void ReportPresenter::ShowReport(std::string_view reportName, int mode) {
    if (preview_) {
        preview_->hide();
        preview_->close();
        preview_ = nullptr;
    }
    try {
        const auto db = workdb::WorkDatabase::open(workDatabase_);
        if (mode == 0) {
            auto report = report::PrepareReport(db, reportName);
            preview_ = new ReportPreviewWindow(std::move(report), printers_, errors_, parent_);
            if (parent_)
                preview_->setWindowFlag(Qt::Window);
            preview_->showMaximized();
        } else if (mode == 1) {
            report::PrintReport(db, reportName, printers_);
        }
    } catch (const host::Error& e) {
        reportError(e.number(), e.description());
    }
}

}  // namespace zanfor::app
