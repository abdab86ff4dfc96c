#pragma once

// Files the command line writes where the user points --out.

#include <filesystem>
#include <string_view>

namespace zanfor::cli::reports {

// A file already there is written over only when it is empty or an earlier output of the same
// kind (it starts with `magic`), and never when it is `keep` (the work database): a mistyped
// --out must not destroy a target or anything else. `kind` names such an output in the refusal
// (error 58).
void RequireReplaceable(const std::filesystem::path& file, std::string_view magic,
                        std::string_view kind, const std::filesystem::path& keep = {});

}  // namespace zanfor::cli::reports
