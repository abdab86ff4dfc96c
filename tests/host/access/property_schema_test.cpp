#include "host/access/property_schema.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "collect/vocabulary.h"
#include "util/vb_string.h"

namespace {

using namespace zanfor::host;
using namespace zanfor::host::access;
using Names = std::vector<std::string>;

constexpr DesignContext kForm{false, false}, kFormGroup{false, true};
constexpr DesignContext kReport{true, false}, kReportGroup{true, true};
constexpr DesignContext kContexts[] = {kForm, kFormGroup, kReport, kReportGroup};

const Names& ControlKinds() {
    static const Names kinds = {"Label",         "Rectangle",     "Line",
                                "Image",         "CommandButton", "OptionButton",
                                "CheckBox",      "OptionGroup",   "BoundObjectFrame",
                                "TextBox",       "ListBox",       "ComboBox",
                                "Subform",       "ObjectFrame",   "PageBreak",
                                "CustomControl", "ToggleButton",  "TabCtl",
                                "Page"};
    return kinds;
}

using Range = std::pair<int, int>;
const Range kNone{-1, -1};

// The range each listing reads for a control, by its type and Properties.Count: the form
// design listing, then the object reference listing, which chooses by count in more cases.
Range FormListingRange(const std::string& kind, int count) {
    static const std::map<std::string, Range> fixed = {
        {"Subform", {28, 29}},       {"Image", {29, 33}},       {"TabCtl", {30, 38}},
        {"CommandButton", {38, 49}}, {"OptionGroup", {35, 43}}, {"BoundObjectFrame", {46, 60}},
        {"ListBox", {54, 67}},       {"TextBox", {66, 80}},     {"ComboBox", {68, 83}}};
    if (kind == "ToggleButton")
        return count > 41 ? Range{41, 54} : Range{32, 39};
    if (kind == "CheckBox" || kind == "OptionButton")
        return count > 33 ? Range{34, 47} : Range{25, 32};
    return fixed.count(kind) ? fixed.at(kind) : kNone;
}

Range ReferenceListingRange(const std::string& kind, int count) {
    if (kind == "OptionGroup")
        return count == 42 || count == 43 ? Range{35, 43} : count <= 41 ? Range{32, 40} : kNone;
    if (kind == "CheckBox" || kind == "OptionButton")
        return count > 45 ? Range{34, 47} : count > 33 ? Range{31, 44} : Range{25, 32};
    return FormListingRange(kind, count);
}

const Names& DataEvents() {
    static const Names names = {"BeforeUpdate", "AfterUpdate", "OnEnter",   "OnExit",
                                "OnGotFocus",   "OnLostFocus", "OnClick",   "OnDblClick",
                                "OnMouseDown",  "OnMouseMove", "OnMouseUp", "OnKeyDown",
                                "OnKeyUp",      "OnKeyPress"};
    return names;
}
const Names& MemberEvents() {
    static const Names names = {"OnGotFocus", "OnLostFocus", "OnMouseDown", "OnMouseMove",
                                "OnMouseUp",  "OnKeyDown",   "OnKeyUp",     "OnKeyPress"};
    return names;
}

Names With(Names names, std::size_t at, const Names& more) {
    names.insert(names.begin() + static_cast<long>(at), more.begin(), more.end());
    return names;
}

struct RangeCase {
    std::string kind;
    DesignContext context;
    int first;
    Names names;  // the properties from `first` on, in order
};

const std::vector<RangeCase>& RangeCases() {
    static const std::vector<RangeCase> cases = {
        {"Form", kForm, 82, {"OnCurrent",       "BeforeInsert",  "AfterInsert", "BeforeUpdate",
                             "AfterUpdate",     "OnDirty",       "OnDelete",    "BeforeDelConfirm",
                             "AfterDelConfirm", "OnOpen",        "OnLoad",      "OnResize",
                             "OnUnload",        "OnClose",       "OnActivate",  "OnDeactivate",
                             "OnGotFocus",      "OnLostFocus",   "OnClick",     "OnDblClick",
                             "OnMouseDown",     "OnMouseMove",   "OnMouseUp",   "OnKeyDown",
                             "OnKeyUp",         "OnKeyPress",    "KeyPreview",  "OnError",
                             "OnFilter",        "OnApplyFilter", "OnTimer"}},
        {"Report",
         kReport,
         41,
         {"OnOpen", "OnClose", "OnActivate", "OnDeactivate", "OnNoData", "OnPage", "OnError"}},
        {"TextBox", kForm, 66, With(DataEvents(), 2, {"OnChange"})},
        {"ComboBox", kForm, 68, With(DataEvents(), 2, {"OnChange", "OnNotInList"})},
        {"ListBox", kForm, 54, DataEvents()},
        {"CommandButton", kForm, 38, Names(DataEvents().begin() + 2, DataEvents().end())},
        {"BoundObjectFrame", kForm, 46, With(DataEvents(), 2, {"OnUpdated"})},
        {"Subform", kForm, 28, {"OnEnter", "OnExit"}},
        {"Image", kForm, 29, {"OnClick", "OnDblClick", "OnMouseDown", "OnMouseMove", "OnMouseUp"}},
        {"TabCtl", kForm, 30,
         With(Names(DataEvents().begin() + 6, DataEvents().end()), 0, {"OnChange"})},
        {"OptionGroup", kForm, 35,
         With(Names(DataEvents().begin(), DataEvents().begin() + 4), 4,
              {"OnClick", "OnDblClick", "OnMouseDown", "OnMouseMove", "OnMouseUp"})},
        {"CheckBox", kForm, 34, DataEvents()},
        {"CheckBox", kFormGroup, 25, MemberEvents()},
        {"OptionButton", kForm, 34, DataEvents()},
        {"OptionButton", kFormGroup, 25, MemberEvents()},
        {"ToggleButton", kForm, 41, DataEvents()},
        {"ToggleButton", kFormGroup, 32, MemberEvents()},
    };
    return cases;
}

std::string Describe(const RangeCase& c) {
    return c.kind + (c.context.inOptionGroup ? " in a group" : "");
}

TEST(PropertySchema, eventRangesHoldTheEventsTheCollectorsRead) {
    for (const auto& c : RangeCases()) {
        const auto schema = PropertySchema(c.kind, c.context);
        ASSERT_GE(schema.size(), c.first + c.names.size()) << Describe(c);
        for (std::size_t i = 0; i < c.names.size(); ++i) {
            const auto& name = schema[c.first + i].name;
            EXPECT_EQ(name, c.names[i]) << Describe(c) << " index " << c.first + i;
            // Key Preview is no event; Updated is an OLE frame event the vocabulary never had.
            if (name != "KeyPreview" && name != "OnUpdated") {
                EXPECT_NE(zanfor::collect::EventPropertyLabel(name), "?") << name;
            }
        }
    }
}

TEST(PropertySchema, countsMakeBothListingsChooseTheEventRangeAndStayInside) {
    for (const auto& c : RangeCases()) {
        if (c.kind == "Form" || c.kind == "Report")
            continue;
        const int count = static_cast<int>(PropertySchema(c.kind, c.context).size());
        const Range expected{c.first, c.first + static_cast<int>(c.names.size()) - 1};
        EXPECT_EQ(FormListingRange(c.kind, count), expected) << Describe(c) << " " << count;
        // Count 42 or 43 would put index 43 outside the collection; see the schema's note.
        EXPECT_EQ(ReferenceListingRange(c.kind, count), c.kind == "OptionGroup" ? kNone : expected)
            << Describe(c) << " " << count;
        EXPECT_LT(expected.second, count) << Describe(c);
    }
}

TEST(PropertySchema, optionValueMarksGroupMembersAtIndexThreeOrSeven) {
    for (const auto& kind : ControlKinds()) {
        const std::size_t index = kind == "ToggleButton" ? 7 : 3;
        const bool member = kind == "CheckBox" || kind == "OptionButton" || kind == "ToggleButton";
        for (const auto context : kContexts) {
            const auto schema = PropertySchema(kind, context);
            const bool marked = index < schema.size() && schema[index].name == "OptionValue";
            EXPECT_EQ(marked, member && context.inOptionGroup)
                << kind << " report " << context.inReport << " group " << context.inOptionGroup;
        }
    }
}

// A property the collectors read by name must exist, or the read fails with error 3270.
TEST(PropertySchema, propertiesReadByNameExistInEveryContext) {
    struct Case {
        Names kinds, names;
        bool groupedToo = true;
    };
    const Names buttons = {"CheckBox", "OptionButton", "ToggleButton"};
    const Names bound = {"ComboBox", "ListBox", "TextBox", "OptionGroup", "BoundObjectFrame"};
    const Case cases[] = {
        {ControlKinds(), {"Name", "ControlType", "Visible", "Top", "Left"}},
        {With(Names(ControlKinds().begin(), ControlKinds().begin() + 14), 14,
              {"CustomControl", "ToggleButton", "TabCtl", "Page"}),
         {"Width", "Height"}},
        {{"Label", "Page", "CommandButton", "ToggleButton"}, {"Caption"}},
        {{"Rectangle", "Line"}, {"BorderStyle", "BorderWidth"}},
        {{"ObjectFrame"}, {"SizeMode", "OLEClass"}},
        {{"Image"}, {"Picture", "PictureType", "SizeMode", "PictureAlignment"}},
        {{"CommandButton", "ToggleButton"}, {"Picture", "PictureType"}},
        {{"Subform"}, {"SourceObject", "LinkChildFields", "LinkMasterFields", "Locked"}},
        {With(With(bound, 0, buttons), 0, {"TabCtl", "Subform", "CommandButton"}),
         {"TabStop", "TabIndex"}},
        {With(With(bound, 0, buttons), 0, {"CommandButton"}), {"ControlTipText"}},
        {buttons, {"Locked"}},
        {buttons, {"ControlSource", "DefaultValue", "ValidationRule", "ValidationText"}, false},
        {bound, {"ControlSource"}},
        {{"ComboBox", "TextBox"}, {"Format", "InputMask", "IMEMode", "IMEHold"}},
        {{"ComboBox", "ListBox"}, {"RowSourceType", "RowSource", "ColumnCount", "BoundColumn"}},
        {{"ComboBox", "ListBox", "TextBox", "OptionGroup"},
         {"DefaultValue", "Locked", "ValidationRule", "ValidationText"}},
        {{"ComboBox"}, {"LimitToList"}},
        {{"ComboBox", "ListBox", "TextBox"}, {"StatusBarText"}},
        {{"Form"},
         {"RecordSource", "Filter", "OrderBy", "Caption", "DefaultView", "AllowEdits",
          "AllowDeletions", "AllowAdditions", "DataEntry", "RecordsetType", "RecordLocks", "PopUp",
          "MenuBar", "Modal"}},
        {{"Report"}, {"RecordSource", "Filter", "OrderBy", "Caption", "RecordLocks", "MenuBar"}},
    };
    for (const auto& c : cases) {
        for (const auto& kind : c.kinds) {
            for (const auto context : kContexts) {
                if (context.inOptionGroup && !c.groupedToo)
                    continue;
                for (const auto& name : c.names) {
                    EXPECT_NE(FindPropertySpec(kind, context, name), nullptr)
                        << kind << "." << name << " report " << context.inReport << " group "
                        << context.inOptionGroup;
                }
            }
        }
    }
}

// A repeated name would make a read by name see only the first of the two; report controls
// had no events in Access 2000.
TEST(PropertySchema, namesAreUniqueAndReportControlsHaveNoEvents) {
    for (const auto& kind : With(ControlKinds(), 0, {"Form", "Report", "Section"})) {
        for (const auto context : kContexts) {
            std::set<std::string> seen;
            for (const auto& spec : PropertySchema(kind, context)) {
                EXPECT_TRUE(seen.insert(zanfor::util::UCase(spec.name)).second)
                    << kind << "." << spec.name;
                if (context.inReport && kind != "Form" && kind != "Report" && kind != "Section") {
                    EXPECT_EQ(zanfor::collect::EventPropertyLabel(spec.name), "?")
                        << kind << "." << spec.name;
                }
            }
        }
    }
    EXPECT_NE(FindPropertySpec("Section", kReport, "OnFormat"), nullptr);
    EXPECT_EQ(FindPropertySpec("Section", kForm, "OnFormat"), nullptr);
    ASSERT_NE(FindPropertySpec("Form", kForm, "maxbutton"), nullptr);
    EXPECT_EQ(FindPropertySpec("Form", kForm, "MaxButton")->defaultValue, Value(true));
    EXPECT_TRUE(PropertySchema("Chart", kForm).empty());
    EXPECT_TRUE(PropertySchema("textbox", kForm).empty());
}

TEST(PropertySchema, buildPropertiesTakesStoredValuesAndDefaults) {
    struct Case {
        std::string what, kind;
        std::vector<std::pair<std::string, Value>> stored, expected;
    };
    const Case cases[] = {
        {"stored value over default, names compared without case",
         "TextBox",
         {{"controlsource", Value("顧客名")}, {"AFTERUPDATE", Value("[Event Procedure]")}},
         {{"ControlSource", Value("顧客名")},
          {"AfterUpdate", Value("[Event Procedure]")},
          {"Visible", Value(true)},
          {"ControlType", Value(109)}}},
        {"the last of repeated names wins",
         "Label",
         {{"Caption", Value("a")}, {"Caption", Value("b")}},
         {{"Caption", Value("b")}}},
        {"NotDefault inverts a yes/no default",
         "Form",
         {{"AllowEdits", Value("NotDefault")}, {"PopUp", Value("NotDefault")}},
         {{"AllowEdits", Value(false)}, {"PopUp", Value(true)}}},
        {"transparent border",
         "Rectangle",
         {{"OldBorderStyle", Value(0)}, {"BorderLineStyle", Value(3)}},
         {{"BorderStyle", Value(0)}}},
        {"visible border takes its line style",
         "Line",
         {{"OldBorderStyle", Value(1)}, {"BorderLineStyle", Value(3)}},
         {{"BorderStyle", Value(4)}}},
        {"line style alone keeps the default flag",
         "TextBox",
         {{"BorderLineStyle", Value(1)}},
         {{"BorderStyle", Value(2)}}},
        {"stored BorderStyle wins",
         "Rectangle",
         {{"OldBorderStyle", Value(0)}, {"BorderStyle", Value(6)}},
         {{"BorderStyle", Value(6)}}},
        {"a form's BorderStyle is its window's",
         "Form",
         {{"OldBorderStyle", Value(0)}},
         {{"BorderStyle", Value(2)}}},
        {"old names of form properties",
         "Form",
         {{"AllowUpdating", Value(2)}, {"MaxButton", Value("NotDefault")}},
         {{"RecordsetType", Value(2)}, {"MinMaxButtons", Value(1)}}},
    };
    for (const auto& c : cases) {
        const Properties p = BuildProperties(c.kind, kForm, c.stored);
        for (const auto& [name, value] : c.expected) {
            const Property* found = p.find(name);
            ASSERT_NE(found, nullptr) << c.what << ": " << name;
            EXPECT_EQ(found->value, value) << c.what << ": " << name;
        }
    }
}

TEST(PropertySchema, buildPropertiesKeepsSchemaOrderAndAppendsUnknownsInStoredOrder) {
    const std::vector<std::pair<std::string, Value>> stored = {{"GUID", Value("{x}")},
                                                               {"OnClick", Value("=Go()")},
                                                               {"LayoutCachedLeft", Value(10)},
                                                               {"GUID", Value("{y}")}};
    const Properties p = BuildProperties("CommandButton", kForm, stored);
    const auto schema = PropertySchema("CommandButton", kForm);
    ASSERT_EQ(p.count(), schema.size() + 2);
    for (std::size_t i = 0; i < schema.size(); ++i)
        EXPECT_EQ(p.at(i).name, schema[i].name);
    EXPECT_EQ(p.at(42).value, Value("=Go()"));
    EXPECT_EQ(p.at(schema.size()).name, "GUID");
    EXPECT_EQ(p.at(schema.size()).value, Value("{y}"));
    EXPECT_EQ(p.at(schema.size() + 1).name, "LayoutCachedLeft");
    EXPECT_EQ(BuildProperties("Chart", kForm, stored).count(), 3u);
}

// The form collectors fill four event slots from 82-112 in index order.
TEST(PropertySchema, formEventsReadInSlotOrder) {
    const Properties p = BuildProperties("Form", kForm,
                                         {{"OnOpen", Value("[Event Procedure]")},
                                          {"OnCurrent", Value("[Event Procedure]")},
                                          {"OnTimer", Value("Timer.Tick")}});
    Names filled;
    for (std::size_t i = 82; i <= 112; ++i) {
        if (i != 108 && !p.at(i).value.toText().empty())
            filled.push_back(p.at(i).name);
    }
    EXPECT_EQ(filled, (Names{"OnCurrent", "OnOpen", "OnTimer"}));
    // The listing that does not skip 108 sees Key Preview's yes/no as a filled slot.
    EXPECT_EQ(p.at(108).value.toText(), "False");
}

}  // namespace
