#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>

namespace zanfor::util {

// The size of a target on disk: a file's own size, or for an export folder the sum of the files
// it holds, since the folder stands for the database file it was written from. Nothing when it
// cannot be read.
std::optional<std::uintmax_t> TargetSize(const std::filesystem::path& target);

}  // namespace zanfor::util
