#pragma once

// The figures of the About box: the target's file name, the drive (mount point) it lies on,
// the drive's total and free space and the target's size, all in megabytes.

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace zanfor::app {

struct AboutFigures {
    std::string fileName;
    std::string drive;
    std::string totalSpace;
    std::string freeSpace;
    std::string fileSize;
};

// Empty figures when no target is open; those that cannot be read stay empty.
AboutFigures AboutBoxFigures(std::string_view targetPath);

// "#0.00" followed by "MB", rounded half up (1 MB = 1,048,576 bytes).
std::string FormatMegabytes(std::uintmax_t bytes);

// The folder the file system holding `path` is mounted on.
std::filesystem::path MountPointOf(const std::filesystem::path& path);

}  // namespace zanfor::app
