#include "cli/console_ui.h"

#include <ostream>
#include <string>

namespace zanfor::cli {

namespace {

// Standard error is unbuffered: a line written in pieces costs a system call a piece, and a
// large run prints thousands of progress lines.
void WriteLine(std::ostream& out, std::string line) {
    line += '\n';
    out.write(line.data(), static_cast<std::streamsize>(line.size()));
}

}  // namespace

void ConsoleUi::showMessage(std::string_view text) {
    if (!quiet_ && !text.empty())
        WriteLine(*out_, std::string(text));
}

void ConsoleUi::setProgress(std::int16_t percent) {
    // Only every tenth step, so a long run does not flood the terminal.
    if (quiet_ || percent == lastPercent_ || (percent % 10 != 0 && percent != 100))
        return;
    lastPercent_ = percent;
    WriteLine(*out_, "  " + std::to_string(percent) + "%");
}

app::MsgResult ConsoleUi::messageBox(std::string_view text, std::string_view title,
                                     app::MsgButtons buttons, app::MsgIcon icon) {
    if (icon == app::MsgIcon::Critical)
        ++errors_;
    WriteLine(*out_, "[" + std::string(title) + "] " + std::string(text));
    return buttons == app::MsgButtons::YesNo ? app::MsgResult::Yes : app::MsgResult::Ok;
}

void ConsoleUi::showError(const app::ErrorReport& report) {
    messageBox(report.text(), report.title, app::MsgButtons::Ok, app::MsgIcon::Critical);
}

void PrintErrorReport(std::ostream& out, const app::ErrorReport& report) {
    WriteLine(out, "[" + report.title + "] " + report.text());
}

void ConsoleUi::showReport(std::string_view reportName, int) { reports_.emplace_back(reportName); }

}  // namespace zanfor::cli
