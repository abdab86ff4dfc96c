#include "core/about_box.h"

#include <sys/stat.h>

#include <optional>

#include "core/program_files.h"
#include "util/file_size.h"

namespace zanfor::app {

namespace {

bool DeviceOf(const std::filesystem::path& path, dev_t& device) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return false;
    device = info.st_dev;
    return true;
}

}  // namespace

std::string FormatMegabytes(std::uintmax_t bytes) {
    constexpr std::uintmax_t kMegabyte = 1024 * 1024;
    std::uintmax_t whole = bytes / kMegabyte;
    // Exact in integers: the remainder times 100 stays far below the type's range.
    std::uintmax_t hundredths = (bytes % kMegabyte * 100 + kMegabyte / 2) / kMegabyte;
    if (hundredths == 100) {
        ++whole;
        hundredths = 0;
    }
    return std::to_string(whole) + "." + (hundredths < 10 ? "0" : "") + std::to_string(hundredths) +
           "MB";
}

std::filesystem::path MountPointOf(const std::filesystem::path& path) {
    std::error_code ec;
    auto current = std::filesystem::weakly_canonical(path, ec);
    if (ec)
        current = std::filesystem::absolute(path);
    dev_t device{};
    while (!DeviceOf(current, device) && current.has_relative_path())
        current = current.parent_path();
    while (current.has_relative_path()) {
        const auto parent = current.parent_path();
        dev_t parentDevice{};
        if (!DeviceOf(parent, parentDevice) || parentDevice != device)
            break;
        current = parent;
    }
    return current;
}

AboutFigures AboutBoxFigures(std::string_view targetPath) {
    AboutFigures figures;
    if (targetPath.empty())
        return figures;
    const std::filesystem::path target{std::string(targetPath)};
    figures.fileName = FileNamePart(targetPath);
    figures.drive = MountPointOf(target).string();
    std::error_code ec;
    const auto space = std::filesystem::space(figures.drive, ec);
    if (!ec) {
        figures.totalSpace = FormatMegabytes(space.capacity);
        figures.freeSpace = FormatMegabytes(space.available);
    }
    if (const auto size = util::TargetSize(target))
        figures.fileSize = FormatMegabytes(*size);
    return figures;
}

}  // namespace zanfor::app
