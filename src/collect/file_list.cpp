#include "collect/file_list.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <ctime>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>

#include "collect/object_inventory.h"
#include "collect/table_collector.h"
#include "core/program_files.h"
#include "util/jet_date.h"
#include "util/vb_string.h"

namespace zanfor::collect {

namespace {

namespace fs = std::filesystem;

// "*" over the characters of `name`; both sides already upper-cased.
bool Glob(std::string_view name, std::string_view pattern) {
    constexpr auto npos = std::string_view::npos;
    std::size_t n = 0, p = 0, starP = npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starP = ++p;
            starN = n;
        } else if (p < pattern.size() && pattern[p] == name[n]) {
            ++n;
            ++p;
        } else if (starP == npos) {
            return false;
        } else {
            starN += util::Utf8CharLength(name, starN);
            n = starN;
            p = starP;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

// What the list shows of one file: its data, or nothing when it could not be read.
struct FileData {
    double kilobytes = 0;
    host::Date updated;
    int readOnly = 0;
};

std::error_code LastError() { return {errno, std::generic_category()}; }

// Only regular files are files of the list; a folder named where a file was expected is no
// more readable as one than a missing file.
FileData ReadFileData(const fs::path& file) {
    struct stat st {};
    if (::stat(file.c_str(), &st) != 0)
        throw host::FileSystemError(file, LastError());
    if (!S_ISREG(st.st_mode)) {
        throw host::FileSystemError(
            file, std::make_error_code(S_ISDIR(st.st_mode) ? std::errc::is_a_directory
                                                           : std::errc::no_such_device_or_address));
    }
    std::tm local{};
    const std::time_t written = st.st_mtime;
    if (!localtime_r(&written, &local))
        throw host::FileSystemError(file, std::make_error_code(std::errc::value_too_large));
    // Windows' read-only attribute has no twin here; a file its owner may not write is what
    // file servers show Windows as read-only.
    return {.kilobytes = static_cast<double>(st.st_size) / 1024,
            .updated = host::Date{util::ToJetDate({local.tm_year + 1900, local.tm_mon + 1,
                                                   local.tm_mday, local.tm_hour, local.tm_min,
                                                   local.tm_sec == 60 ? 59 : local.tm_sec})},
            .readOnly = (st.st_mode & S_IWUSR) == 0 ? 1 : 0};
}

class FileRows {
public:
    explicit FileRows(RunContext& ctx) : ctx_(ctx), rows_(OpenEmptied(ctx, "T_AcFile")) {}

    // One row for the file the list names `folder` + `name`, with the data of the file at
    // `file`; a file that cannot be read gets its row without data and is named in the error
    // that ends the run.
    void add(const std::string& folder, const std::string& name, const fs::path& file) {
        std::optional<FileData> data;
        try {
            data = ReadFileData(file);
        } catch (const host::Error& e) {
            NoteUnreadable(ctx_, folder + name, e);
        }
        rows_.addNew();
        rows_.set("FileNo", ++fileNo_).set("FileName", name);
        if (data)
            rows_.set("FileSize", data->kilobytes).set("UpdateDate", data->updated);
        rows_.set("FilePath", folder);
        if (data)
            rows_.set("ReadOnly", data->readOnly);
        rows_.update();
    }

private:
    RunContext& ctx_;
    workdb::RowWriter rows_;
    std::int64_t fileNo_ = 0;
};

// Dir without attributes lists files only: no folders and no hidden files, which here are
// the names beginning with a dot. Named pipes, sockets and devices are no files of Windows'.
bool ListedEntry(const fs::directory_entry& entry, std::string_view pattern) {
    const std::string name = entry.path().filename().string();
    if (name.starts_with('.') || !MatchesDirPattern(name, pattern))
        return false;
    std::error_code ec;
    const auto type = entry.status(ec).type();
    // A link whose file is gone is still an entry of the folder; its row says it cannot be read.
    return type == fs::file_type::regular || type == fs::file_type::not_found;
}

void listFolder(RunContext& ctx, FileRows& rows, std::string_view pattern) {
    const std::string folder = app::FolderPart(ctx.state.targetPath);
    const fs::path dir = folder.empty() ? fs::path(".") : fs::path(folder);
    std::error_code ec;
    fs::directory_iterator it(dir, ec);
    for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
        if (ListedEntry(*it, pattern))
            rows.add(folder, it->path().filename().string(), it->path());
    }
    if (ec)
        throw host::FileSystemError(dir, ec);
}

// A link's path is a Windows path; the file is read where it says when that exists here, else
// under its name beside the target, as the reader of linked tables finds it.
fs::path LinkedFileHere(const std::string& linkPath, const std::string& targetPath) {
    std::string path = linkPath;
    std::ranges::replace(path, '\\', '/');
    std::error_code ec;
    if (fs::exists(path, ec))
        return path;
    return fs::path(app::FolderPart(targetPath)) / app::FileNamePart(linkPath);
}

void listLinkedFiles(RunContext& ctx, FileRows& rows) {
    for (const auto& table : ctx.target.tableDefs()) {
        if (IsAccessOwnTable(table) || table.connect.empty())
            continue;
        // Links without a file (ODBC) have nothing to list; the table lists show them.
        if (const auto path = LinkedFilePath(table.connect)) {
            rows.add(app::FolderPart(*path), app::FileNamePart(*path),
                     LinkedFileHere(*path, ctx.state.targetPath));
        }
    }
}

}  // namespace

bool MatchesDirPattern(std::string_view name, std::string_view pattern) {
    const std::string upperName = util::UCase(name);
    const std::string upperPattern = util::UCase(pattern);
    if (Glob(upperName, upperPattern))
        return true;
    return upperPattern.ends_with(".*") &&
           Glob(upperName, std::string_view(upperPattern).substr(0, upperPattern.size() - 2));
}

std::optional<std::string> LinkedFilePath(std::string_view connect) {
    if (LinkClass(connect) == "Link(ODBC)")
        return std::nullopt;
    std::size_t start = 0;
    while (start <= connect.size()) {
        const std::size_t end = std::min(connect.find(';', start), connect.size());
        const std::string_view part = connect.substr(start, end - start);
        const std::size_t equals = part.find('=');
        if (equals != std::string_view::npos &&
            util::EqualsIgnoreCase(util::Trim(part.substr(0, equals)), "DATABASE")) {
            std::string path = util::Trim(part.substr(equals + 1));
            if (path.empty())
                return std::nullopt;
            return path;
        }
        start = end + 1;
    }
    return std::nullopt;
}

RunResult RunFileList(RunContext& ctx) {
    const std::int16_t selection = ctx.state.options.file;
    const CollectorRun run{.collector = app::Collector::Files,
                           .option = selection,
                           .skip = selection == ctx.state.lastRun[app::Collector::Files],
                           .place = "場所:ファイル一覧",
                           .report = "R_AcFile",
                           .preview = app::PreviewButton::FlPre};
    return RunCollection(ctx, run, [selection](RunContext& c) {
        FileRows rows(c);
        c.ui.showMessage("ファイル 情報　取得中");
        if (selection == 2)
            listLinkedFiles(c, rows);
        else
            listFolder(c, rows, selection == 1 ? "*.m*" : "*.*");
        return Finish::Report;
    });
}

}  // namespace zanfor::collect
