#pragma once

// The error report every command shows when something fails: one message box whose first
// line names the place and the error number, and whose further lines depend on the number.

#include <exception>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zanfor::app {

// The wording of the closing request differs between the main and output windows and the
// developer support, settings and batch windows.
enum class WindowKind { Main, Output, DeveloperSupport, Settings, Batch };

struct ErrorReport {
    std::string title;
    std::vector<std::string> lines;
    // Errors 2449 to 2999 mean Access is unstable: the program shuts down after the report.
    bool shutdown = false;

    // The lines separated as the message box shows them.
    std::string text() const;
};

// `place` is the command's place label with its "場所:" prefix ("場所:テーブル情報"); `line`,
// when given, is the step the command had reached, shown after the number ("　行数:3").
ErrorReport BuildErrorReport(std::string_view place, int number, std::string_view description,
                             WindowKind window, std::optional<int> line = std::nullopt);

// The report of a caught exception: a host error with its number, anything else as error 5
// (an invalid call) with its text.
ErrorReport BuildErrorReport(std::string_view place, const std::exception& failure,
                             WindowKind window);

// A report whose lines after the first are the command's own (3044, 3031, 2202, ...).
ErrorReport BuildSpecialErrorReport(std::string_view place, int number,
                                    std::vector<std::string> lines);

bool IsUnstableSystemError(int number);

// An error in one line, where a listing shows it beside the object it concerns.
std::string ErrorSummary(int number, std::string_view description);

}  // namespace zanfor::app
