#include "cli/reports/output_file.h"

#include <fstream>
#include <string>
#include <system_error>

#include "host/error.h"

namespace zanfor::cli::reports {

void RequireReplaceable(const std::filesystem::path& file, std::string_view magic,
                        std::string_view kind, const std::filesystem::path& keep) {
    std::error_code ec;
    const auto status = std::filesystem::status(file, ec);
    if (!std::filesystem::exists(status))
        return;
    if (std::filesystem::is_regular_file(status) &&
        (keep.empty() || !std::filesystem::equivalent(file, keep, ec))) {
        std::string start(magic.size(), '\0');
        std::ifstream in(file, std::ios::binary);
        in.read(start.data(), static_cast<std::streamsize>(start.size()));
        if (std::filesystem::file_size(file, ec) == 0 || (in && start == magic))
            return;
    }
    throw host::Error(host::err::kFileAlreadyExists, "ファイル '" + file.string() +
                                                         "' は既にあり、" + std::string(kind) +
                                                         "ではないので上書きしません。");
}

}  // namespace zanfor::cli::reports
