#pragma once

// The Access side of a target: forms and reports opened in design view with their ordered
// Properties and Controls, code modules, macro conversion, and the DoCmd operations the program
// calls. Implementations read the Access project stored in the file or an export folder
// (host/access) or a target built in code (host/memory).

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "host/access/module_model.h"
#include "host/dao.h"
#include "host/properties.h"

namespace zanfor::host::access {

// Access's AcObjectType.
enum class ObjectType {
    Table = 0,
    Query = 1,
    Form = 2,
    Report = 3,
    Macro = 4,
    Module = 5,
    DataAccessPage = 6
};
// AcFormView / AcView values the program passes.
enum class View { Normal = 0, Design = 1, Preview = 2 };

// Access's AcModuleType.
enum class ModuleType { Standard = 0, Class = 1 };

// The module that Access's RunCommand 279 creates for a macro is named after it.
inline constexpr std::string_view kConvertedMacroPrefix = "変換するマクロ: ";

class Module {
public:
    Module(std::string name, ModuleType type, std::string_view text)
        : name_(std::move(name)), type_(type), model_(text) {}

    const std::string& name() const { return name_; }
    ModuleType type() const { return type_; }
    const ModuleModel& model() const { return model_; }

private:
    std::string name_;
    ModuleType type_;
    ModuleModel model_;
};

// Whether `names` holds `name`, compared without regard to case as property names are.
bool IsListed(const std::vector<std::string>& names, std::string_view name);

// A control of a form or report: its Properties in the order Access enumerates them (the
// program reads some by index), among them Name and ControlType.
struct Control {
    Properties properties;
    // The name of what holds it: the control it sits in (an option group, a tab page, the text
    // box a label is attached to) or else its section. Empty when the source does not tell.
    std::string parent;
    // Properties whose value the source does not tell (see DesignObject::unknown).
    std::vector<std::string> unknown{};
    // The bytes of its PictureData (an embedded picture), empty when it has none. Kept apart
    // from `properties`, which hold no binary values.
    std::string pictureData{};

    std::string name() const { return properties.get("Name").toText(); }
    bool isUnknown(std::string_view property) const { return IsListed(unknown, property); }
    int controlType() const { return static_cast<int>(properties.get("ControlType").toInteger()); }
};

struct GroupLevel {
    Value controlSource;
    Value sortOrder;
    Value groupHeader;
    Value groupFooter;
    Value groupOn;
    Value groupInterval;
    Value keepTogether;
};

// A form or report as Access shows it in design view.
class DesignObject {
public:
    ObjectType kind = ObjectType::Form;
    std::string name;
    Properties properties;
    std::vector<Control> controls;     // the Controls collection: every control, in Access's order
    std::vector<Properties> sections;  // in the order of the design, when the source has them
    // Access's number of each entry of `sections` (acDetail 0, acHeader 1, acFooter 2, ...),
    // which a control's Section property names.
    std::vector<int> sectionNumbers;
    std::vector<GroupLevel> groupLevels;
    std::shared_ptr<const Module> module;  // the code behind it, when it has one
    // Properties whose value the source does not tell: a design stored in the file holds
    // entries whose tags no table names, and the property, named by no tag, is stored as one of
    // that kind. Its entry in `properties` then holds only the default. Designs from an export
    // name every property they store and leave this empty.
    std::vector<std::string> unknown{};
    // The bytes of its PictureData (the background picture), empty when it has none; see
    // Control::pictureData.
    std::string pictureData{};

    bool hasModule() const { return module != nullptr; }
    bool isUnknown(std::string_view property) const { return IsListed(unknown, property); }
    // Access raised an error for a level the report does not have (error 2464).
    const GroupLevel& groupLevel(int index) const;
};

// An Access application instance that has a database open as its current database.
class Application {
public:
    virtual ~Application() = default;

    virtual void openCurrentDatabase(const std::string& path) = 0;
    // Host error 2467 when this instance has been released.
    virtual void closeCurrentDatabase() = 0;
    // DBEngine.Workspaces(0).Databases(0): the current database through DAO.
    virtual dao::Database& currentDb() = 0;

    virtual void setVisible(bool visible) = 0;
    virtual bool visible() const = 0;

    // DoCmd.OpenForm / OpenReport followed by Forms(name) / Reports(name). The returned object
    // stays valid until the object is closed.
    virtual DesignObject& openForm(const std::string& name, View view) = 0;
    virtual DesignObject& openReport(const std::string& name, View view) = 0;
    // DoCmd.OpenModule followed by Modules(name).
    virtual const Module& openModule(const std::string& name) = 0;
    // DoCmd.Close with "do not save": a design is never changed.
    virtual void close(ObjectType type, const std::string& name) = 0;
    // The code behind a form or report (its Module), null when it has none. Access answers
    // this from the VBA project, which names every document module, so an object whose design
    // does not read still shows its code. This default asks the design.
    virtual std::shared_ptr<const Module> documentModule(ObjectType type, const std::string& name);
    // RunCommand 279 on a macro: the module Access's conversion writes for it, named
    // kConvertedMacroPrefix followed by the macro's name. The module is handed over and never
    // added to the target, so there is nothing to close or delete afterwards. Host error 2046
    // (the command is not available) where the application cannot convert macros.
    virtual Module convertMacro(const std::string& macroName);

    virtual void minimize() {}
    virtual void maximize() {}
};

// Creates Access instances: Access.Application.
class ApplicationFactory {
public:
    virtual ~ApplicationFactory() = default;
    virtual std::unique_ptr<Application> createApplication() = 0;
};

}  // namespace zanfor::host::access
