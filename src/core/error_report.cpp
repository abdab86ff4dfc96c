#include "core/error_report.h"

#include "core/program_files.h"
#include "host/error.h"

namespace zanfor::app {

namespace {
std::string headLine(std::string_view place, int number, std::optional<int> line = std::nullopt) {
    std::string head = std::string(place) + "ｴﾗｰNo:" + std::to_string(number);
    if (line)
        head += "　行数:" + std::to_string(*line);
    return head;
}
}  // namespace

std::string ErrorReport::text() const {
    std::string joined;
    for (const auto& line : lines) {
        if (!joined.empty())
            joined += '\n';
        joined += line;
    }
    return joined;
}

bool IsUnstableSystemError(int number) { return number >= 2449 && number <= 2999; }

ErrorReport BuildErrorReport(std::string_view place, int number, std::string_view description,
                             WindowKind window, std::optional<int> line) {
    ErrorReport report{std::string(kProductTitle), {}, false};
    const std::string content = "内容:" + std::string(description);
    if (IsUnstableSystemError(number)) {
        report.lines = {headLine(place, number), "システムが不安定です。",
                        "詳細はヘルプを参照下さい。", "システムを終了します。", content};
        report.shutdown = true;
    } else if (number == host::err::kOlderAccessVersion) {
        report.lines = {"Access2000以前のバージョンのファイルです。",
                        "Access2000形式に変換して下さい。"};
    } else {
        const bool mainWording = window == WindowKind::Main || window == WindowKind::Output;
        report.lines = {headLine(place, number, line),
                        mainWording ? "場所、ｴﾗｰNo、内容を控えメールをお願いします。"
                                    : "場所とｴﾗｰNoを控えメールをお願いします。",
                        content};
    }
    return report;
}

ErrorReport BuildErrorReport(std::string_view place, const std::exception& failure,
                             WindowKind window) {
    if (const auto* host = dynamic_cast<const host::Error*>(&failure))
        return BuildErrorReport(place, host->number(), host->description(), window);
    return BuildErrorReport(place, host::err::kInvalidProcedureCall, failure.what(), window);
}

std::string ErrorSummary(int number, std::string_view description) {
    return "ｴﾗｰNo:" + std::to_string(number) + " " + std::string(description);
}

ErrorReport BuildSpecialErrorReport(std::string_view place, int number,
                                    std::vector<std::string> lines) {
    ErrorReport report{std::string(kProductTitle), {headLine(place, number)}, false};
    report.lines.insert(report.lines.end(), lines.begin(), lines.end());
    return report;
}

}  // namespace zanfor::app
