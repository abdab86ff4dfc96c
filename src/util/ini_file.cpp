#include "util/ini_file.h"

#include <optional>
#include <system_error>
#include <utility>
#include <vector>

#include "util/encoding.h"
#include "util/vb_string.h"

namespace zanfor::util {

namespace {

using Lines = std::vector<std::string>;

struct SectionRange {
    std::size_t header;
    std::size_t end;
};

std::string_view TrimBlanks(std::string_view s) {
    constexpr std::string_view kBlanks = " \t";
    const std::size_t first = s.find_first_not_of(kBlanks);
    if (first == std::string_view::npos)
        return {};
    return s.substr(first, s.find_last_not_of(kBlanks) - first + 1);
}

// A line break inside a name or value would split it into lines that read back as something
// else, and Windows' C strings ended at a NUL; so a written string ends at the first of these.
std::string_view SingleLine(std::string_view s) {
    return s.substr(0, s.find_first_of(std::string_view("\r\n\0", 3)));
}

std::optional<std::string_view> SectionName(std::string_view line) {
    line = TrimBlanks(line);
    if (!line.starts_with('['))
        return std::nullopt;
    const std::size_t close = line.find(']');
    if (close == std::string_view::npos)
        return std::nullopt;
    return TrimBlanks(line.substr(1, close - 1));
}

std::optional<std::string_view> KeyName(std::string_view line) {
    line = TrimBlanks(line);
    if (line.starts_with(';'))
        return std::nullopt;
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos)
        return std::nullopt;
    return TrimBlanks(line.substr(0, equals));
}

std::string Value(std::string_view line) {
    std::string_view value = line.substr(line.find('=') + 1);
    value = TrimBlanks(value.substr(0, value.find('\0')));
    const bool quoted = value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
                        value.back() == value.front();
    if (quoted)
        value = value.substr(1, value.size() - 2);
    return std::string(value);
}

// Windows only ever looks at the first section of a name; a later duplicate is dead text.
std::optional<SectionRange> FindSection(const Lines& lines, std::string_view section) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const auto name = SectionName(lines[i]);
        if (!name || !EqualsIgnoreCase(*name, section))
            continue;
        std::size_t end = i + 1;
        while (end < lines.size() && !SectionName(lines[end]))
            ++end;
        return SectionRange{i, end};
    }
    return std::nullopt;
}

std::optional<std::size_t> FindKey(const Lines& lines, SectionRange range, std::string_view key) {
    for (std::size_t i = range.header + 1; i < range.end; ++i) {
        const auto name = KeyName(lines[i]);
        if (name && EqualsIgnoreCase(*name, key))
            return i;
    }
    return std::nullopt;
}

std::size_t AfterLastNonBlankLine(const Lines& lines, SectionRange range) {
    std::size_t position = range.header + 1;
    for (std::size_t i = range.header + 1; i < range.end; ++i) {
        if (!TrimBlanks(lines[i]).empty())
            position = i + 1;
    }
    return position;
}

// Only a missing file reads as empty here: replacing a file that exists but cannot be read
// would throw its contents away.
Lines ReadLinesForUpdate(const std::filesystem::path& path) {
    try {
        return SplitLines(ReadTextFile(path));
    } catch (const std::system_error& e) {
        if (e.code() == std::errc::no_such_file_or_directory)
            return {};
        throw;
    }
}

}  // namespace

IniFile::IniFile(std::filesystem::path path) : path_(std::move(path)) {}

std::string IniFile::read(std::string_view section, std::string_view key,
                          std::string_view defaultValue) const {
    std::string text;
    try {
        text = ReadTextFile(path_);
    } catch (const std::system_error&) {
        return std::string(defaultValue);
    }
    const Lines lines = SplitLines(text);
    const auto range = FindSection(lines, TrimBlanks(section));
    if (!range)
        return std::string(defaultValue);
    const auto line = FindKey(lines, *range, TrimBlanks(key));
    if (!line)
        return std::string(defaultValue);
    return Value(lines[*line]);
}

void IniFile::write(std::string_view section, std::string_view key, std::string_view value) {
    const std::string_view sectionName = TrimBlanks(SingleLine(section));
    const std::string_view keyName = TrimBlanks(SingleLine(key));
    std::string keyLine = std::string(keyName) + "=" + std::string(SingleLine(value));

    Lines lines = ReadLinesForUpdate(path_);
    if (const auto range = FindSection(lines, sectionName)) {
        if (const auto line = FindKey(lines, *range, keyName)) {
            lines[*line] = std::move(keyLine);
        } else {
            const auto at = static_cast<std::ptrdiff_t>(AfterLastNonBlankLine(lines, *range));
            lines.insert(lines.begin() + at, std::move(keyLine));
        }
    } else {
        lines.push_back("[" + std::string(sectionName) + "]");
        lines.push_back(std::move(keyLine));
    }
    WriteCp932Lines(path_, lines);
}

}  // namespace zanfor::util
