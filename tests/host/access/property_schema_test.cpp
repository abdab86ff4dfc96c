#include "host/access/property_schema.h"

#include <gtest/gtest.h>

#include <cctype>
#include <set>
#include <sstream>
#include <string>
#include <tuple>
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

Names Split(const std::string& words) {
    std::istringstream in(words);
    Names names;
    for (std::string w; in >> w;)
        names.push_back(w);
    return names;
}

const std::string kSized =
    "Label Rectangle Line Image CommandButton OptionButton CheckBox OptionGroup BoundObjectFrame "
    "TextBox ListBox ComboBox Subform ObjectFrame CustomControl ToggleButton TabCtl Page";
const std::string kControls = kSized + " PageBreak";

using Range = std::pair<int, int>;
const Range kNone{-1, -1};

// The range of a control's events each listing reads, where it chooses by Properties.Count
// (`fixed` where it does not): the form design listing, or the object reference listing, which
// chooses in more cases.
Range ListingRange(const std::string& kind, int count, Range fixed, bool reference) {
    const bool button = kind == "CheckBox" || kind == "OptionButton";
    if (reference && kind == "OptionGroup")
        return count == 42 || count == 43 ? Range{35, 43} : count <= 41 ? Range{32, 40} : kNone;
    if (reference && button && count > 33 && count <= 45)
        return {31, 44};
    if (button)
        return count > 33 ? Range{34, 47} : Range{25, 32};
    if (kind == "ToggleButton")
        return count > 41 ? Range{41, 54} : Range{32, 39};
    return fixed;
}

const std::string kUpdate = "BeforeUpdate AfterUpdate ", kFocus = "OnEnter OnExit ",
                  kMouse = "OnClick OnDblClick OnMouseDown OnMouseMove OnMouseUp ",
                  kKeys = "OnKeyDown OnKeyUp OnKeyPress ", kGotLost = "OnGotFocus OnLostFocus ",
                  kData = kUpdate + kFocus + kGotLost + kMouse + kKeys,
                  kMember = kGotLost + "OnMouseDown OnMouseMove OnMouseUp " + kKeys;

struct RangeCase {
    std::string kind;
    DesignContext context;
    int first;
    std::string names;  // the properties from `first` on, in order
};

const RangeCase kRanges[] = {
    {"Form", kForm, 82,
     "OnCurrent BeforeInsert AfterInsert BeforeUpdate AfterUpdate OnDirty OnDelete "
     "BeforeDelConfirm AfterDelConfirm OnOpen OnLoad OnResize OnUnload OnClose OnActivate "
     "OnDeactivate OnGotFocus OnLostFocus OnClick OnDblClick OnMouseDown OnMouseMove OnMouseUp "
     "OnKeyDown OnKeyUp OnKeyPress KeyPreview OnError OnFilter OnApplyFilter OnTimer"},
    {"Report", kReport, 41, "OnOpen OnClose OnActivate OnDeactivate OnNoData OnPage OnError"},
    {"TextBox", kForm, 66, kUpdate + "OnChange " + kData.substr(kUpdate.size())},
    {"ComboBox", kForm, 68, kUpdate + "OnChange OnNotInList " + kData.substr(kUpdate.size())},
    {"ListBox", kForm, 54, kData},
    {"CommandButton", kForm, 38, kData.substr(kUpdate.size())},
    {"BoundObjectFrame", kForm, 46, kUpdate + "OnUpdated " + kData.substr(kUpdate.size())},
    {"Subform", kForm, 28, kFocus},
    {"Image", kForm, 29, kMouse},
    {"TabCtl", kForm, 30, "OnChange " + kMouse + kKeys},
    {"OptionGroup", kForm, 35, kUpdate + kFocus + kMouse},
    {"CheckBox", kForm, 34, kData},
    {"CheckBox", kFormGroup, 25, kMember},
    {"OptionButton", kForm, 34, kData},
    {"OptionButton", kFormGroup, 25, kMember},
    {"ToggleButton", kForm, 41, kData},
    {"ToggleButton", kFormGroup, 32, kMember},
};

// Each listing reads events by index: the schema puts them there, and the collection's count
// makes both listings choose that same range.
TEST(PropertySchema, eventRangesHoldTheEventsTheListingsReadAndChoose) {
    for (const auto& c : kRanges) {
        SCOPED_TRACE(c.kind + (c.context.inOptionGroup ? " in a group" : ""));
        const auto schema = PropertySchema(c.kind, c.context);
        const Names names = Split(c.names);
        ASSERT_GE(schema.size(), c.first + names.size());
        for (std::size_t i = 0; i < names.size(); ++i) {
            const auto& name = schema[c.first + i].name;
            EXPECT_EQ(name, names[i]) << "index " << c.first + i;
            // Key Preview is no event; Updated is an OLE frame event the vocabulary never had.
            if (name != "KeyPreview" && name != "OnUpdated") {
                EXPECT_NE(zanfor::collect::EventPropertyLabel(name), "?") << name;
            }
        }
        if (c.kind == "Form" || c.kind == "Report")
            continue;
        const int count = static_cast<int>(schema.size());
        const Range expected{c.first, c.first + static_cast<int>(names.size()) - 1};
        EXPECT_EQ(ListingRange(c.kind, count, expected, false), expected) << count;
        // Count 42 or 43 would put index 43 outside the collection; see the schema's note.
        EXPECT_EQ(ListingRange(c.kind, count, expected, true),
                  c.kind == "OptionGroup" ? kNone : expected)
            << count;
    }
}

// A property the collectors read by name must exist, or the read fails with error 3270.
TEST(PropertySchema, propertiesReadByNameExistInEveryContext) {
    const std::string buttons = "CheckBox OptionButton ToggleButton ",
                      bound = "ComboBox ListBox TextBox OptionGroup BoundObjectFrame ";
    const std::pair<std::string, std::string> cases[] = {
        {kControls, "Name ControlType Visible Top Left"},
        {kSized, "Width Height"},
        {"Label Page CommandButton ToggleButton", "Caption"},
        {"Rectangle Line", "BorderStyle BorderWidth"},
        {"ObjectFrame", "SizeMode OLEClass"},
        {"Image", "SizeMode PictureAlignment"},
        {"Image CommandButton ToggleButton", "Picture PictureType"},
        {"Subform", "SourceObject LinkChildFields LinkMasterFields Locked"},
        {"TabCtl Subform CommandButton " + buttons + bound, "TabStop TabIndex"},
        {"CommandButton " + buttons + bound, "ControlTipText"},
        {buttons, "Locked"},
        {bound, "ControlSource"},
        {"ComboBox TextBox", "Format InputMask IMEMode IMEHold StatusBarText"},
        {"ComboBox ListBox", "RowSourceType RowSource ColumnCount BoundColumn StatusBarText"},
        {"ComboBox ListBox TextBox OptionGroup",
         "DefaultValue Locked ValidationRule ValidationText"},
        {"ComboBox", "LimitToList"},
        {"Form",
         "RecordSource Filter OrderBy Caption DefaultView AllowEdits AllowDeletions AllowAdditions "
         "DataEntry RecordsetType RecordLocks PopUp MenuBar Modal"},
        {"Report", "RecordSource Filter OrderBy Caption RecordLocks MenuBar"},
        // "-": outside option groups only, since a button in a group takes its value from it.
        {"- " + buttons, "ControlSource DefaultValue ValidationRule ValidationText"},
    };
    for (const auto& [kinds, names] : cases) {
        for (const auto& kind : Split(kinds.substr(kinds.starts_with('-'))))
            for (const auto context : kContexts)
                for (const auto& name : Split(names))
                    EXPECT_TRUE(FindPropertySpec(kind, context, name) ||
                                (kinds.starts_with('-') && context.inOptionGroup))
                        << kind << "." << name << " in " << context.inReport
                        << context.inOptionGroup;
    }
}

// A repeated name would make a read by name see only the first of the two; report controls
// had no events in Access 2000.
TEST(PropertySchema, namesAreUniqueAndReportControlsHaveNoEvents) {
    for (const auto& kind : Split("Form Report Section " + kControls)) {
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
}

// "name=value ...": a number, or a text.
std::vector<std::pair<std::string, Value>> Stored(const std::string& pairs) {
    std::vector<std::pair<std::string, Value>> values;
    for (const auto& pair : Split(pairs)) {
        const std::string v = pair.substr(pair.find('=') + 1);
        values.emplace_back(pair.substr(0, pair.find('=')),
                            std::isdigit(v[0]) ? Value(std::stoi(v)) : Value(v));
    }
    return values;
}

// Each case: a kind, what is stored ("name=value", a number or a text), what the collection
// then holds, as text.
TEST(PropertySchema, buildPropertiesTakesStoredValuesAndDefaults) {
    const std::tuple<const char*, const char*, const char*> cases[] = {
        // Names are compared without regard to case; what is not stored takes its default.
        {"TextBox", "controlsource=顧客名 AFTERUPDATE=Go",
         "ControlSource=顧客名 AfterUpdate=Go Visible=True ControlType=109"},
        {"Label", "Caption=a Caption=b", "Caption=b"},
        {"Form", "AllowEdits=NotDefault PopUp=NotDefault", "AllowEdits=False PopUp=True"},
        // A transparent border, a visible one taking its line style, the line style alone.
        {"Rectangle", "OldBorderStyle=0 BorderLineStyle=3", "BorderStyle=0"},
        {"Line", "OldBorderStyle=1 BorderLineStyle=3", "BorderStyle=4"},
        {"TextBox", "BorderLineStyle=1", "BorderStyle=2"},
        {"Rectangle", "OldBorderStyle=0 BorderStyle=6", "BorderStyle=6"},
        // A form's BorderStyle is its window's; old names of its properties still read.
        {"Form", "OldBorderStyle=0", "BorderStyle=2"},
        {"Form", "AllowUpdating=2 MaxButton=NotDefault", "RecordsetType=2 MinMaxButtons=1"},
    };
    for (const auto& [kind, stored, expected] : cases) {
        const Properties p = BuildProperties(kind, kForm, Stored(stored));
        for (const auto& pair : Split(expected)) {
            const Property* found = p.find(pair.substr(0, pair.find('=')));
            EXPECT_EQ(found ? found->name + "=" + found->value.toText() : "", pair) << kind;
        }
    }
}

TEST(PropertySchema, buildPropertiesKeepsSchemaOrderAndAppendsUnknownsInStoredOrder) {
    const auto stored = Stored("GUID={x} OnClick=Go Cached=1 GUID={y}");
    const Properties p = BuildProperties("CommandButton", kForm, stored);
    const std::size_t known = PropertySchema("CommandButton", kForm).size();
    ASSERT_EQ(p.count(), known + 2);
    EXPECT_EQ(p.at(42).value, Value("Go"));
    EXPECT_EQ(p.at(known).name + p.at(known).value.toText() + p.at(known + 1).name,
              "GUID{y}Cached");
    EXPECT_EQ(BuildProperties("Chart", kForm, stored).count(), 3u);
}

}  // namespace
