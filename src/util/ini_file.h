#pragma once

// Settings files with the rules of Windows' private-profile calls: sections and keys are
// matched without regard to case, blanks around keys and values are ignored, a value is read
// up to its first NUL, a missing file, section or key reads as the caller's default, the first
// write creates the file, and a write changes only its own key's line.

#include <filesystem>
#include <string>
#include <string_view>

namespace zanfor::util {

class IniFile {
public:
    explicit IniFile(std::filesystem::path path);

    const std::filesystem::path& path() const { return path_; }

    // The file is read again on every call, as the platform call did: another program's change
    // is seen at once. An unreadable file reads as an empty one.
    std::string read(std::string_view section, std::string_view key,
                     std::string_view defaultValue) const;

    // Throws std::system_error when the file cannot be written; the old file is then intact.
    void write(std::string_view section, std::string_view key, std::string_view value);

private:
    std::filesystem::path path_;
};

}  // namespace zanfor::util
