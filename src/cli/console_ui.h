#pragma once

// The command line's stand-in for a window: messages and progress go to standard error, a
// message box prints its text and takes its default answer, a report request is remembered
// for the caller to render.

#include <functional>
#include <iostream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "core/error_report.h"
#include "core/run_ui.h"

namespace zanfor::cli {

// Standard output and error sent into strings while it lives, for a run whose lines are shown
// only if it fails; the streams are given back however it ends.
class CapturedOutput {
public:
    CapturedOutput() {
        std::cout.rdbuf(out_.rdbuf());
        std::cerr.rdbuf(err_.rdbuf());
    }
    ~CapturedOutput() {
        std::cout.rdbuf(outWas_);
        std::cerr.rdbuf(errWas_);
    }
    CapturedOutput(const CapturedOutput&) = delete;
    CapturedOutput& operator=(const CapturedOutput&) = delete;

    std::string out() const { return out_.str(); }
    std::string err() const { return err_.str(); }

private:
    std::streambuf* outWas_ = std::cout.rdbuf();
    std::streambuf* errWas_ = std::cerr.rdbuf();
    std::ostringstream out_;
    std::ostringstream err_;
};

class ConsoleUi : public app::RunUi {
public:
    // `batched`: progress lines are gathered and written a few kilobytes at a time (for a file
    // or a pipe, where a large run's thousands of lines cost a system call each); message
    // boxes and errors are written at once with what came before them.
    explicit ConsoleUi(std::ostream& out, bool quiet = false, bool batched = false)
        : out_(&out), quiet_(quiet), batched_(batched) {}
    ~ConsoleUi() override { flush(); }
    ConsoleUi(const ConsoleUi&) = delete;
    ConsoleUi& operator=(const ConsoleUi&) = delete;
    void flush();

    void showMessage(std::string_view text) override;
    void showGauge(bool) override {}
    void setProgress(std::int16_t percent) override;
    void setBusy(bool) override {}
    app::MsgResult messageBox(std::string_view text, std::string_view title,
                              app::MsgButtons buttons, app::MsgIcon icon) override;
    void showReport(std::string_view reportName, int mode) override;
    void startClearTimer(int) override {}

    // An error of the command line itself, shown as the windows show theirs.
    void showError(const app::ErrorReport& report);

    const std::vector<std::string>& requestedReports() const { return reports_; }
    // Message boxes shown as errors: a run that showed one did not succeed.
    int errorCount() const { return errors_; }

private:
    void write(std::string line, bool now);

    std::ostream* out_;
    bool quiet_;
    bool batched_;
    std::string pending_;
    std::int16_t lastPercent_ = -1;
    std::vector<std::string> reports_;
    int errors_ = 0;
};

// The error report as the command line prints it: the message box's title, then its lines.
void PrintErrorReport(std::ostream& out, const app::ErrorReport& report);

// `run`'s exit status, or 1 after the report of what it threw, under `place`, on standard error.
int RunReported(std::string_view place, const std::function<int()>& run);

}  // namespace zanfor::cli
