#pragma once

// The Access side of an object export folder: forms and reports opened in design view, and the
// macros to convert. A design object's Properties come from the property schema with the values
// the export stores, its Controls in the order of the text (depth first: a control, then the
// controls it holds), each control's parent recorded; a report's grouping levels come from its
// "Begin BreakLevel" blocks.

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

#include "host/access.h"
#include "host/access/macro_definition.h"
#include "host/export/design_text.h"
#include "host/export/export_folder.h"

namespace zanfor::host::access {

class AccessProject;

class ExportDesigns {
public:
    explicit ExportDesigns(std::shared_ptr<const exports::ExportFolder> folder);

    const exports::ExportFolder& folder() const { return *folder_; }

    bool hasForm(std::string_view name) const;
    bool hasReport(std::string_view name) const;
    bool hasMacro(std::string_view name) const;

    // A fresh object each time, so what a reader changes on it never reaches the next open.
    // `project` gives the code behind the object; it is the same project at every call.
    // Host errors: 2102 / 2103 for a form / report the export does not have,
    // err::kExportMalformed (file and line) for one it cannot read.
    std::unique_ptr<DesignObject> openForm(std::string_view name,
                                           const AccessProject& project) const;
    std::unique_ptr<DesignObject> openReport(std::string_view name,
                                             const AccessProject& project) const;

    // The code behind a form or report without building its design (null when it has none).
    // Host errors as openForm / openReport.
    std::shared_ptr<const Module> documentModule(bool report, std::string_view name,
                                                 const AccessProject& project) const;

    // Host errors: 2102 for a macro the export does not have, err::kExportMalformed.
    MacroDefinition macro(std::string_view name) const;

private:
    const exports::ExportObject& find(bool report, std::string_view name) const;
    std::shared_ptr<const Module> moduleOf(bool report, const exports::ExportObject& object,
                                           const exports::DesignText& d,
                                           const AccessProject& project) const;
    std::unique_ptr<DesignObject> open(bool report, std::string_view name,
                                       const AccessProject& project) const;
    exports::DesignText read(const exports::ExportObject& object) const;
    std::shared_ptr<const Module> codeOf(bool report, const exports::ExportObject& object,
                                         const exports::DesignText& d,
                                         const AccessProject& project) const;

    std::shared_ptr<const exports::ExportFolder> folder_;
    // The code behind each object found so far (null for none), by its entry in the folder.
    mutable std::unordered_map<const exports::ExportObject*, std::shared_ptr<const Module>> code_;
};

// The design-view object of a design read from text. `hasModule` and `module` are the code
// behind it (the caller knows where that lives).
DesignObject BuildDesignObject(const exports::DesignText& design, std::string name,
                               std::shared_ptr<const Module> module, bool hasModule);

}  // namespace zanfor::host::access
