#include "util/file_size.h"

namespace zanfor::util {

std::optional<std::uintmax_t> TargetSize(const std::filesystem::path& target) {
    std::error_code ec;
    if (!std::filesystem::is_directory(target, ec)) {
        const auto size = std::filesystem::file_size(target, ec);
        return ec ? std::nullopt : std::optional(size);
    }
    std::uintmax_t total = 0;
    std::filesystem::recursive_directory_iterator it(target, ec), end;
    for (; !ec && it != end; it.increment(ec)) {
        if (it->is_regular_file(ec))
            total += it->file_size(ec);
    }
    return ec ? std::nullopt : std::optional(total);
}

}  // namespace zanfor::util
