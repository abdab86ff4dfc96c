#include "host/access/export_modules.h"

#include <algorithm>
#include <cctype>
#include <system_error>

#include "host/error.h"
#include "host/export/export_folder.h"
#include "host/text_lines.h"
#include "util/encoding.h"
#include "util/vb_string.h"

namespace zanfor::host::access {

namespace fs = std::filesystem;

namespace {

// The lines from `from` on, joined with CR LF.
std::string joinLines(LineCursor& cursor, std::string_view first, std::size_t size) {
    std::string text;
    text.reserve(size);
    text += first;
    for (std::string_view line; cursor.next(line);) {
        text += "\r\n";
        text += line;
    }
    return text;
}

std::string lowerExtension(const fs::path& p) {
    std::string ext = p.extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return ext;
}

// The first existing sub-folder among the spellings export tools use.
std::optional<fs::path> subFolder(const fs::path& folder,
                                  std::initializer_list<const char*> names) {
    for (const char* name : names) {
        std::error_code ec;
        if (fs::is_directory(folder / name, ec))
            return folder / name;
    }
    return std::nullopt;
}

std::vector<fs::path> filesIn(const fs::path& folder) {
    std::vector<fs::path> files;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder, ec)) {
        if (entry.is_regular_file(ec))
            files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

// A module or design file's text through the folder, in its code page: a module names none of
// its own, and reading every module as CP932 garbled the comments and strings of a folder
// exported on a Cyrillic or Western system.
std::optional<std::string> readText(const exports::ExportFolder& folder, const fs::path& file) {
    try {
        return folder.read(file);
    } catch (const std::system_error&) {
        return std::nullopt;
    } catch (const Error&) {
        return std::nullopt;
    }
}

// Whether the last of the text's lines is an empty one.
bool endsWithEmptyLine(std::string_view s) {
    if (s.ends_with("\r\n"))
        s.remove_suffix(2);
    else if (s.ends_with('\r') || s.ends_with('\n'))
        s.remove_suffix(1);
    else
        return false;
    return s.empty() || s.ends_with('\r') || s.ends_with('\n');
}

// The code after the design's "CodeBehindForm" line, when it has one: the lines after it were
// always joined and split again, which loses a last empty line. The design part, most of the
// file, is passed over by a search for the word.
std::optional<std::string> codeBehind(std::string_view text) {
    constexpr std::string_view kMarker = "CodeBehindForm";
    for (std::size_t at = text.find(kMarker); at != std::string_view::npos;
         at = text.find(kMarker, at + 1)) {
        const std::size_t before = text.find_last_of("\r\n", at);
        const std::size_t start = before == std::string_view::npos ? 0 : before + 1;
        std::size_t end = text.find_first_of("\r\n", at);
        if (end == std::string_view::npos)
            end = text.size();
        if (TrimmedView(text.substr(start, end - start)) != kMarker)
            continue;
        if (end < text.size())
            end += text.compare(end, 2, "\r\n") == 0 ? 2 : 1;
        const std::string_view rest = text.substr(end);
        std::string code = ModuleTextOf(rest);
        if (endsWithEmptyLine(rest) && code.ends_with("\r\n"))
            code.resize(code.size() - 2);
        return code;
    }
    return std::nullopt;
}

void readDesignCode(const exports::ExportFolder& texts, const fs::path& folder, ExportedKind kind,
                    std::vector<ExportedModule>& out) {
    const std::string prefix = kind == ExportedKind::Form ? "Form_" : "Report_";
    const auto files = filesIn(folder);
    for (const auto& file : files) {
        const std::string ext = lowerExtension(file);
        const std::string stem = file.stem().string();
        std::optional<std::string> code;
        if (ext == ".cls") {
            if (auto text = readText(texts, file))
                code = ModuleTextOf(*text);
        } else if (ext == ".bas" || ext == ".form" || ext == ".report" || ext == ".accfrm" ||
                   ext == ".accrpt") {
            // A .cls beside the design holds the code instead.
            if (std::binary_search(files.begin(), files.end(), folder / (stem + ".cls")))
                continue;
            if (auto text = readText(texts, file))
                code = codeBehind(*text);
        }
        if (code) {
            const std::string name = ExportedObjectName(file);
            out.push_back({kind, prefix + name, name, std::move(*code)});
        }
    }
}

}  // namespace

std::optional<std::string> DeclaredModuleName(std::string_view text) {
    LineCursor cursor(text);
    for (std::string_view line; cursor.next(line);) {
        if (!TrimmedStartsWith(line, "ATTRIBUTE VB_NAME"))
            continue;
        const auto open = line.find('"');
        const auto close = line.rfind('"');
        if (open != std::string_view::npos && close > open)
            return std::string(line.substr(open + 1, close - open - 1));
    }
    return std::nullopt;
}

std::optional<fs::path> ExportFolderFor(const fs::path& target) {
    fs::path folder = target;
    folder += ".src";
    std::error_code ec;
    if (fs::is_directory(folder, ec))
        return folder;
    return std::nullopt;
}

std::string ExportedObjectName(const fs::path& file) {
    const std::string stem = file.stem().string();
    std::string name;
    for (std::size_t i = 0; i < stem.size(); ++i) {
        if (stem[i] == '%' && i + 2 < stem.size() &&
            std::isxdigit(static_cast<unsigned char>(stem[i + 1])) &&
            std::isxdigit(static_cast<unsigned char>(stem[i + 2]))) {
            name += static_cast<char>(std::stoi(stem.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else {
            name += stem[i];
        }
    }
    return name;
}

std::string ModuleTextOf(std::string_view exported) {
    LineCursor cursor(exported);
    std::string_view line;
    bool more = cursor.next(line);
    if (more && TrimmedStartsWith(line, "VERSION ")) {
        more = cursor.next(line);
        if (more && TrimmedStartsWith(line, "BEGIN")) {
            while (more && !TrimmedStartsWith(line, "END"))
                more = cursor.next(line);
            if (more)
                more = cursor.next(line);
        }
    }
    while (more && TrimmedStartsWith(line, "ATTRIBUTE VB_"))
        more = cursor.next(line);
    return more ? joinLines(cursor, line, exported.size()) : std::string();
}

std::vector<ExportedModule> ReadExportedModules(const exports::ExportFolder& texts) {
    const fs::path& folder = texts.root();
    std::vector<ExportedModule> modules;
    if (auto dir = subFolder(folder, {"modules", "Module", "Modules"})) {
        for (const auto& file : filesIn(*dir)) {
            const std::string ext = lowerExtension(file);
            if (ext != ".bas" && ext != ".cls")
                continue;
            auto text = readText(texts, file);
            if (!text)
                continue;
            modules.push_back({ext == ".cls" ? ExportedKind::Class : ExportedKind::Standard,
                               DeclaredModuleName(*text).value_or(ExportedObjectName(file)),
                               {},
                               ModuleTextOf(*text)});
        }
    }
    if (auto dir = subFolder(folder, {"forms", "Form", "Forms"})) {
        readDesignCode(texts, *dir, ExportedKind::Form, modules);
    }
    if (auto dir = subFolder(folder, {"reports", "Report", "Reports"})) {
        readDesignCode(texts, *dir, ExportedKind::Report, modules);
    }
    return modules;
}

}  // namespace zanfor::host::access
