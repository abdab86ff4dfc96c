#include "host/access/export_designs.h"

#include <charconv>
#include <optional>
#include <utility>
#include <vector>

#include "host/access/access_project.h"
#include "host/access/export_modules.h"
#include "host/access/property_schema.h"
#include "host/error.h"
#include "host/export/macro_text.h"
#include "host/export/saved_text.h"
#include "util/vb_string.h"

namespace zanfor::host::access {

namespace {

using exports::DesignText;
using exports::SavedProperty;
using exports::SavedValue;
using Stored = std::vector<std::pair<std::string, Value>>;

// Access's section numbers (AcSection): detail 0, form or report header 1 and footer 2, page
// header 3 and footer 4, then a header and a footer number for each grouping level.
constexpr int kFirstGroupSection = 5;

std::optional<Value> numberValue(std::string_view text) {
    std::int64_t n = 0;
    if (const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
        ec == std::errc() && end == text.data() + text.size())
        return Value(n);
    double d = 0;
    if (const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), d);
        ec == std::errc() && end == text.data() + text.size())
        return Value(d);
    return std::nullopt;
}

// A value as the schema's BuildProperties expects it: "NotDefault" left for it to resolve
// against the default, a number stored for a yes/no property turned into yes/no (later
// versions write some of them as 0 / -1).
std::optional<Value> storedValue(const SavedProperty& p, std::string_view kind,
                                 DesignContext context) {
    const PropertySpec* entry = FindPropertySpec(kind, context, p.name);
    switch (p.value.kind) {
        case SavedValue::Kind::Binary:
            return std::nullopt;
        case SavedValue::Kind::Text:
            return Value(p.value.text);
        case SavedValue::Kind::NotDefault:
            return entry ? Value("NotDefault") : Value(true);
        case SavedValue::Kind::Number:
            break;
    }
    std::optional<Value> n = numberValue(p.value.text);
    if (!n)
        return Value(p.value.text);
    if (entry && entry->defaultValue.kind() == Value::Kind::Bool)
        return Value(n->toDouble() != 0);
    return n;
}

void addStored(Stored& stored, const std::vector<SavedProperty>& props, std::string_view kind,
               DesignContext context) {
    for (const auto& p : props) {
        if (auto v = storedValue(p, kind, context))
            stored.emplace_back(p.name, std::move(*v));
    }
}

bool flagOf(const std::vector<SavedProperty>& props, std::string_view name) {
    for (auto it = props.rbegin(); it != props.rend(); ++it) {
        if (!util::EqualsIgnoreCase(it->name, name))
            continue;
        if (it->value.kind == SavedValue::Kind::NotDefault)
            return true;
        const auto n = numberValue(it->value.text);
        return n ? n->toDouble() != 0 : util::EqualsIgnoreCase(it->value.text, "True");
    }
    return false;
}

Value numberOf(const std::vector<SavedProperty>& props, std::string_view name,
               std::int64_t fallback) {
    for (auto it = props.rbegin(); it != props.rend(); ++it) {
        if (util::EqualsIgnoreCase(it->name, name)) {
            if (auto n = numberValue(it->value.text))
                return *n;
        }
    }
    return fallback;
}

// A picture embedded without the path it came from: Access shows a Picture setting, which
// the text does not hold.
std::vector<std::string> unknownOf(const std::vector<SavedProperty>& props) {
    bool data = false;
    bool path = false;
    for (const auto& p : props) {
        data |= util::EqualsIgnoreCase(p.name, "PictureData") &&
                p.value.kind == SavedValue::Kind::Binary;
        path |= util::EqualsIgnoreCase(p.name, "Picture");
    }
    if (data && !path)
        return {"Picture"};
    return {};
}

// The bytes of the embedded picture; the last one written wins, as with any property.
std::string pictureDataOf(const std::vector<SavedProperty>& props) {
    for (auto it = props.rbegin(); it != props.rend(); ++it) {
        if (util::EqualsIgnoreCase(it->name, "PictureData"))
            return it->value.bytes;
    }
    return {};
}

GroupLevel groupLevelOf(const std::vector<SavedProperty>& props) {
    GroupLevel level;
    std::string source;
    for (const auto& p : props) {
        if (util::EqualsIgnoreCase(p.name, "ControlSource"))
            source = p.value.text;
    }
    level.controlSource = source;
    level.sortOrder = flagOf(props, "SortOrder");
    level.groupHeader = flagOf(props, "GroupHeader");
    level.groupFooter = flagOf(props, "GroupFooter");
    level.groupOn = numberOf(props, "GroupOn", 0);
    level.groupInterval = numberOf(props, "GroupInterval", 1);
    level.keepTogether = numberOf(props, "KeepTogether", 0);
    return level;
}

// The section number of each section: group headers and footers belong, in order, to the
// levels that have one.
std::vector<int> sectionNumbers(const DesignText& design) {
    std::vector<int> headerLevels;
    std::vector<int> footerLevels;
    for (std::size_t k = 0; k < design.groupLevels.size(); ++k) {
        if (flagOf(design.groupLevels[k], "GroupHeader"))
            headerLevels.push_back(static_cast<int>(k));
        if (flagOf(design.groupLevels[k], "GroupFooter"))
            footerLevels.push_back(static_cast<int>(k));
    }
    std::size_t headers = 0;
    std::size_t footers = 0;
    std::vector<int> numbers;
    for (const auto& s : design.sections) {
        int number = 0;
        if (s.kind == "FormHeader") {
            number = 1;
        } else if (s.kind == "FormFooter") {
            number = 2;
        } else if (s.kind == "PageHeader") {
            number = 3;
        } else if (s.kind == "PageFooter") {
            number = 4;
        } else if (s.kind == "BreakHeader") {
            const int level =
                headers < headerLevels.size() ? headerLevels[headers] : static_cast<int>(headers);
            ++headers;
            number = kFirstGroupSection + 2 * level;
        } else if (s.kind == "BreakFooter") {
            const int level =
                footers < footerLevels.size() ? footerLevels[footers] : static_cast<int>(footers);
            ++footers;
            number = kFirstGroupSection + 2 * level + 1;
        }
        numbers.push_back(number);
    }
    return numbers;
}

bool isGroupMemberType(std::string_view typeName) {
    return typeName == "CheckBox" || typeName == "OptionButton" || typeName == "ToggleButton";
}

[[noreturn]] void noSuchObject(int number, std::string_view kind, std::string_view name) {
    throw Error(number, std::string(kind) + " '" + std::string(name) + "' は存在しません。");
}

}  // namespace

DesignObject BuildDesignObject(const DesignText& design, std::string name,
                               std::shared_ptr<const Module> module, bool hasModule) {
    DesignObject o;
    o.kind = design.report ? ObjectType::Report : ObjectType::Form;
    o.name = std::move(name);
    const std::string_view objectKind = design.report ? "Report" : "Form";
    const DesignContext objectContext{design.report, false};
    Stored stored{{"Name", o.name}};
    addStored(stored, design.properties, objectKind, objectContext);
    stored.emplace_back("HasModule", hasModule);
    o.properties = BuildProperties(objectKind, objectContext, stored);
    o.unknown = unknownOf(design.properties);
    o.pictureData = pictureDataOf(design.properties);
    o.module = std::move(module);

    const std::vector<int> numbers = sectionNumbers(design);
    o.sectionNumbers = numbers;
    for (const auto& s : design.sections) {
        Stored sectionStored;
        addStored(sectionStored, s.properties, "Section", objectContext);
        o.sections.push_back(BuildProperties("Section", objectContext, sectionStored));
    }
    for (const auto& c : design.controls) {
        const bool grouped =
            c.parent >= 0 &&
            design.controls[static_cast<std::size_t>(c.parent)].typeName == "OptionGroup" &&
            isGroupMemberType(c.typeName);
        const DesignContext context{design.report, grouped};
        Stored controlStored{{"ControlType", c.controlType}};
        addStored(controlStored, c.properties, c.typeName, context);
        if (c.section >= 0)
            controlStored.emplace_back("Section", numbers[static_cast<std::size_t>(c.section)]);
        Control control;
        control.properties = BuildProperties(c.typeName, context, controlStored);
        control.unknown = unknownOf(c.properties);
        control.pictureData = pictureDataOf(c.properties);
        if (c.parent >= 0)
            control.parent = design.controls[static_cast<std::size_t>(c.parent)].name;
        else if (c.section >= 0)
            control.parent = design.sections[static_cast<std::size_t>(c.section)].name;
        o.controls.push_back(std::move(control));
    }
    for (const auto& level : design.groupLevels)
        o.groupLevels.push_back(groupLevelOf(level));
    return o;
}

ExportDesigns::ExportDesigns(std::shared_ptr<const exports::ExportFolder> folder)
    : folder_(std::move(folder)) {}

bool ExportDesigns::hasForm(std::string_view name) const { return folder_->form(name) != nullptr; }

bool ExportDesigns::hasReport(std::string_view name) const {
    return folder_->report(name) != nullptr;
}

bool ExportDesigns::hasMacro(std::string_view name) const {
    return folder_->macro(name) != nullptr;
}

namespace {

// Code in the design text, or in a class file exported beside it.
bool HasCode(const exports::ExportObject& object, const DesignText& d) {
    return d.code.has_value() || object.companion(".cls").has_value();
}

}  // namespace

std::shared_ptr<const Module> ExportDesigns::moduleOf(bool report,
                                                      const exports::ExportObject& object,
                                                      const DesignText& d,
                                                      const AccessProject& project) const {
    if (auto module = report ? project.reportModule(object.name) : project.formModule(object.name))
        return module;
    if (!d.code)
        return nullptr;
    return std::make_shared<const Module>(
        DocumentModuleName(report ? "Report_" : "Form_", object.name), ModuleType::Class,
        ModuleTextOf(*d.code));
}

const exports::ExportObject& ExportDesigns::find(bool report, std::string_view name) const {
    const auto* object = report ? folder_->report(name) : folder_->form(name);
    if (!object)
        noSuchObject(report ? 2103 : err::kNoSuchObject, report ? "レポート" : "フォーム", name);
    return *object;
}

DesignText ExportDesigns::read(const exports::ExportObject& object) const {
    const std::string source = object.file.string();
    return exports::ReadDesignText(exports::ParseSavedText(folder_->read(object.file), source),
                                   source);
}

// Every code reader of a run asks for the code behind each object: it is found once, and a
// module's lines are split once.
std::shared_ptr<const Module> ExportDesigns::codeOf(bool report,
                                                    const exports::ExportObject& object,
                                                    const DesignText& d,
                                                    const AccessProject& project) const {
    if (const auto found = code_.find(&object); found != code_.end())
        return found->second;
    auto module = HasCode(object, d) ? moduleOf(report, object, d, project) : nullptr;
    code_.emplace(&object, module);
    return module;
}

// The object is built anew at each open from its text. Keeping the built objects of a run
// spared the second building but cost more than it spared: the memory they take has to be
// supplied page by page.
std::unique_ptr<DesignObject> ExportDesigns::open(bool report, std::string_view name,
                                                  const AccessProject& project) const {
    const auto& object = find(report, name);
    const DesignText d = read(object);
    auto module = codeOf(report, object, d, project);
    return std::make_unique<DesignObject>(
        BuildDesignObject(d, object.name, std::move(module), HasCode(object, d)));
}

std::shared_ptr<const Module> ExportDesigns::documentModule(bool report, std::string_view name,
                                                            const AccessProject& project) const {
    const auto& object = find(report, name);
    if (const auto found = code_.find(&object); found != code_.end())
        return found->second;
    return codeOf(report, object, read(object), project);
}

std::unique_ptr<DesignObject> ExportDesigns::openForm(std::string_view name,
                                                      const AccessProject& project) const {
    return open(false, name, project);
}

std::unique_ptr<DesignObject> ExportDesigns::openReport(std::string_view name,
                                                        const AccessProject& project) const {
    return open(true, name, project);
}

MacroDefinition ExportDesigns::macro(std::string_view name) const {
    const auto* object = folder_->macro(name);
    if (!object)
        noSuchObject(err::kNoSuchObject, "マクロ", name);
    const std::string source = object->file.string();
    return exports::ReadMacroText(exports::ParseSavedText(folder_->read(object->file), source),
                                  object->name, source);
}

}  // namespace zanfor::host::access
