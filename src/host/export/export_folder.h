#pragma once

// The layout of an object export folder: which file holds which object. Folder names are
// matched without regard to case, so every layout in use is accepted:
//
//   forms/    form designs      *.bas (SaveAsText), *.form, *.accfrm; code in a *.cls beside
//   reports/  report designs    *.bas, *.report, *.accrpt
//   macros/   macros            *.bas, *.macro, *.accmac      (also "macro/", "scripts/")
//   modules/  modules           *.bas standard, *.cls class   (also "module/")
//   queries/  saved queries     *.qdef, *.bas (Access's text), else *.sql with a *.json beside
//   tbldefs/  table definitions *.xml (Access's schema), else *.sql (DDL), *.json and *.lnkd
//                               links                         (also "tbldef/", "tabledefs/")
//   imexspecs/ import/export definitions (*.json)
//   relations/ relationships (*.json, *.txt)
//   dbs-properties.json, properties.txt or Project.accprj: the database's properties
//
// One object per name: where several files share a name, the first extension of the lists
// above is the object's file and the others are its companions.

#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/name_index.h"

namespace zanfor::host::exports {

struct ExportObject {
    std::string name;
    std::filesystem::path file;
    std::vector<std::filesystem::path> companions;

    // The companion with that extension (".cls", ".json"; compared without regard to case).
    std::optional<std::filesystem::path> companion(std::string_view extension) const;
};

class ExportFolder {
public:
    // Host error 3024 when `folder` is not a folder.
    static std::shared_ptr<const ExportFolder> Open(const std::filesystem::path& folder);

    const std::filesystem::path& root() const { return root_; }
    // The code page of files that are not UTF-8 and carry no hint of their own (macros,
    // queries): the hint of the first form or report that has one, else 932. Found the first
    // time it is asked for, which a folder written in UTF-8 never does: finding it reads
    // every design.
    int codePage() const;
    // An export file's text, as ReadExportFile reads it with this folder's code page.
    std::string read(const std::filesystem::path& file) const;

    const std::vector<ExportObject>& forms() const { return forms_; }
    const std::vector<ExportObject>& reports() const { return reports_; }
    const std::vector<ExportObject>& macros() const { return macros_; }
    const std::vector<ExportObject>& modules() const { return modules_; }
    const std::vector<ExportObject>& queries() const { return queries_; }
    const std::vector<ExportObject>& tables() const { return tables_; }
    const std::vector<std::filesystem::path>& importExportFiles() const {
        return importExportFiles_;
    }
    const std::vector<std::filesystem::path>& relationFiles() const { return relationFiles_; }
    const std::optional<std::filesystem::path>& propertiesFile() const { return propertiesFile_; }

    // The form, report or macro of that name (compared without regard to case), or nullptr.
    const ExportObject* form(std::string_view name) const;
    const ExportObject* report(std::string_view name) const;
    const ExportObject* macro(std::string_view name) const;

private:
    std::filesystem::path root_;
    mutable std::once_flag codePageFound_;
    mutable int codePage_ = 932;
    std::vector<ExportObject> forms_;
    std::vector<ExportObject> reports_;
    std::vector<ExportObject> macros_;
    std::vector<ExportObject> modules_;
    std::vector<ExportObject> queries_;
    std::vector<ExportObject> tables_;
    std::vector<std::filesystem::path> importExportFiles_;
    std::vector<std::filesystem::path> relationFiles_;
    std::optional<std::filesystem::path> propertiesFile_;
    NameIndex formIndex_;
    NameIndex reportIndex_;
    NameIndex macroIndex_;
};

}  // namespace zanfor::host::exports
