#include "host/export/export_folder.h"

#include <algorithm>
#include <initializer_list>
#include <map>
#include <system_error>

#include "host/access/export_modules.h"
#include "host/error.h"
#include "host/export/saved_text.h"
#include "util/encoding.h"
#include "util/vb_string.h"

namespace zanfor::host::exports {

namespace fs = std::filesystem;

namespace {

using Names = std::initializer_list<std::string_view>;

std::string lowerExtension(const fs::path& p) { return util::LCase(p.extension().string()); }

std::vector<fs::path> entries(const fs::path& folder, bool directories) {
    std::vector<fs::path> found;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder, ec)) {
        std::error_code typeError;
        if (directories ? entry.is_directory(typeError) : entry.is_regular_file(typeError))
            found.push_back(entry.path());
    }
    // Entries of one folder differ in their names alone: comparing the whole paths as strings
    // orders them as comparing paths does, without taking each path apart.
    std::sort(found.begin(), found.end(),
              [](const fs::path& a, const fs::path& b) { return a.native() < b.native(); });
    return found;
}

// The first of `folders` whose name is one of `names`, compared without regard to case.
std::optional<fs::path> subFolder(const std::vector<fs::path>& folders, Names names) {
    for (const auto name : names) {
        for (const auto& f : folders) {
            if (util::EqualsIgnoreCase(f.filename().string(), name))
                return f;
        }
    }
    return std::nullopt;
}

std::optional<fs::path> fileNamed(const fs::path& root, Names names) {
    const auto files = entries(root, false);
    for (const auto name : names) {
        for (const auto& f : files) {
            if (util::EqualsIgnoreCase(f.filename().string(), name))
                return f;
        }
    }
    return std::nullopt;
}

int rankOf(std::string_view extension, Names mainExtensions) {
    int rank = 0;
    for (const auto e : mainExtensions) {
        if (e == extension)
            return rank;
        ++rank;
    }
    return -1;
}

// Groups the folder's files by name; an object exists where a file has one of the main
// extensions, the best-ranked being its file.
std::vector<ExportObject> objectsIn(const std::optional<fs::path>& folder, Names mainExtensions) {
    std::vector<ExportObject> objects;
    if (!folder)
        return objects;
    std::map<std::string, std::size_t> byName;
    std::vector<std::pair<std::size_t, fs::path>> others;
    for (const auto& path : entries(*folder, false)) {
        const std::string name = access::ExportedObjectName(path);
        const int rank = rankOf(lowerExtension(path), mainExtensions);
        const auto [it, added] = byName.try_emplace(util::UCase(name), objects.size());
        if (added)
            objects.push_back({name, path, {}});
        ExportObject& o = objects[it->second];
        const int current = rankOf(lowerExtension(o.file), mainExtensions);
        if (rank >= 0 && (current < 0 || rank < current)) {
            if (!added)
                others.emplace_back(it->second, o.file);
            o.name = name;
            o.file = path;
        } else if (!added) {
            others.emplace_back(it->second, path);
        }
    }
    for (const auto& [index, path] : others)
        objects[index].companions.push_back(path);
    std::erase_if(objects, [&](const ExportObject& o) {
        return rankOf(lowerExtension(o.file), mainExtensions) < 0;
    });
    return objects;
}

std::vector<fs::path> filesWith(const std::optional<fs::path>& folder, Names extensions) {
    std::vector<fs::path> files;
    if (!folder)
        return files;
    for (const auto& f : entries(*folder, false)) {
        if (rankOf(lowerExtension(f), extensions) >= 0)
            files.push_back(f);
    }
    return files;
}

// Designs are the files that name their character sets; the first that does speaks for all.
int folderCodePage(const ExportFolder& folder) {
    for (const auto* designs : {&folder.forms(), &folder.reports()}) {
        for (const auto& o : *designs) {
            std::string bytes;
            try {
                bytes = util::ReadFileBytes(o.file);
            } catch (const std::system_error&) {
                continue;
            }
            if (util::IsValidUtf8(bytes))
                continue;
            if (const int hint = CodePageHint(bytes); hint != 0)
                return hint;
        }
    }
    return 932;
}

NameIndex indexOf(const std::vector<ExportObject>& objects) {
    return NameIndex(objects.size(),
                     [&](std::size_t i) { return std::string_view(objects[i].name); });
}

const ExportObject* found(const std::vector<ExportObject>& objects, const NameIndex& index,
                          std::string_view name) {
    const std::size_t i =
        index.find(name, [&](std::size_t k) { return std::string_view(objects[k].name); });
    return i == NameIndex::npos ? nullptr : &objects[i];
}

}  // namespace

std::optional<fs::path> ExportObject::companion(std::string_view extension) const {
    for (const auto& c : companions) {
        if (util::EqualsIgnoreCase(c.extension().string(), extension))
            return c;
    }
    return std::nullopt;
}

std::shared_ptr<const ExportFolder> ExportFolder::Open(const fs::path& folder) {
    std::error_code ec;
    if (!fs::is_directory(folder, ec)) {
        throw Error(err::kCannotOpenFile,
                    "エクスポート フォルダー '" + folder.string() + "' が見つかりません。");
    }
    auto f = std::make_shared<ExportFolder>();
    f->root_ = fs::absolute(folder, ec);
    if (ec)
        f->root_ = folder;
    const auto folders = entries(folder, true);
    f->forms_ = objectsIn(subFolder(folders, {"forms", "form"}), {".bas", ".form", ".accfrm"});
    f->reports_ =
        objectsIn(subFolder(folders, {"reports", "report"}), {".bas", ".report", ".accrpt"});
    f->macros_ = objectsIn(subFolder(folders, {"macros", "macro", "scripts"}),
                           {".bas", ".macro", ".accmac", ".mcr"});
    f->modules_ = objectsIn(subFolder(folders, {"modules", "module"}), {".bas", ".cls"});
    f->queries_ =
        objectsIn(subFolder(folders, {"queries", "query"}), {".qdef", ".bas", ".accqry", ".sql"});
    f->tables_ = objectsIn(subFolder(folders, {"tbldefs", "tbldef", "tabledefs", "tabledef"}),
                           {".xml", ".sql", ".json", ".lnkd"});
    f->importExportFiles_ = filesWith(subFolder(folders, {"imexspecs"}), {".json"});
    f->relationFiles_ = filesWith(subFolder(folders, {"relations"}), {".json", ".txt"});
    f->propertiesFile_ =
        fileNamed(folder, {"dbs-properties.json", "properties.txt", "Project.accprj"});
    f->formIndex_ = indexOf(f->forms_);
    f->reportIndex_ = indexOf(f->reports_);
    f->macroIndex_ = indexOf(f->macros_);
    return f;
}

int ExportFolder::codePage() const {
    std::call_once(codePageFound_, [this] { codePage_ = folderCodePage(*this); });
    return codePage_;
}

std::string ExportFolder::read(const fs::path& file) const {
    return ReadExportFile(file, [this] { return codePage(); });
}

const ExportObject* ExportFolder::form(std::string_view name) const {
    return found(forms_, formIndex_, name);
}

const ExportObject* ExportFolder::report(std::string_view name) const {
    return found(reports_, reportIndex_, name);
}

const ExportObject* ExportFolder::macro(std::string_view name) const {
    return found(macros_, macroIndex_, name);
}

}  // namespace zanfor::host::exports
