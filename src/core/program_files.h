#pragma once

// The program folder and the small path and line functions the program shares.
//
// The original worked on Windows paths; here a path may use "/" or "\" as its separator (a
// target's stored paths, such as link targets, are Windows paths), so both count as one.

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace zanfor::app {

inline constexpr std::string_view kProductTitle = "Zanfor2000 Ver 2.1";
inline constexpr std::string_view kSettingsFileName = "Zanfor.ini";
inline constexpr std::string_view kProfileFileName = "Zanfor.dat";

// The part after the last separator; "" for "".
std::string FileNamePart(std::string_view path);
// The part up to and including the last separator; "" for "" or a path without one.
std::string FolderPart(std::string_view path);
// The name a save dialog's choice is written under: "." + `extension` (lower case, no dot)
// appended, after an ending "." + extension in any case is dropped, so "a.ADB" and "a" give
// "a.adb" and "a.txt" gives "a.txt.adb".
std::string WithExtension(std::string_view chosen, std::string_view extension);
// The text after the first "=", at most 255 characters, blanks trimmed; "" without "=".
std::string ValueAfterEquals(std::string_view line);

// The platform check of start-up, as a pure function of the version query's answer.
std::string WindowsVersionName(int platformId, int major, int minor);

// The read-only resources an installed program carries (the template workbook, the help
// page): share/zanfor of the prefix whose bin folder holds `executable`. A build tree has none.
std::filesystem::path SharedResourceFolder(const std::filesystem::path& executable);

// Where Zanfor.ini, Zanfor.dat, the work database and the help page live: $ZANFOR_HOME when
// set, else the executable's folder when writable and not an installed bin folder (one with a
// shared resource folder beside it: even root must not fill /usr/bin with data), else
// $XDG_DATA_HOME/zanfor (by default ~/.local/share/zanfor). The folder is created when missing
// and given a copy of each shared resource it lacks. Throws std::system_error when no folder
// can be made.
std::filesystem::path ResolveProgramFolder(const std::filesystem::path& executable);

// Settings values are read as text up to their first NUL and converted as the program did such
// text with Val: leading digits with an optional sign, 0 when there are none.
std::int32_t TextToLong(std::string_view text);

}  // namespace zanfor::app
