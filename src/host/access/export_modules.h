#pragma once

// The code modules of an object export folder: the text form Access (or an export tool) writes
// for each module, form and report. Read so that a module in the export wins over the same
// module in the file.
//
// Accepted layouts: "modules/" (or "Module/") with *.bas standard and *.cls class modules;
// "forms/" and "reports/" (or "Form/", "Report/") with the code behind an object either in a
// *.cls beside its design file or after the "CodeBehindForm" line of the design file itself
// (*.bas, *.form, *.report, *.accfrm, *.accrpt).

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "host/access.h"
#include "host/export/export_folder.h"

namespace zanfor::host::access {

enum class ExportedKind { Standard, Class, Form, Report };

struct ExportedModule {
    ExportedKind kind = ExportedKind::Standard;
    std::string name;        // the VBA module name ("Form_受注" for a form's code)
    std::string objectName;  // the form or report it belongs to
    std::string text;        // as the editor shows it: no header block, no "Attribute VB_" lines
};

// `<target>.src` beside the target when that folder exists.
std::optional<std::filesystem::path> ExportFolderFor(const std::filesystem::path& target);

// The object's name from its file's name: the stem, with the %XX escapes export tools write for
// characters a file name cannot hold decoded.
std::string ExportedObjectName(const std::filesystem::path& file);

// Files that cannot be read are skipped; text is UTF-8 (with or without BOM) or in the folder's
// code page (exports::ExportFolder::read).
std::vector<ExportedModule> ReadExportedModules(const exports::ExportFolder& folder);

// The name of "Attribute VB_Name = "X"" in a module file's text, when it declares one.
std::optional<std::string> DeclaredModuleName(std::string_view text);

// The module text of an exported file's contents: the class header (VERSION ... BEGIN ... END)
// and the leading "Attribute VB_" lines removed.
std::string ModuleTextOf(std::string_view exported);

}  // namespace zanfor::host::access
