#include "cli/console_ui.h"

#include <ostream>

namespace zanfor::cli {

void ConsoleUi::showMessage(std::string_view text) {
    if (!quiet_ && !text.empty())
        *out_ << text << '\n';
}

void ConsoleUi::setProgress(std::int16_t percent) {
    // Only every tenth step, so a long run does not flood the terminal.
    if (quiet_ || percent == lastPercent_ || (percent % 10 != 0 && percent != 100))
        return;
    lastPercent_ = percent;
    *out_ << "  " << percent << "%\n";
}

app::MsgResult ConsoleUi::messageBox(std::string_view text, std::string_view title,
                                     app::MsgButtons buttons, app::MsgIcon icon) {
    if (icon == app::MsgIcon::Critical)
        ++errors_;
    *out_ << "[" << title << "] " << text << '\n';
    return buttons == app::MsgButtons::YesNo ? app::MsgResult::Yes : app::MsgResult::Ok;
}

void ConsoleUi::showError(const app::ErrorReport& report) {
    messageBox(report.text(), report.title, app::MsgButtons::Ok, app::MsgIcon::Critical);
}

void PrintErrorReport(std::ostream& out, const app::ErrorReport& report) {
    out << "[" << report.title << "] " << report.text() << '\n';
}

void ConsoleUi::showReport(std::string_view reportName, int) { reports_.emplace_back(reportName); }

}  // namespace zanfor::cli
