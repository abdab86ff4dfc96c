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

std::string openKey(bool report, std::string_view name) {
    return (report ? "R:" : "F:") + util::UCase(name);
}

}  // namespace

void FileApplication::openCurrentDatabase(const std::string& path) {
    closeCurrentDatabase();
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) {
        auto folder = exports::ExportFolder::Open(path);
        auto db = std::make_unique<exports::ExportDatabase>(folder);
        project_ = AccessProject::FromStorage({})->withExportedModules(ReadExportedModules(path));
        designs_ = std::make_shared<const ExportDesigns>(std::move(folder));
        db_ = std::move(db);
        return;
    }
    auto db = jet::JetEngine().openDatabase(path);
    project_ = AccessProject::ReadFile(path);
    if (const auto folder = ExportFolderFor(path))
        designs_ = std::make_shared<const ExportDesigns>(exports::ExportFolder::Open(*folder));
    db_ = std::move(db);
}

void FileApplication::closeCurrentDatabase() {
    openObjects_.clear();
    createdModules_.clear();
    openModules_.clear();
    selectedName_.clear();
    designs_.reset();
    project_.reset();
    db_.reset();
}

dao::Database& FileApplication::currentDb() {
    if (!db_)
        notOpen();
    return *db_;
}

const AccessProject& FileApplication::project() const {
    if (!project_)
        notOpen();
    return *project_;
}

DesignObject& FileApplication::open(bool report, const std::string& name) {
    const auto& p = project();
    std::unique_ptr<DesignObject> object;
    if (designs_ && (report ? designs_->hasReport(name) : designs_->hasForm(name))) {
        object = report ? designs_->openReport(name, p) : designs_->openForm(name, p);
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

const Module& FileApplication::openModule(const std::string& name) {
    for (const auto& m : createdModules_) {
        if (util::EqualsIgnoreCase(m->name(), name)) {
            openModules_.push_back(m->name());
            return *m;
        }
    }
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

void FileApplication::selectObject(ObjectType type, const std::string& name) {
    project();
    selectedType_ = type;
    selectedName_ = name;
}

MacroDefinition FileApplication::macroDefinition(const std::string& name) const {
    project();
    if (designs_ && designs_->hasMacro(name))
        return designs_->macro(name);
    if (auto stored = ReadStoredMacro(*project_, name))
        return std::move(*stored);
    notAvailable("マクロの変換");
}

void FileApplication::runCommand(int command) {
    project();
    if (command != kCmdConvertMacrosToVisualBasic || selectedType_ != ObjectType::Macro)
        notAvailable("RunCommand");
    const MacroDefinition macro = macroDefinition(selectedName_);
    const std::string moduleName = std::string(kConvertedMacroPrefix) + macro.name;
    std::erase_if(createdModules_,
                  [&](const auto& m) { return util::EqualsIgnoreCase(m->name(), moduleName); });
    createdModules_.push_back(
        std::make_shared<const Module>(moduleName, ModuleType::Standard, ConvertMacro(macro)));
}

void FileApplication::deleteObject(ObjectType type, const std::string& name) {
    const auto before = createdModules_.size();
    if (type == ObjectType::Module) {
        std::erase_if(createdModules_,
                      [&](const auto& m) { return util::EqualsIgnoreCase(m->name(), name); });
    }
    // Only what this instance created may go; the target itself is never changed.
    if (createdModules_.size() == before)
        notAvailable("DeleteObject");
}

std::unique_ptr<dao::Database> FileEngine::openDatabase(const std::string& path) {
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec))
        return std::make_unique<exports::ExportDatabase>(exports::ExportFolder::Open(path));
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
