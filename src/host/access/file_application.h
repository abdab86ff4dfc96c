#pragma once

// The Access-like application over real files. The current database is either an .mdb (its DAO
// side read by host/jet, its Access project for modules and the stored form, report and macro
// designs) or an object export folder given as the target, which is then a complete target
// (host/export). An export folder beside an .mdb (`<file>.src`) wins object by object: its
// forms, reports and macros are the designs opened, its modules replace the file's; the others
// come from the file. Nothing is ever written to the target.

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/access.h"
#include "host/access/access_project.h"
#include "host/access/export_designs.h"
#include "host/access/macro_definition.h"

namespace zanfor::host::access {

class FileApplication : public Application {
public:
    // Host errors of opening an .mdb: those of JetEngine, 7866 for an Access 97 (Jet 3) file,
    // whose project Access 2000 could not open either, 30010/30011 for a damaged project; of a
    // folder: 3024 when it is not there.
    void openCurrentDatabase(const std::string& path) override;
    void closeCurrentDatabase() override;
    dao::Database& currentDb() override;
    void setVisible(bool visible) override { visible_ = visible; }
    bool visible() const override { return visible_; }
    // Host errors: 2102 / 2103 for a form / report the target does not have, 30010 naming the
    // object and the offset for a stored design that does not read.
    DesignObject& openForm(const std::string& name, View view) override;
    DesignObject& openReport(const std::string& name, View view) override;
    const Module& openModule(const std::string& name) override;
    void close(ObjectType type, const std::string& name) override;
    // From the project alone for a stored design; an exported object's code may live in its
    // design text, so that one is asked of the design.
    std::shared_ptr<const Module> documentModule(ObjectType type, const std::string& name) override;

    const AccessProject& project() const;
    // The export folder's designs, or nullptr when the target has none.
    const ExportDesigns* exportDesigns() const {
        return current_ ? current_->designs.get() : nullptr;
    }
    // The design of a macro: the export folder's when it has one, else the one the .mdb
    // stores. Host errors as ExportDesigns::macro, 30010 (macro and offset) for a stored sheet
    // that does not read, 2046 when neither holds it.
    MacroDefinition macroDefinition(const std::string& name) const;
    // The conversion of that design. A name with no design is no macro of this target: host
    // error 30010 naming it, as for a design that does not read.
    Module convertMacro(const std::string& macroName) override;
    // The objects and modules open now, for checks that everything was closed.
    std::vector<std::string> openObjectNames() const;
    // How many times a file or folder was decoded, for checks that a run decodes it once.
    int decodeCount() const { return decodeCount_; }

private:
    // What opening a target decodes. Closing keeps it, so the collectors of a run that make the
    // target current again (each code reader does) find it decoded, as long as the file is
    // unchanged.
    struct Decoded {
        std::string path{};
        std::filesystem::file_time_type written{};
        std::uintmax_t size = 0;
        bool folder = false;
        std::unique_ptr<dao::Database> db{};
        std::shared_ptr<const AccessProject> project{};
        std::shared_ptr<const ExportDesigns> designs{};
    };

    DesignObject& open(bool report, const std::string& name);
    const Decoded& current() const;

    std::optional<Decoded> current_;
    std::optional<Decoded> kept_;
    int decodeCount_ = 0;
    bool visible_ = false;
    std::map<std::string, std::unique_ptr<DesignObject>> openObjects_;
    std::vector<std::string> openModules_;
};

// DAO's workspace over targets as the program opens them: an object export folder as a complete
// target, anything else as an .mdb file.
class FileEngine : public dao::Engine {
public:
    std::unique_ptr<dao::Database> openDatabase(const std::string& path) override;
};

class FileApplicationFactory : public ApplicationFactory {
public:
    std::unique_ptr<Application> createApplication() override {
        return std::make_unique<FileApplication>();
    }
};

}  // namespace zanfor::host::access
