#include "util/vb_string.h"

#include <cstdint>

namespace zanfor::util {

namespace {

// Keys for invalid bytes lie above every code point so they never equal a decoded character.
constexpr char32_t kInvalidByteBase = 0x110000;

struct Char {
    char32_t cp;
    std::size_t length;
    bool valid;
};

bool IsAscii(char c) { return static_cast<unsigned char>(c) < 0x80; }

constexpr unsigned char AsciiUpper(unsigned char c) {
    return c >= 'a' && c <= 'z' ? static_cast<unsigned char>(c - 0x20) : c;
}

// The length of the sequence a lead byte announces, 0 for a byte that cannot start one.
std::size_t SequenceLength(unsigned char lead) {
    if (lead >= 0xC2 && lead <= 0xDF)
        return 2;
    if (lead >= 0xE0 && lead <= 0xEF)
        return 3;
    if (lead >= 0xF0 && lead <= 0xF4)
        return 4;
    return 0;
}

Char Decode(std::string_view s, std::size_t i) {
    static constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    const auto lead = static_cast<unsigned char>(s[i]);
    if (lead < 0x80)
        return {lead, 1, true};
    const Char invalid{lead, 1, false};
    const std::size_t length = SequenceLength(lead);
    if (length == 0 || s.size() - i < length)
        return invalid;
    char32_t cp = lead & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k) {
        const auto next = static_cast<unsigned char>(s[i + k]);
        if ((next & 0xC0) != 0x80)
            return invalid;
        cp = (cp << 6) | (next & 0x3F);
    }
    if (cp < kSmallest[length] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return invalid;
    return {cp, length, true};
}

std::size_t CharLength(std::string_view s, std::size_t i) {
    return IsAscii(s[i]) ? 1 : Decode(s, i).length;
}

// Every mapping keeps the UTF-8 length of the character, which EqualsIgnoreCase relies on.
char32_t ToUpper(char32_t c) {
    if (c >= 'a' && c <= 'z')
        return c - 0x20;
    if (c < 0xE0)
        return c;
    if (c <= 0xFE)
        return c == 0xF7 ? c : c - 0x20;
    if (c == 0x3C2)
        return 0x3A3;
    if (c >= 0x3B1 && c <= 0x3C9)
        return c - 0x20;
    if (c >= 0x430 && c <= 0x44F)
        return c - 0x20;
    if (c >= 0x450 && c <= 0x45F)
        return c - 0x50;
    if (c >= 0xFF41 && c <= 0xFF5A)
        return c - 0x20;
    return c;
}

char32_t ToLower(char32_t c) {
    if (c >= 'A' && c <= 'Z')
        return c + 0x20;
    if (c >= 0xC0 && c <= 0xDE)
        return c == 0xD7 ? c : c + 0x20;
    if (c >= 0x391 && c <= 0x3A9)
        return c == 0x3A2 ? c : c + 0x20;
    if (c >= 0x410 && c <= 0x42F)
        return c + 0x20;
    if (c >= 0x400 && c <= 0x40F)
        return c + 0x50;
    if (c >= 0xFF21 && c <= 0xFF3A)
        return c + 0x20;
    return c;
}

template <typename Map>
std::string MapCase(std::string_view s, Map map) {
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size();) {
        if (IsAscii(s[i])) {
            out += static_cast<char>(map(static_cast<unsigned char>(s[i])));
            ++i;
            continue;
        }
        const Char c = Decode(s, i);
        if (c.valid) {
            AppendUtf8(map(c.cp), out);
        } else {
            out += s[i];
        }
        i += c.length;
    }
    return out;
}

struct Cursor {
    std::size_t byte = 0;
    std::size_t chars = 0;
};

void Advance(std::string_view s, Cursor& c, std::size_t count) {
    for (; count > 0 && c.byte < s.size(); --count) {
        c.byte += CharLength(s, c.byte);
        ++c.chars;
    }
}

bool EndsOnBoundary(std::string_view s, std::size_t begin, std::size_t length) {
    std::size_t i = begin;
    while (i < begin + length)
        i += CharLength(s, i);
    return i == begin + length;
}

// Moves `c` to the next match at or after it. A byte match that starts or ends inside a
// character is no match; a valid UTF-8 `find` that starts on a boundary always ends on one.
bool FindFrom(std::string_view s, std::string_view find, bool findIsValid, Cursor& c) {
    std::size_t from = c.byte;
    for (;;) {
        const std::size_t p = s.find(find, from);
        if (p == std::string_view::npos)
            return false;
        while (c.byte < p) {
            c.byte += CharLength(s, c.byte);
            ++c.chars;
        }
        if (c.byte == p && (findIsValid || EndsOnBoundary(s, p, find.size())))
            return true;
        from = c.byte == p ? p + 1 : c.byte;
    }
}

}  // namespace

std::size_t Len(std::string_view s) {
    Cursor c;
    Advance(s, c, std::string_view::npos);
    return c.chars;
}

std::string Left(std::string_view s, std::size_t count) {
    Cursor c;
    Advance(s, c, count);
    return std::string(s.substr(0, c.byte));
}

std::string Right(std::string_view s, std::size_t count) {
    const std::size_t length = Len(s);
    if (count >= length)
        return std::string(s);
    Cursor c;
    Advance(s, c, length - count);
    return std::string(s.substr(c.byte));
}

std::string Mid(std::string_view s, std::size_t start) {
    return Mid(s, start, std::string_view::npos);
}

std::string Mid(std::string_view s, std::size_t start, std::size_t count) {
    Cursor c;
    Advance(s, c, start == 0 ? 0 : start - 1);
    const std::size_t begin = c.byte;
    Advance(s, c, count);
    return std::string(s.substr(begin, c.byte - begin));
}

std::size_t InStr(std::string_view s, std::string_view find) { return InStr(1, s, find); }

std::size_t InStr(std::size_t start, std::string_view s, std::string_view find) {
    if (start == 0)
        start = 1;
    Cursor c;
    Advance(s, c, start - 1);
    if (c.chars < start - 1)
        return 0;
    if (find.empty())
        return start;
    if (!FindFrom(s, find, IsValidUtf8(find), c))
        return 0;
    return c.chars + 1;
}

std::size_t InStrRev(std::string_view s, std::string_view find) {
    if (s.empty())
        return 0;
    if (find.empty())
        return Len(s);
    const bool findIsValid = IsValidUtf8(find);
    std::size_t last = 0;
    Cursor c;
    while (FindFrom(s, find, findIsValid, c)) {
        last = c.chars + 1;
        Advance(s, c, 1);
    }
    return last;
}

std::string LTrim(std::string_view s) {
    for (;;) {
        if (s.starts_with(' ')) {
            s.remove_prefix(1);
        } else if (s.starts_with(kIdeographicSpace)) {
            s.remove_prefix(kIdeographicSpace.size());
        } else {
            return std::string(s);
        }
    }
}

// Neither byte pattern can be the tail of a longer character: ' ' is ASCII and 0xE3 is a lead
// byte, so trimming from the end needs no decoding.
std::string RTrim(std::string_view s) {
    for (;;) {
        if (s.ends_with(' ')) {
            s.remove_suffix(1);
        } else if (s.ends_with(kIdeographicSpace)) {
            s.remove_suffix(kIdeographicSpace.size());
        } else {
            return std::string(s);
        }
    }
}

std::string Trim(std::string_view s) { return RTrim(LTrim(s)); }

std::string UCase(std::string_view s) { return MapCase(s, ToUpper); }

std::string LCase(std::string_view s) { return MapCase(s, ToLower); }

std::string LeftRTrim(std::string_view s, std::size_t count) { return RTrim(Left(s, count)); }

bool IsValidUtf8(std::string_view s) {
    for (std::size_t i = 0; i < s.size();) {
        if (IsAscii(s[i])) {
            ++i;
            continue;
        }
        const Char c = Decode(s, i);
        if (!c.valid)
            return false;
        i += c.length;
    }
    return true;
}

std::size_t Utf8CharLength(std::string_view s, std::size_t pos) {
    return pos < s.size() ? CharLength(s, pos) : 0;
}

namespace {
// The key a character compares by: its upper case, or for a byte that is not valid UTF-8 a
// value above every code point, so it equals only the same invalid byte.
char32_t CaseKey(const Char& c) { return c.valid ? ToUpper(c.cp) : kInvalidByteBase + c.cp; }
}  // namespace

// ASCII needs no decoding: an ASCII byte never equals part of a longer character, and names
// are ASCII far more often than not.
bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size();) {
        const auto x = static_cast<unsigned char>(a[i]);
        const auto y = static_cast<unsigned char>(b[i]);
        if ((x | y) < 0x80) {
            if (x != y && AsciiUpper(x) != AsciiUpper(y))
                return false;
            ++i;
            continue;
        }
        const Char ca = Decode(a, i);
        const Char cb = Decode(b, i);
        if (ca.length != cb.length || CaseKey(ca) != CaseKey(cb))
            return false;
        i += ca.length;
    }
    return true;
}

std::uint32_t HashIgnoreCase(std::string_view s) {
    // FNV-1a over the case keys: equal keys give equal hashes whatever the spelling.
    std::uint32_t h = 2166136261u;
    const auto mix = [&h](std::uint32_t key) { h = (h ^ key) * 16777619u; };
    for (std::size_t i = 0; i < s.size();) {
        const auto x = static_cast<unsigned char>(s[i]);
        if (x < 0x80) {
            mix(AsciiUpper(x));
            ++i;
            continue;
        }
        const Char c = Decode(s, i);
        mix(CaseKey(c));
        i += c.length;
    }
    return h;
}

char32_t NextUtf8(std::string_view s, std::size_t& pos) {
    const Char c = Decode(s, pos);
    pos += c.length;
    return c.valid ? c.cp : 0xFFFD;
}

void AppendUtf8(char32_t cp, std::string& out) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

}  // namespace zanfor::util
