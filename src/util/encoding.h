#pragma once

// Text encodings. Inside the program every string is UTF-8. Files the program writes for the
// user (settings, profile, patterns, CSV and text exports) are in the Japanese ANSI code page,
// CP932, with CR LF line ends; readers accept CP932 and UTF-8 (with or without a BOM).

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace zanfor::util {

// Bytes in the given Windows code page (932, 1252, 65001 = UTF-8, or another that iconv knows
// as CPnnnn) to UTF-8. Undecodable bytes become U+FFFD; nothing throws.
std::string DecodeCodePage(std::string_view bytes, int codePage);
std::string Cp932ToUtf8(std::string_view bytes);
// UTF-8 to CP932. A character CP932 cannot hold becomes "?", as Windows' conversion did.
std::string Utf8ToCp932(std::string_view text);

// UTF-16 little-endian (Jet 4's text, UCS-2 in practice) to UTF-8. A lone surrogate or a
// trailing odd byte becomes U+FFFD.
std::string Utf16LeToUtf8(std::string_view bytes);

// A file's bytes to UTF-8: a UTF-8 BOM (dropped) or valid UTF-8 means UTF-8, else CP932.
std::string DecodeText(std::string_view bytes);

// Splits at CR LF, LF or a lone CR. A final line end does not give an empty last line.
std::vector<std::string> SplitLines(std::string_view text);

// Reads a whole file as bytes. Throws std::system_error when it cannot be opened or read.
std::string ReadFileBytes(const std::filesystem::path& path);
// ReadFileBytes followed by DecodeText.
std::string ReadTextFile(const std::filesystem::path& path);

// Writes bytes through a temporary file in the same folder renamed over the target, so a
// failed write never leaves a half-written file. Throws std::system_error on failure.
void WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes);
// A new folder named `prefix` followed by six characters no other folder there has
// (std::system_error when it cannot be made).
std::filesystem::path MakeUniqueFolder(const std::filesystem::path& prefix);
// Each line in CP932 followed by CR LF, written atomically.
void WriteCp932Lines(const std::filesystem::path& path, const std::vector<std::string>& lines);

}  // namespace zanfor::util
