#pragma once

// The report preview of the windows: ShowReport (report name, mode) opens the work database and
// shows a report in a print preview window (mode 0), prints it on the default printer (mode 1)
// or does nothing more (other modes). One preview at a time: a new ShowReport closes the last.
// The window pages, zooms, prints and saves the report as PDF or HTML.

#include <QMainWindow>
#include <QPointer>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string_view>

#include "core/app_state.h"
#include "core/error_report.h"
#include "report/report_catalog.h"

class QLabel;
class QPrinter;
class QPrintPreviewWidget;
class QSpinBox;

namespace zanfor::app {

inline constexpr std::string_view kReportPlace = "場所:レポート表示";

// Shows an error report; the main window passes one that also shuts down when asked to.
using ErrorSink = std::function<void(const ErrorReport&)>;

// The report ShowReport shows for an error: none for 2455, the printer-driver message for 2202,
// the common error report otherwise.
std::optional<ErrorReport> ShowReportErrorReport(int number, std::string_view description);

// The report a preview button of the main window shows again, by the current option settings.
std::string_view PreviewButtonReport(PreviewButton button, const OptionSettings& settings);

// A message box titled with the product title, OK button only.
void ShowErrorReportBox(const ErrorReport& report, QWidget* parent);

class ReportPreviewWindow : public QMainWindow {
    Q_OBJECT

public:
    ReportPreviewWindow(report::PreparedReport report, report::PrinterList printers,
                        ErrorSink errors, QWidget* parent = nullptr);
    ~ReportPreviewWindow() override;

    const report::PreparedReport& report() const { return report_; }
    int pageCount() const;
    int currentPage() const;
    void showPage(int page);

    // Writes the report to a file; failures go to the error sink. True when written.
    bool saveTo(const QString& file, report::OutputFormat format);

private:
    void buildToolBar();
    void paint(QPrinter* printer);
    void print();
    void saveWithDialog(report::OutputFormat format);
    void updatePageControls();
    void reportError(int number, std::string_view description);

    report::PreparedReport report_;
    report::PrinterList printers_;
    ErrorSink errors_;
    std::unique_ptr<QPrinter> printer_;
    QPrintPreviewWidget* preview_ = nullptr;
    QSpinBox* pageBox_ = nullptr;
    QLabel* pageTotal_ = nullptr;
};

class ReportPresenter {
public:
    explicit ReportPresenter(std::filesystem::path workDatabase, QWidget* parent = nullptr);
    ~ReportPresenter();
    ReportPresenter(const ReportPresenter&) = delete;
    ReportPresenter& operator=(const ReportPresenter&) = delete;

    void setPrinterList(report::PrinterList printers) { printers_ = std::move(printers); }
    void setErrorSink(ErrorSink errors) { errors_ = std::move(errors); }

    void ShowReport(std::string_view reportName, int mode);

    // The open preview, or nullptr.
    ReportPreviewWindow* preview() const { return preview_; }

private:
    void reportError(int number, std::string_view description);

    std::filesystem::path workDatabase_;
    QWidget* parent_;
    report::PrinterList printers_ = QPrinterInfo::availablePrinters;
    ErrorSink errors_;
    QPointer<ReportPreviewWindow> preview_;
};

}  // namespace zanfor::app
