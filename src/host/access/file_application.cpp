#include "host/access/file_application.h"

#include <algorithm>
#include <filesystem>
#include <optional>

#include "host/access/design_reader.h"
#include "host/access/export_modules.h"
#include "host/access/macro_converter.h"
#include "host/error.h"
#include "host/export/export_database.h"
#include "host/jet/jet_database.h"
#include "util/vb_string.h"

namespace zanfor::host::access {

namespace {

[[noreturn]] void notOpen() { throw Error(err::kAccessClosed, "データベースが開かれていません。"); }

[[noreturn]] void notAvailable(std::string_view what) {
    throw Error(2046,
                "コマンドまたはアクション '" + std::string(what) + "' は、現在使用できません。");
}

// Any folder would open as an empty database (/etc): only one that holds what an export writes
// is a target.
std::shared_ptr<const exports::ExportFolder> openTargetFolder(const std::string& path) {
    auto folder = exports::ExportFolder::Open(path);
    const auto& f = *folder;
    if (f.forms().empty() && f.reports().empty() && f.macros().empty() && f.modules().empty() &&
        f.queries().empty() && f.tables().empty() && !f.propertiesFile()) {
        throw Error(err::kCannotOpenFile, "エクスポート フォルダー '" + path +
                                              "' が見つかりません。(エクスポートされた"
                                              "オブジェクトがありません)");
    }
    return folder;
}

std::string openKey(bool report, std::string_view name) {
    return (report ? "R:" : "F:") + util::UCase(name);
}

}  // namespace

void FileApplication::openCurrentDatabase(const std::string& path) {
    closeCurrentDatabase();
    namespace fs = std::filesystem;
    std::error_code ec;
    Decoded stamp{.path = path,
                  .written = fs::last_write_time(path, ec),
                  .folder = fs::is_directory(path, ec)};
    if (!stamp.folder)
        stamp.size = fs::file_size(path, ec);
    if (kept_ && kept_->path == stamp.path && kept_->written == stamp.written &&
        kept_->size == stamp.size && kept_->folder == stamp.folder) {
        current_ = std::move(kept_);
        kept_.reset();
        return;
    }
    kept_.reset();
    ++decodeCount_;
    if (stamp.folder) {
        auto folder = openTargetFolder(path);
        stamp.db = std::make_unique<exports::ExportDatabase>(folder);
        stamp.project =
            AccessProject::FromStorage({})->withExportedModules(ReadExportedModules(*folder));
        stamp.designs = std::make_shared<const ExportDesigns>(std::move(folder));
    } else {
        stamp.db = jet::JetEngine().openDatabase(path);
        stamp.project = AccessProject::ReadFile(path);
        if (const auto folder = ExportFolderFor(path))
            stamp.designs =
                std::make_shared<const ExportDesigns>(exports::ExportFolder::Open(*folder));
    }
    current_ = std::move(stamp);
}

void FileApplication::closeCurrentDatabase() {
    openObjects_.clear();
    openModules_.clear();
    if (current_)
        kept_ = std::move(current_);
    current_.reset();
}

const FileApplication::Decoded& FileApplication::current() const {
    if (!current_)
        notOpen();
    return *current_;
}

dao::Database& FileApplication::currentDb() { return *current().db; }

const AccessProject& FileApplication::project() const { return *current().project; }

DesignObject& FileApplication::open(bool report, const std::string& name) {
    const auto& p = project();
    const auto* designs = exportDesigns();
    std::unique_ptr<DesignObject> object;
    if (designs && (report ? designs->hasReport(name) : designs->hasForm(name))) {
        object = report ? designs->openReport(name, p) : designs->openForm(name, p);
    } else {
        const DesignEntry* entry = report ? p.report(name) : p.form(name);
        std::optional<DesignObject> stored;
        if (entry) {
            // Without an export of the object its design comes from the file itself; a design
            // that does not read is reported (30010, object and offset), never shown half-read.
            stored =
                ReadStoredDesign(p, report ? ObjectType::Report : ObjectType::Form, entry->name);
        }
        if (!stored) {
            throw Error(
                report ? 2103 : err::kNoSuchObject,
                std::string(report ? "レポート" : "フォーム") + " '" + name + "' は存在しません。");
        }
        object = std::make_unique<DesignObject>(std::move(*stored));
        if (entry->hasModule)
            object->module = report ? p.reportModule(entry->name) : p.formModule(entry->name);
    }
    auto& slot = openObjects_[openKey(report, object->name)];
    slot = std::move(object);
    return *slot;
}

DesignObject& FileApplication::openForm(const std::string& name, View) { return open(false, name); }

DesignObject& FileApplication::openReport(const std::string& name, View) {
    return open(true, name);
}

std::shared_ptr<const Module> FileApplication::documentModule(ObjectType type,
                                                              const std::string& name) {
    const bool report = type == ObjectType::Report;
    const auto* designs = exportDesigns();
    if (designs && (report ? designs->hasReport(name) : designs->hasForm(name)))
        return designs->documentModule(report, name, project());
    const auto& p = project();
    const DesignEntry* entry = report ? p.report(name) : p.form(name);
    if (!entry) {
        throw Error(
            report ? 2103 : err::kNoSuchObject,
            std::string(report ? "レポート" : "フォーム") + " '" + name + "' は存在しません。");
    }
    return report ? p.reportModule(entry->name) : p.formModule(entry->name);
}

const Module& FileApplication::openModule(const std::string& name) {
    auto module = project().module(name);
    if (!module)
        throw Error(2516, "モジュール '" + name + "' が見つかりません。");
    openModules_.push_back(module->name());
    return *module;
}

void FileApplication::close(ObjectType type, const std::string& name) {
    if (type == ObjectType::Form || type == ObjectType::Report) {
        openObjects_.erase(openKey(type == ObjectType::Report, name));
    } else if (type == ObjectType::Module) {
        std::erase_if(openModules_,
                      [&](const std::string& m) { return util::EqualsIgnoreCase(m, name); });
    }
}

MacroDefinition FileApplication::macroDefinition(const std::string& name) const {
    const auto& p = project();
    if (const auto* designs = exportDesigns(); designs && designs->hasMacro(name))
        return designs->macro(name);
    if (auto stored = ReadStoredMacro(p, name))
        return std::move(*stored);
    notAvailable("マクロの変換");
}

Module FileApplication::convertMacro(const std::string& macroName) {
    MacroDefinition design;
    try {
        design = macroDefinition(macroName);
    } catch (const Error& e) {
        if (e.number() != 2046)
            throw;
        throw Error(err::kProjectStorageDamaged,
                    "マクロ '" + macroName + "' のデザインがありません。");
    }
    return Module(std::string(kConvertedMacroPrefix) + macroName, ModuleType::Standard,
                  ConvertMacro(design));
}

std::unique_ptr<dao::Database> FileEngine::openDatabase(const std::string& path) {
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec))
        return std::make_unique<exports::ExportDatabase>(openTargetFolder(path));
    return jet::JetEngine().openDatabase(path);
}

std::vector<std::string> FileApplication::openObjectNames() const {
    std::vector<std::string> names;
    for (const auto& [key, object] : openObjects_)
        names.push_back(object->name);
    names.insert(names.end(), openModules_.begin(), openModules_.end());
    return names;
}

}  // namespace zanfor::host::access
