#include "core/error_report.h"

#include "core/program_files.h"

namespace zanfor::app {

namespace {
constexpr int kOlderAccessVersion = 7866;

std::string headLine(std::string_view place, int number) {
    return std::string(place) + "ｴﾗｰNo:" + std::to_string(number);
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
                             WindowKind window) {
    ErrorReport report{std::string(kProductTitle), {}, false};
    const std::string content = "内容:" + std::string(description);
    if (IsUnstableSystemError(number)) {
        report.lines = {headLine(place, number), "システムが不安定です。",
                        "詳細はヘルプを参照下さい。", "システムを終了します。", content};
        report.shutdown = true;
    } else if (number == kOlderAccessVersion) {
        report.lines = {"Access2000以前のバージョンのファイルです。",
                        "Access2000形式に変換して下さい。"};
    } else {
        const bool mainWording = window == WindowKind::Main || window == WindowKind::Output;
        report.lines = {headLine(place, number),
                        mainWording ? "場所、ｴﾗｰNo、内容を控えメールをお願いします。"
                                    : "場所とｴﾗｰNoを控えメールをお願いします。",
                        content};
    }
    return report;
}

ErrorReport BuildSpecialErrorReport(std::string_view place, int number,
                                    std::vector<std::string> lines) {
    ErrorReport report{std::string(kProductTitle), {headLine(place, number)}, false};
    report.lines.insert(report.lines.end(), lines.begin(), lines.end());
    return report;
}

}  // namespace zanfor::app
