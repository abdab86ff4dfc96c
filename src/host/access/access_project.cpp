#include "host/access/access_project.h"

#include <unordered_map>

#include "host/access/design_directory.h"
#include "host/access/export_modules.h"
#include "host/access/ovba.h"
#include "host/access/project_storage.h"
#include "host/error.h"
#include "host/jet/mdb_file.h"
#include "util/byte_order.h"
#include "util/encoding.h"
#include "util/vb_string.h"

namespace zanfor::host::access {

namespace {

constexpr std::uint32_t kTypeInfoSignature = 0xACCDEAF7;
constexpr int kFirstControlClass = 0x64;  // Label
constexpr int kLastControlClass = 0x7C;   // Page
constexpr std::uint32_t kHasModuleKey = 1;

bool readHasModule(const StorageNode* propData) {
    if (!propData)
        return false;
    const std::string_view d = propData->data;
    for (std::size_t at = 4; at + 9 <= d.size(); at += 9) {
        if (static_cast<unsigned char>(d[at]) != 2)
            break;
        if (util::ReadLe32(d, at + 1) == kHasModuleKey)
            return util::ReadLe32(d, at + 5) == 1;
    }
    return false;
}

// TypeInfo: a header, then {u16 type, u16 0, u32 index, identifier NUL, name NUL} per entry,
// ANSI in the project's code page. Sections and non-control entries are skipped.
std::vector<ControlEntry> readTypeInfo(const StorageNode* typeInfo, int codePage) {
    std::vector<ControlEntry> controls;
    if (!typeInfo || typeInfo->data.size() < 0x20)
        return controls;
    const std::string_view d = typeInfo->data;
    if (util::ReadLe32(d, 0) != kTypeInfoSignature)
        return controls;
    const std::size_t count = util::ReadLe32(d, 0x0C);
    std::size_t at = 0x20;
    for (std::size_t i = 0; i < count && at + 8 <= d.size(); ++i) {
        const int cls = util::ReadLe16(d, at) & 0xFF;
        at += 8;
        auto text = [&]() {
            const auto end = d.find('\0', at);
            const std::size_t stop = end == std::string_view::npos ? d.size() : end;
            const auto s = d.substr(at, stop - at);
            at = stop + 1;
            return util::DecodeCodePage(s, codePage);
        };
        const std::string identifier = text();
        const std::string name = text();
        if (cls >= kFirstControlClass && cls <= kLastControlClass) {
            controls.push_back({name.empty() ? identifier : name, cls});
        }
    }
    return controls;
}

std::vector<DesignEntry> readDesigns(const StorageNode& root, std::string_view container,
                                     int codePage) {
    std::vector<DesignEntry> designs;
    const StorageNode* storage = root.child(container);
    if (!storage)
        return designs;
    const StorageNode* dir = ContainerStream(*storage, "DirData");
    if (!dir)
        return designs;
    for (auto& [name, number] : ReadDirData(dir->data)) {
        DesignEntry e;
        e.name = std::move(name);
        e.storage = storage->child(std::to_string(number));
        if (e.storage) {
            e.hasModule = readHasModule(ContainerStream(*e.storage, "PropData"));
            e.controls = readTypeInfo(ContainerStream(*e.storage, "TypeInfo"), codePage);
        }
        designs.push_back(std::move(e));
    }
    return designs;
}

bool isVbaNameCharacter(char32_t c) {
    return c == '_' || (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
           c >= 0x80;
}

}  // namespace

std::string DocumentModuleName(std::string_view prefix, std::string_view objectName) {
    std::string name(prefix);
    for (std::size_t i = 0; i < objectName.size();) {
        const std::size_t length = util::Utf8CharLength(objectName, i);
        const auto c = static_cast<unsigned char>(objectName[i]);
        if (length == 1 && !isVbaNameCharacter(c)) {
            name += '_';
        } else {
            name.append(objectName.substr(i, length));
        }
        i += length;
    }
    return name;
}

std::shared_ptr<const AccessProject> AccessProject::Read(const jet::JetFile& file) {
    return FromStorage(ReadAccessProject(file));
}

std::shared_ptr<const AccessProject> AccessProject::ReadFile(const std::string& path) {
    auto project = Read(jet::JetFile(path));
    if (const auto folder = ExportFolderFor(path)) {
        return project->withExportedModules(
            ReadExportedModules(*exports::ExportFolder::Open(*folder)));
    }
    return project;
}

namespace {

// A module list replaced into by name, without a walk over the list for each module.
class ModuleList {
public:
    explicit ModuleList(std::vector<std::shared_ptr<const Module>>& list) : list_(list) {
        for (std::size_t i = 0; i < list.size(); ++i)
            byHash_[util::HashIgnoreCase(list[i]->name())].push_back(i);
    }

    // The first module of that name gives way to `module`; without one it is added.
    void put(std::shared_ptr<const Module> module) {
        auto& positions = byHash_[util::HashIgnoreCase(module->name())];
        for (const std::size_t i : positions) {
            if (util::EqualsIgnoreCase(list_[i]->name(), module->name())) {
                list_[i] = std::move(module);
                return;
            }
        }
        positions.push_back(list_.size());
        list_.push_back(std::move(module));
    }

private:
    std::vector<std::shared_ptr<const Module>>& list_;
    std::unordered_map<std::uint32_t, std::vector<std::size_t>> byHash_;
};

NameIndex indexOf(const std::vector<std::shared_ptr<const Module>>& modules) {
    return NameIndex(modules.size(),
                     [&](std::size_t i) { return std::string_view(modules[i]->name()); });
}

}  // namespace

std::shared_ptr<const AccessProject> AccessProject::withExportedModules(
    std::vector<ExportedModule> exported) const {
    auto copy = std::make_shared<AccessProject>(*this);
    ModuleList modules(copy->modules_);
    ModuleList documentModules(copy->documentModules_);
    for (auto& e : exported) {
        const bool document = e.kind == ExportedKind::Form || e.kind == ExportedKind::Report;
        auto module = std::make_shared<const Module>(
            e.name, e.kind == ExportedKind::Standard ? ModuleType::Standard : ModuleType::Class,
            e.text);
        std::string().swap(e.text);
        (document ? documentModules : modules).put(std::move(module));
        if (!document)
            continue;
        auto& designs = e.kind == ExportedKind::Form ? copy->forms_ : copy->reports_;
        for (auto& d : designs) {
            if (util::EqualsIgnoreCase(d.name, e.objectName))
                d.hasModule = true;
        }
    }
    copy->indexModules();
    return copy;
}

void AccessProject::indexModules() {
    moduleIndex_ = indexOf(modules_);
    documentIndex_ = indexOf(documentModules_);
}

std::shared_ptr<const AccessProject> AccessProject::FromStorage(StorageNode root) {
    auto project = std::make_shared<AccessProject>();
    project->root_ = std::make_shared<const StorageNode>(std::move(root));
    if (const StorageNode* vba = project->root_->find("VBA/VBAProject/VBA")) {
        const VbaProjectInfo info = ReadVbaProject(*vba);
        project->codePage_ = info.codePage;
        for (const auto& m : info.modules) {
            auto module = std::make_shared<const Module>(
                m.name, m.procedural ? ModuleType::Standard : ModuleType::Class, m.source);
            const bool document =
                !m.procedural && (m.name.rfind("Form_", 0) == 0 || m.name.rfind("Report_", 0) == 0);
            (document ? project->documentModules_ : project->modules_).push_back(std::move(module));
        }
    }
    project->forms_ = readDesigns(*project->root_, "Forms", project->codePage_);
    project->reports_ = readDesigns(*project->root_, "Reports", project->codePage_);
    project->indexModules();
    return project;
}

std::shared_ptr<const Module> AccessProject::module(std::string_view name) const {
    if (auto found = find(modules_, moduleIndex_, name))
        return found;
    return find(documentModules_, documentIndex_, name);
}

std::shared_ptr<const Module> AccessProject::find(
    const std::vector<std::shared_ptr<const Module>>& modules, const NameIndex& index,
    std::string_view name) {
    const std::size_t i =
        index.find(name, [&](std::size_t k) { return std::string_view(modules[k]->name()); });
    return i == NameIndex::npos ? nullptr : modules[i];
}

std::shared_ptr<const Module> AccessProject::documentModule(std::string_view prefix,
                                                            std::string_view objectName) const {
    // The project keeps the object's name as it is ("Form_Sales Reports Dialog"); the name
    // code uses for it has its blanks and symbols replaced.
    const std::string exact = std::string(prefix) + std::string(objectName);
    if (auto found = find(documentModules_, documentIndex_, exact))
        return found;
    return find(documentModules_, documentIndex_, DocumentModuleName(prefix, objectName));
}

std::shared_ptr<const Module> AccessProject::formModule(std::string_view formName) const {
    return documentModule("Form_", formName);
}

std::shared_ptr<const Module> AccessProject::reportModule(std::string_view reportName) const {
    return documentModule("Report_", reportName);
}

const DesignEntry* AccessProject::form(std::string_view name) const {
    for (const auto& f : forms_) {
        if (util::EqualsIgnoreCase(f.name, name))
            return &f;
    }
    return nullptr;
}

const DesignEntry* AccessProject::report(std::string_view name) const {
    for (const auto& r : reports_) {
        if (util::EqualsIgnoreCase(r.name, name))
            return &r;
    }
    return nullptr;
}

}  // namespace zanfor::host::access
