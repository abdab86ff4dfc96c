#pragma once

// What the Access project of an .mdb tells without Access: the code modules (standard, class,
// and the modules behind forms and reports), which forms and reports have one, and the control
// list of each form and report.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "host/access.h"
#include "host/access/storage_node.h"
#include "host/name_index.h"

namespace zanfor::host::jet {
class JetFile;
}

namespace zanfor::host::access {

struct ExportedModule;

struct ControlEntry {
    std::string name;
    int controlType = 0;  // Access's ControlType code
};

struct DesignEntry {
    std::string name;
    bool hasModule = false;
    std::vector<ControlEntry> controls;    // in the order Access enumerates them
    const StorageNode* storage = nullptr;  // the object's sub-storage (Blob, TypeInfo, ...)
};

class AccessProject {
public:
    // Host errors: 7866 for a Jet 3 file, 30010/30011 for a damaged project.
    static std::shared_ptr<const AccessProject> Read(const jet::JetFile& file);
    // The same for the file at `path`, with the errors of opening it too. When an export
    // folder `<path>.src` stands beside it, its modules win over the file's.
    static std::shared_ptr<const AccessProject> ReadFile(const std::string& path);
    // From a storage tree already read (tests, other sources).
    static std::shared_ptr<const AccessProject> FromStorage(StorageNode root);

    int codePage() const { return codePage_; }
    const StorageNode& root() const { return *root_; }

    // The standard and class modules, as the VBA project lists them.
    const std::vector<std::shared_ptr<const Module>>& modules() const { return modules_; }
    // Any module by its VBA name ("Form_受注" included); nullptr when absent.
    std::shared_ptr<const Module> module(std::string_view name) const;
    // The module behind a form or report; nullptr when it has none.
    std::shared_ptr<const Module> formModule(std::string_view formName) const;
    std::shared_ptr<const Module> reportModule(std::string_view reportName) const;

    const std::vector<DesignEntry>& forms() const { return forms_; }
    const std::vector<DesignEntry>& reports() const { return reports_; }
    const DesignEntry* form(std::string_view name) const;
    const DesignEntry* report(std::string_view name) const;

    // A copy whose modules are replaced, or added, by those of an export folder. Each exported
    // text is let go of once its module is made, so that a large project is never held twice.
    std::shared_ptr<const AccessProject> withExportedModules(
        std::vector<ExportedModule> exported) const;

private:
    std::shared_ptr<const Module> documentModule(std::string_view prefix,
                                                 std::string_view objectName) const;
    static std::shared_ptr<const Module> find(
        const std::vector<std::shared_ptr<const Module>>& modules, const NameIndex& index,
        std::string_view name);
    void indexModules();

    // Shared by the copies withExportedModules makes: the design entries point into it.
    std::shared_ptr<const StorageNode> root_ = std::make_shared<const StorageNode>();
    int codePage_ = 1252;
    std::vector<std::shared_ptr<const Module>> modules_;
    std::vector<std::shared_ptr<const Module>> documentModules_;
    std::vector<DesignEntry> forms_;
    std::vector<DesignEntry> reports_;
    NameIndex moduleIndex_;
    NameIndex documentIndex_;
};

// The name VBA code uses for the module of a form or report: the prefix and the object's name
// with every character that cannot stand in a VBA name replaced by "_".
std::string DocumentModuleName(std::string_view prefix, std::string_view objectName);

}  // namespace zanfor::host::access
