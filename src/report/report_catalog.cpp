#include "report/report_catalog.h"

#include <QGuiApplication>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QSaveFile>
#include <map>
#include <mutex>

#include "core/program_files.h"
#include "host/error.h"
#include "report/html_writer.h"
#include "report/page_layout.h"
#include "report/page_painter.h"
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

void WritePdf(const PreparedReport& report, QSaveFile& file) {
    const QString product = ToQString(app::kProductTitle);
    QPdfWriter writer(&file);
    writer.setResolution(1200);
    writer.setPageLayout(
        QPageLayout(QPageSize(QPageSize::A4), PageOrientation(report.orientation()), QMarginsF()));
    writer.setTitle(report.title());
    writer.setCreator(product);
    const Document& document = report.layout(A4Twips(report.orientation()));
    QPainter painter;
    if (!painter.begin(&writer))
        throw host::Error(err::kCannotWriteFile, "PDF を作成できません。");
    const bool complete = PagePainter(document).paintPages(painter, writer, 0,
                                                           static_cast<int>(document.pages.size()));
    painter.end();
    if (!complete)
        throw host::Error(err::kCannotWriteFile, "PDF のページを作成できません。");
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
    const QDateTime printDate =
        options.printDate.isValid() ? options.printDate : QDateTime::currentDateTime();
    PreparedReport report;
    report.content_ = std::make_shared<const ReportContent>(BuildReport(db, def, printDate));
    report.cache_ = std::make_shared<PreparedReport::Cache>();
    return report;
}

void SaveReport(const PreparedReport& report, const std::filesystem::path& file,
                OutputFormat format) {
    QSaveFile out(ToQString(file.string()));
    if (!out.open(QIODevice::WriteOnly))
        CannotWrite(file, out.errorString());
    if (format == OutputFormat::Pdf) {
        WritePdf(report, out);
    } else {
        const QByteArray html = WriteHtml(report.content());
        if (out.write(html) != html.size())
            CannotWrite(file, out.errorString());
    }
    if (!out.commit())
        CannotWrite(file, out.errorString());
}

void RenderReportToFile(const workdb::WorkDatabase& db, std::string_view name,
                        const std::filesystem::path& file, OutputFormat format,
                        const RenderOptions& options) {
    SaveReport(PrepareReport(db, name, options), file, format);
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
