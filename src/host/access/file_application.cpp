#include "host/access/file_application.h"

#include "host/error.h"
#include "host/jet/jet_database.h"
#include "util/vb_string.h"

namespace zanfor::host::access {

namespace {
[[noreturn]] void notOpen() { throw Error(err::kAccessClosed, "データベースが開かれていません。"); }
}  // namespace

void FileApplication::openCurrentDatabase(const std::string& path) {
    closeCurrentDatabase();
    auto db = jet::JetEngine().openDatabase(path);
    project_ = AccessProject::ReadFile(path);
    db_ = std::move(db);
}

void FileApplication::closeCurrentDatabase() {
    openObjects_.clear();
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
    const DesignEntry* entry = report ? p.report(name) : p.form(name);
    if (!entry) {
        throw Error(
            report ? 2103 : err::kNoSuchObject,
            std::string(report ? "レポート" : "フォーム") + " '" + name + "' は存在しません。");
    }
    auto object = std::make_unique<DesignObject>();
    object->kind = report ? ObjectType::Report : ObjectType::Form;
    object->name = entry->name;
    object->properties.put("Name", entry->name);
    object->properties.put("HasModule", entry->hasModule);
    for (const auto& c : entry->controls) {
        Control control;
        control.properties.put("Name", c.name);
        control.properties.put("ControlType", c.controlType);
        object->controls.push_back(std::move(control));
    }
    if (entry->hasModule)
        object->module = report ? p.reportModule(name) : p.formModule(name);
    auto& slot = openObjects_[(report ? "R:" : "F:") + util::UCase(entry->name)];
    slot = std::move(object);
    return *slot;
}

DesignObject& FileApplication::openForm(const std::string& name, View) { return open(false, name); }

DesignObject& FileApplication::openReport(const std::string& name, View) {
    return open(true, name);
}

const Module& FileApplication::openModule(const std::string& name) {
    auto module = project().module(name);
    if (!module)
        throw Error(2516, "モジュール '" + name + "' が見つかりません。");
    return *module;
}

void FileApplication::close(ObjectType type, const std::string& name) {
    if (type == ObjectType::Form || type == ObjectType::Report) {
        openObjects_.erase((type == ObjectType::Report ? "R:" : "F:") + util::UCase(name));
    }
}

void FileApplication::selectObject(ObjectType, const std::string&) { project(); }

void FileApplication::runCommand(int) {
    throw Error(2046, "コマンドまたはアクション 'RunCommand' は、現在使用できません。");
}

void FileApplication::deleteObject(ObjectType, const std::string&) {
    throw Error(2046, "コマンドまたはアクション 'DeleteObject' は、現在使用できません。");
}

}  // namespace zanfor::host::access
