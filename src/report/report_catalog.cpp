#include "report/report_catalog.h"

#include <QGuiApplication>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QSaveFile>
#include <map>
#include <mutex>

#ifdef __GLIBC__
#include <malloc.h>
#endif

#include "core/program_files.h"
#include "host/error.h"
#include "report/html_writer.h"
#include "report/page_layout.h"
#include "report/page_painter.h"
#include "report/pdf_writer.h"
#include "report/qt_text.h"
#include "report/report_builder.h"
#include "report/report_definition.h"

namespace zanfor::report {

namespace {

void RequireApplication() {
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr) {
        throw host::Error(err::kNoApplication,
                          "レポートを出力するには画面環境 (QGuiApplication) が必要です。");
    }
}

const ReportDef& RequireDefinition(std::string_view name) {
    const ReportDef* def = FindReportDefinition(name);
    if (def == nullptr) {
        throw host::Error(err::kNoSuchReport,
                          "レポート '" + std::string(name) + "' はありません。");
    }
    return *def;
}

[[noreturn]] void CannotWrite(const std::filesystem::path& file, const QString& reason) {
    throw host::Error(err::kCannotWriteFile,
                      "ファイル '" + file.string() + "' に書き込めません。" + reason.toStdString());
}

QPageLayout::Orientation PageOrientation(Orientation orientation) {
    return orientation == Orientation::Landscape ? QPageLayout::Landscape : QPageLayout::Portrait;
}

// Qt's PDF writer takes two 10 MB buffers to compress each page and frees them again. Under
// the C library's sliding thresholds they go back to the system after every page and come
// back, page faults and all, on the next: a third of the writing time. They stay in the heap.
void KeepPageBuffers() {
#ifdef __GLIBC__
    static std::once_flag once;
    std::call_once(once, [] {
        mallopt(M_MMAP_THRESHOLD, 32 << 20);
        mallopt(M_TRIM_THRESHOLD, 64 << 20);
    });
#endif
}

// The pages go to the file as they are laid out; only the page being painted is held. Qt's
// writer stands in where ours cannot embed a face.
void WriteQtPdf(const ReportContent& head, const StreamSource& blocks, QSaveFile& file) {
    KeepPageBuffers();
    const QString product = ToQString(app::kProductTitle);
    QPdfWriter writer(&file);
    writer.setResolution(1200);
    writer.setPageLayout(
        QPageLayout(QPageSize(QPageSize::A4), PageOrientation(head.orientation), QMarginsF()));
    writer.setTitle(head.fullTitle());
    writer.setCreator(product);
    QPainter painter;
    if (!painter.begin(&writer))
        throw host::Error(err::kCannotWriteFile, "PDF を作成できません。");
    FontBook fonts;
    PagePainter pages(fonts);
    bool first = true;
    LayOutReport(head, blocks, A4Twips(head.orientation), fonts, [&](const PageItems& page) {
        if (!first && !writer.newPage())
            throw host::Error(err::kCannotWriteFile, "PDF のページを作成できません。");
        first = false;
        pages.paint(painter, page);
    });
    painter.end();
}

void WritePdf(const ReportContent& head, const StreamSource& blocks, QSaveFile& file) {
    try {
        FontBook fonts;
        const QSizeF size = A4Twips(head.orientation);
        PdfWriter writer(file, fonts, size, head.fullTitle(), ToQString(app::kProductTitle));
        LayOutReport(head, blocks, size, fonts,
                     [&writer](const PageItems& page) { writer.page(page); });
        writer.finish();
        return;
    } catch (const PdfWriter::Unsupported&) {
        // A face without TrueType outlines: the whole document is written again by Qt.
    }
    if (!file.seek(0) || !file.resize(0))
        throw host::Error(err::kCannotWriteFile, "PDF を作成できません。");
    WriteQtPdf(head, blocks, file);
}

void Save(const ReportContent& head, const StreamSource& blocks, const std::filesystem::path& file,
          OutputFormat format) {
    QSaveFile out(ToQString(file.string()));
    if (!out.open(QIODevice::WriteOnly))
        CannotWrite(file, out.errorString());
    if (format == OutputFormat::Pdf) {
        WritePdf(head, blocks, out);
    } else if (!WriteHtml(head, *blocks(), out)) {
        CannotWrite(file, out.errorString());
    }
    if (!out.commit())
        CannotWrite(file, out.errorString());
}

QDateTime PrintDate(const RenderOptions& options) {
    return options.printDate.isValid() ? options.printDate : QDateTime::currentDateTime();
}

}  // namespace

struct PreparedReport::Cache {
    std::mutex mutex;
    std::map<std::pair<long, long>, std::shared_ptr<Document>> documents;
};

const Document& PreparedReport::layout(QSizeF pageSize) const {
    const std::pair key{std::lround(pageSize.width()), std::lround(pageSize.height())};
    std::lock_guard lock(cache_->mutex);
    auto& slot = cache_->documents[key];
    if (!slot)
        slot = std::make_shared<Document>(LayOutReport(*content_, pageSize));
    return *slot;
}

std::vector<std::string> ReportNames() {
    std::vector<std::string> names;
    for (const auto& def : ReportDefinitions())
        names.emplace_back(def.name);
    return names;
}

PreparedReport PrepareReport(const workdb::WorkDatabase& db, std::string_view name,
                             const RenderOptions& options) {
    const ReportDef& def = RequireDefinition(name);
    RequireApplication();
    PreparedReport report;
    report.content_ =
        std::make_shared<const ReportContent>(BuildReport(db, def, PrintDate(options)));
    report.cache_ = std::make_shared<PreparedReport::Cache>();
    return report;
}

void SaveReport(const PreparedReport& report, const std::filesystem::path& file,
                OutputFormat format) {
    const ReportContent& content = report.content();
    const StreamSource blocks = [&content] { return StreamOf(content.blocks); };
    Save(content, blocks, file, format);
}

// Every reading of the report (counting pages, fitting columns, writing) runs its queries
// afresh rather than keeping what an earlier one read.
void RenderReportToFile(const workdb::WorkDatabase& db, std::string_view name,
                        const std::filesystem::path& file, OutputFormat format,
                        const RenderOptions& options) {
    const ReportDef& def = RequireDefinition(name);
    RequireApplication();
    const QDateTime printDate = PrintDate(options);
    // The first stream reads the head; a failing query fails before the file is touched.
    auto first = std::make_unique<ReportStream>(db, def, printDate);
    const ReportContent head = first->head();
    const StreamSource blocks = [&]() -> std::unique_ptr<BlockStream> {
        if (first)
            return std::move(first);
        return std::make_unique<ReportStream>(db, def, printDate);
    };
    Save(head, blocks, file, format);
}

void PaintReport(const PreparedReport& report, QPrinter& printer) {
    printer.setFullPage(true);
    printer.setDocName(report.title());
    const QSizeF points = printer.pageLayout().fullRectPoints().size();
    const Document& document = report.layout(points * kTwipsPerPoint);
    const int pages = static_cast<int>(document.pages.size());
    int from = 0;
    int to = pages;
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        from = std::clamp(printer.fromPage() - 1, 0, pages);
        to = std::clamp(printer.toPage() > 0 ? printer.toPage() : pages, from, pages);
    }
    QPainter painter;
    if (!painter.begin(&printer))
        throw host::Error(host::err::kNoPrinter, "印刷を開始できません。");
    PagePainter(document).paintPages(painter, printer, from, to);
    painter.end();
}

void RequirePrinter(const PrinterList& printers) {
    if (!printers || printers().isEmpty()) {
        throw host::Error(host::err::kNoPrinter, "プリンタドライバがインストールされていません。");
    }
}

void PrintReport(const workdb::WorkDatabase& db, std::string_view name, const PrinterList& printers,
                 const RenderOptions& options) {
    RequireDefinition(name);
    RequirePrinter(printers);
    const PreparedReport report = PrepareReport(db, name, options);
    QPrinterInfo target = QPrinterInfo::defaultPrinter();
    if (target.isNull())
        target = printers().front();
    QPrinter printer(target, QPrinter::HighResolution);
    printer.setPageLayout(
        QPageLayout(QPageSize(QPageSize::A4), PageOrientation(report.orientation()), QMarginsF()));
    PaintReport(report, printer);
}

}  // namespace zanfor::report
