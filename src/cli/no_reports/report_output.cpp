#include "cli/report_output.h"

#include "host/error.h"

namespace zanfor::cli {

void RenderReportFile(const std::filesystem::path&, std::string_view,
                      const std::filesystem::path&) {
    throw host::Error(
        30041,
        "この版の zanfor-cli はレポートを出力できません (レポート機能なしで構築されています)。");
}

}  // namespace zanfor::cli
