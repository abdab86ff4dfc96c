#include "host/access/export_modules.h"

#include <algorithm>
#include <cctype>
#include <system_error>

#include "util/encoding.h"
#include "util/vb_string.h"

namespace zanfor::host::access {

namespace fs = std::filesystem;

namespace {

bool startsWithWord(std::string_view line, std::string_view word) {
    const std::string upper = util::UCase(util::Trim(line));
    return upper.rfind(word, 0) == 0;
}

std::string joinLines(const std::vector<std::string>& lines, std::size_t from) {
    std::string text;
    for (std::size_t i = from; i < lines.size(); ++i) {
        if (i > from)
            text += "\r\n";
        text += lines[i];
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

std::optional<std::string> readText(const fs::path& file) {
    try {
        return util::ReadTextFile(file);
    } catch (const std::system_error&) {
        return std::nullopt;
    }
}

// The quoted name of "Attribute VB_Name = "X"", when the text declares one.
std::optional<std::string> declaredName(std::string_view text) {
    for (const auto& line : util::SplitLines(text)) {
        if (!startsWithWord(line, "ATTRIBUTE VB_NAME"))
            continue;
        const auto open = line.find('"');
        const auto close = line.rfind('"');
        if (open != std::string::npos && close > open)
            return line.substr(open + 1, close - open - 1);
    }
    return std::nullopt;
}

void readDesignCode(const fs::path& folder, ExportedKind kind, std::vector<ExportedModule>& out) {
    const std::string prefix = kind == ExportedKind::Form ? "Form_" : "Report_";
    const auto files = filesIn(folder);
    for (const auto& file : files) {
        const std::string ext = lowerExtension(file);
        const std::string stem = file.stem().string();
        std::optional<std::string> code;
        if (ext == ".cls") {
            if (auto text = readText(file))
                code = ModuleTextOf(*text);
        } else if (ext == ".bas" || ext == ".form" || ext == ".report" || ext == ".accfrm" ||
                   ext == ".accrpt") {
            // A .cls beside the design holds the code instead.
            if (std::find(files.begin(), files.end(), folder / (stem + ".cls")) != files.end()) {
                continue;
            }
            auto text = readText(file);
            if (!text)
                continue;
            const auto lines = util::SplitLines(*text);
            for (std::size_t i = 0; i < lines.size(); ++i) {
                if (util::Trim(lines[i]) == "CodeBehindForm") {
                    code = ModuleTextOf(joinLines(lines, i + 1));
                    break;
                }
            }
        }
        if (code) {
            const std::string name = ExportedObjectName(file);
            out.push_back({kind, prefix + name, name, std::move(*code)});
        }
    }
}

}  // namespace

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
    const auto lines = util::SplitLines(exported);
    std::size_t i = 0;
    if (i < lines.size() && startsWithWord(lines[i], "VERSION ")) {
        ++i;
        if (i < lines.size() && startsWithWord(lines[i], "BEGIN")) {
            while (i < lines.size() && !startsWithWord(lines[i], "END"))
                ++i;
            if (i < lines.size())
                ++i;
        }
    }
    while (i < lines.size() && startsWithWord(lines[i], "ATTRIBUTE VB_"))
        ++i;
    return joinLines(lines, i);
}

std::vector<ExportedModule> ReadExportedModules(const fs::path& folder) {
    std::vector<ExportedModule> modules;
    if (auto dir = subFolder(folder, {"modules", "Module", "Modules"})) {
        for (const auto& file : filesIn(*dir)) {
            const std::string ext = lowerExtension(file);
            if (ext != ".bas" && ext != ".cls")
                continue;
            auto text = readText(file);
            if (!text)
                continue;
            modules.push_back({ext == ".cls" ? ExportedKind::Class : ExportedKind::Standard,
                               declaredName(*text).value_or(ExportedObjectName(file)),
                               {},
                               ModuleTextOf(*text)});
        }
    }
    if (auto dir = subFolder(folder, {"forms", "Form", "Forms"})) {
        readDesignCode(*dir, ExportedKind::Form, modules);
    }
    if (auto dir = subFolder(folder, {"reports", "Report", "Reports"})) {
        readDesignCode(*dir, ExportedKind::Report, modules);
    }
    return modules;
}

}  // namespace zanfor::host::access
