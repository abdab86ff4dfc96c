#pragma once

// String functions that count characters (Unicode code points of UTF-8 text), as VB counted
// the characters of its strings: "the first 150 characters" of a Japanese name is 150
// characters, not 150 bytes. Positions are 1-based as in VB; 0 means "not found".
// Bytes that are not valid UTF-8 count as one character each, so no input can fail.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace zanfor::util {

std::size_t Len(std::string_view s);
std::string Left(std::string_view s, std::size_t count);
std::string Right(std::string_view s, std::size_t count);
// Mid(s, start) is the rest of s from character `start` on; a start beyond the end gives "".
std::string Mid(std::string_view s, std::size_t start);
std::string Mid(std::string_view s, std::size_t start, std::size_t count);

// Binary (case-sensitive) search as VB's InStr: the character position of the first match at
// or after `start`, 0 when there is none. An empty `find` gives `start` when start <= Len + 1.
std::size_t InStr(std::string_view s, std::string_view find);
std::size_t InStr(std::size_t start, std::string_view s, std::string_view find);
// The position of the last match, 0 when there is none.
std::size_t InStrRev(std::string_view s, std::string_view find);

// VB on a Japanese system removes both the ASCII blank and the ideographic blank (U+3000);
// tabs and other white space stay.
inline constexpr std::string_view kIdeographicSpace = "\xE3\x80\x80";  // U+3000
std::string LTrim(std::string_view s);
std::string RTrim(std::string_view s);
std::string Trim(std::string_view s);

// Upper-cases ASCII, Latin-1, Greek, Cyrillic and full-width Latin letters, as VB's UCase
// did through the system's case mapping; everything else is copied unchanged.
std::string UCase(std::string_view s);
std::string LCase(std::string_view s);

// "The first n characters, trailing blanks removed": the cut every collector applies to names.
std::string LeftRTrim(std::string_view s, std::size_t count);

bool IsValidUtf8(std::string_view s);

// The code point of the character at byte `pos`, moving `pos` past it; a byte that does not
// start a valid sequence there gives U+FFFD and moves one byte.
char32_t NextUtf8(std::string_view s, std::size_t& pos);
// Appends the UTF-8 form of a code point.
void AppendUtf8(char32_t codePoint, std::string& out);
// The byte length of the character that starts at byte `pos`: 1 for a byte that does not start
// a valid UTF-8 sequence there, 0 at or past the end.
std::size_t Utf8CharLength(std::string_view s, std::size_t pos);

// Case-insensitive equality in the sense of UCase, used where Windows compared names without
// regard to case (profile sections and keys, DAO collection lookups).
bool EqualsIgnoreCase(std::string_view a, std::string_view b);
// A hash that agrees with EqualsIgnoreCase: names it finds equal hash alike.
std::uint32_t HashIgnoreCase(std::string_view s);

}  // namespace zanfor::util
