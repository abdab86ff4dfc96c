#include "cli/console_ui.h"

#include <filesystem>
#include <iostream>
#include <ostream>
#include <string>

#include "host/error.h"

namespace zanfor::cli {

namespace {

// Standard error is unbuffered: a line written in pieces costs a system call a piece, and a
// large run prints thousands of progress lines.
void WriteLine(std::ostream& out, std::string line) {
    line += '\n';
    out.write(line.data(), static_cast<std::streamsize>(line.size()));
}

}  // namespace

void ConsoleUi::write(std::string line, bool now) {
    pending_ += line;
    pending_ += '\n';
    if (!batched_ || now || pending_.size() >= 8192)
        flush();
}

void ConsoleUi::flush() {
    if (pending_.empty())
        return;
    out_->write(pending_.data(), static_cast<std::streamsize>(pending_.size()));
    out_->flush();
    pending_.clear();
}

void ConsoleUi::showMessage(std::string_view text) {
    if (!quiet_ && !text.empty())
        write(std::string(text), false);
}

void ConsoleUi::setProgress(std::int16_t percent) {
    // Only every tenth step, so a long run does not flood the terminal.
    if (quiet_ || percent == lastPercent_ || (percent % 10 != 0 && percent != 100))
        return;
    lastPercent_ = percent;
    write("  " + std::to_string(percent) + "%", false);
}

app::MsgResult ConsoleUi::messageBox(std::string_view text, std::string_view title,
                                     app::MsgButtons buttons, app::MsgIcon icon) {
    if (icon == app::MsgIcon::Critical)
        ++errors_;
    write("[" + std::string(title) + "] " + std::string(text), true);
    return buttons == app::MsgButtons::YesNo ? app::MsgResult::Yes : app::MsgResult::Ok;
}

void ConsoleUi::showError(const app::ErrorReport& report) {
    messageBox(report.text(), report.title, app::MsgButtons::Ok, app::MsgIcon::Critical);
}

void PrintErrorReport(std::ostream& out, const app::ErrorReport& report) {
    WriteLine(out, "[" + report.title + "] " + report.text());
}

int RunReported(std::string_view place, const std::function<int()>& run) {
    try {
        return run();
    } catch (const std::filesystem::filesystem_error& e) {
        PrintErrorReport(std::cerr,
                         app::BuildErrorReport(place, host::FileSystemError(e.path1(), e.code()),
                                               app::WindowKind::Main));
    } catch (const std::exception& e) {
        PrintErrorReport(std::cerr, app::BuildErrorReport(place, e, app::WindowKind::Main));
    }
    return 1;
}

void ConsoleUi::showReport(std::string_view reportName, int) { reports_.emplace_back(reportName); }

}  // namespace zanfor::cli
