// How the tables below were fixed. Access 2000's Properties collection is documented nowhere as
// a list; what is public is each kind's property sheet ("All" tab) and the reference page of each
// property. Every table follows its kind's "All" tab and, for the events, the Event tab's order;
// the form's Key Preview sits among the events at 108 exactly as the sheet puts it. Controls
// start with EventProcPrefix, Name and ControlType, which puts a grouped check box's OptionValue
// at 3 and a grouped toggle button's at 7. The properties the sheet does not show (those only
// Visual Basic or SaveAsText names: EventProcPrefix, ControlType, Section, OldBorderStyle,
// FontBold, Column*, Label*, the picture and printer data, the form's datasheet and ADP
// properties) have no established place: we put them where the index of the first event and
// the property count come out as the collectors' range tests require.
//
// Counts (form context): Form 114 (events 82-112, KeyPreview at 108), Report 51 (41-47),
// TextBox 82 (66-80), ComboBox 86 (68-83), ListBox 68 (54-67), CommandButton 50 (38-49),
// BoundObjectFrame 61 (46-60), Subform 30 (28-29), Image 35 (29-33), TabCtl 40 (30-38),
// OptionGroup 44 (35-43), CheckBox and OptionButton 48 (34-47) and 33 inside a group (25-32),
// ToggleButton 55 (41-54) and 40 inside a group (32-39). Report controls have no event
// properties in Access 2000, so no index of theirs is read. The option group's 44 is a choice:
// the reference listing reads 35-43 only at Count 42 or 43, where index 43 lies outside the
// collection, so no count satisfies it; 44 keeps every read inside, and that listing then
// skips the group's events.

#include "host/access/property_schema.h"

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>

#include "util/vb_string.h"

namespace zanfor::host::access {
namespace {

// Where a row exists: a form or a report, a control inside an option group or not.
enum Where : std::uint8_t {
    kFormFree = 1,
    kFormGroup = 2,
    kReportFree = 4,
    kReportGroup = 8,
    kAll = 15,
    kForm = kFormFree | kFormGroup,
    kReport = kReportFree | kReportGroup,
    kFree = kFormFree | kReportFree,
    kGroup = kFormGroup | kReportGroup,
};

struct Row {
    std::string_view name;
    Value value;
    std::uint8_t where = kAll;
};

using Table = std::vector<Row>;

Row Text(std::string_view name, std::uint8_t where = kAll) { return {name, Value(""), where}; }
Row Text(std::string_view name, const char* value, std::uint8_t where = kAll) {
    return {name, Value(value), where};
}
Row Yes(std::string_view name, std::uint8_t where = kAll) { return {name, Value(true), where}; }
Row No(std::string_view name, std::uint8_t where = kAll) { return {name, Value(false), where}; }
Row Num(std::string_view name, std::int64_t value, std::uint8_t where = kAll) {
    return {name, Value(value), where};
}
// Binary blocks (pictures, printer settings) are Null until the design holds one.
Row Blob(std::string_view name, std::uint8_t where = kAll) { return {name, Value(), where}; }
// Access 2000 gave event properties to form controls only.
Row Event(std::string_view name, std::uint8_t where = kForm) { return {name, Value(""), where}; }

constexpr const char* kFont = "ＭＳ Ｐゴシック";

Table Join(std::initializer_list<Table> parts) {
    Table all;
    for (const auto& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

Table Head(std::int64_t controlType) {
    return {Text("EventProcPrefix"), Text("Name"), Num("ControlType", controlType)};
}

Table Place(std::int64_t width, std::int64_t height) {
    return {Num("Left", 0), Num("Top", 0), Num("Width", width), Num("Height", height)};
}

Table Border(std::int64_t borderStyle) {
    return {Num("BorderStyle", borderStyle), Num("OldBorderStyle", borderStyle != 0 ? 1 : 0),
            Num("BorderColor", 0), Num("BorderWidth", 0)};
}

Table Font() {
    return {Num("ForeColor", 0),        Text("FontName", kFont), Num("FontSize", 9),
            Num("FontWeight", 400),     No("FontItalic"),        No("FontUnderline"),
            Num("TextFontCharSet", 128)};
}

// The mouse events of labels, rectangles, images, pages and form sections.
Table MouseEvents() {
    return {Event("OnClick"), Event("OnDblClick"), Event("OnMouseDown"), Event("OnMouseMove"),
            Event("OnMouseUp")};
}

Table FormTable() {
    return {
        Text("RecordSource"),
        Text("Filter"),
        Text("OrderBy"),
        Yes("AllowFilters"),
        Text("Caption"),
        Num("DefaultView", 0),
        Num("ViewsAllowed", 0),
        Yes("AllowEdits"),
        Yes("AllowDeletions"),
        Yes("AllowAdditions"),
        No("DataEntry"),
        Num("RecordsetType", 0),
        Num("RecordLocks", 0),
        Num("ScrollBars", 3),
        Yes("RecordSelectors"),
        Yes("NavigationButtons"),
        Yes("DividingLines"),
        Yes("AutoResize"),
        No("AutoCenter"),
        No("PopUp"),
        No("Modal"),
        Num("BorderStyle", 2),
        Yes("ControlBox"),
        Num("MinMaxButtons", 3),
        Yes("CloseButton"),
        No("WhatsThisButton"),
        Num("Width", 0),
        Text("Picture"),
        Num("PictureType", 0),
        Num("PictureSizeMode", 0),
        Num("PictureAlignment", 2),
        No("PictureTiling"),
        Num("Cycle", 0),
        Text("MenuBar"),
        Text("Toolbar"),
        Yes("ShortcutMenu"),
        Text("ShortcutMenuBar"),
        Num("GridX", 10),
        Num("GridY", 10),
        No("LayoutForPrint"),
        Yes("FastLaserPrinting"),
        Text("HelpFile"),
        Num("HelpContextId", 0),
        Text("PaletteSource", "(既定)"),
        Text("Tag"),
        No("HasModule"),
        // Not on the sheet; their places are ours.
        Text("Name"),
        No("OrderByOn"),
        No("FilterOn"),
        Text("ServerFilter"),
        No("ServerFilterByForm"),
        Yes("MaxRecButton"),
        Num("MaxRecords", 0),
        Text("InputParameters"),
        Text("UniqueTable"),
        Text("ResyncCommand"),
        Text("RecordSourceQualifier"),
        Num("SubdatasheetHeight", 0),
        No("SubdatasheetExpanded"),
        Num("Orientation", 0),
        Yes("AllowDesignChanges"),
        Num("FrozenColumns", 1),
        Num("RowHeight", -1),
        Yes("ShowGrid"),
        Text("DatasheetFontName", kFont),
        Num("DatasheetFontHeight", 9),
        Num("DatasheetFontWeight", 400),
        No("DatasheetFontItalic"),
        No("DatasheetFontUnderline"),
        Num("DatasheetGridlinesBehavior", 3),
        Num("DatasheetGridlinesColor", 12632256),
        Num("DatasheetCellsEffect", 0),
        Num("DatasheetForeColor", 0),
        Num("DatasheetBackColor", 16777215),
        Num("TabularCharSet", 128),
        Num("TabularFamily", 0),
        Blob("PaintPalette"),
        Blob("PicturePalette"),
        Blob("PictureData"),
        Blob("PrtMip"),
        Blob("PrtDevMode"),
        Blob("PrtDevNames"),
        // Index 82 on: the Event tab, with Key Preview among the events at 108.
        Event("OnCurrent", kAll),
        Event("BeforeInsert", kAll),
        Event("AfterInsert", kAll),
        Event("BeforeUpdate", kAll),
        Event("AfterUpdate", kAll),
        Event("OnDirty", kAll),
        Event("OnDelete", kAll),
        Event("BeforeDelConfirm", kAll),
        Event("AfterDelConfirm", kAll),
        Event("OnOpen", kAll),
        Event("OnLoad", kAll),
        Event("OnResize", kAll),
        Event("OnUnload", kAll),
        Event("OnClose", kAll),
        Event("OnActivate", kAll),
        Event("OnDeactivate", kAll),
        Event("OnGotFocus", kAll),
        Event("OnLostFocus", kAll),
        Event("OnClick", kAll),
        Event("OnDblClick", kAll),
        Event("OnMouseDown", kAll),
        Event("OnMouseMove", kAll),
        Event("OnMouseUp", kAll),
        Event("OnKeyDown", kAll),
        Event("OnKeyUp", kAll),
        Event("OnKeyPress", kAll),
        No("KeyPreview"),
        Event("OnError", kAll),
        Event("OnFilter", kAll),
        Event("OnApplyFilter", kAll),
        Event("OnTimer", kAll),
        Num("TimerInterval", 0),
    };
}

Table ReportTable() {
    return {
        Text("RecordSource"),
        Text("Filter"),
        No("FilterOn"),
        Text("OrderBy"),
        No("OrderByOn"),
        Text("Caption"),
        Num("RecordLocks", 0),
        Yes("AutoResize"),
        No("AutoCenter"),
        Num("PageHeader", 0),
        Num("PageFooter", 0),
        Num("DateGrouping", 0),
        Num("GrpKeepTogether", 0),
        Num("Width", 0),
        Text("Picture"),
        Num("PictureType", 0),
        Num("PictureSizeMode", 0),
        Num("PictureAlignment", 2),
        No("PictureTiling"),
        Num("PicturePages", 0),
        Text("MenuBar"),
        Text("Toolbar"),
        Text("ShortcutMenuBar"),
        Num("GridX", 10),
        Num("GridY", 10),
        No("LayoutForPrint"),
        Yes("FastLaserPrinting"),
        Text("HelpFile"),
        Num("HelpContextId", 0),
        Text("PaletteSource", "(既定)"),
        Text("Tag"),
        No("HasModule"),
        // Not on the sheet; their places are ours.
        Text("Name"),
        Text("ServerFilter"),
        Text("InputParameters"),
        Text("RecordSourceQualifier"),
        Num("Orientation", 0),
        Blob("PaintPalette"),
        Blob("PicturePalette"),
        Blob("PictureData"),
        Blob("PrtMip"),
        // Index 41 on: the Event tab.
        Event("OnOpen", kAll),
        Event("OnClose", kAll),
        Event("OnActivate", kAll),
        Event("OnDeactivate", kAll),
        Event("OnNoData", kAll),
        Event("OnPage", kAll),
        Event("OnError", kAll),
        // Not on the sheet.
        Yes("AllowDesignChanges"),
        Blob("PrtDevMode"),
        Blob("PrtDevNames"),
    };
}

Table SectionTable() {
    return {
        Text("EventProcPrefix"),
        Text("Name"),
        Num("ForceNewPage", 0, kReport),
        Num("NewRowOrCol", 0, kReport),
        No("KeepTogether", kReport),
        Yes("Visible"),
        Num("DisplayWhen", 0, kForm),
        No("CanGrow"),
        No("CanShrink"),
        No("RepeatSection", kReport),
        Num("Height", 0),
        Num("BackColor", -2147483633, kForm),
        Num("BackColor", 16777215, kReport),
        Num("SpecialEffect", 0),
        Text("Tag"),
        Event("OnClick"),
        Event("OnDblClick"),
        Event("OnMouseDown"),
        Event("OnMouseMove"),
        Event("OnMouseUp"),
        Event("OnFormat", kReport),
        Event("OnPrint", kReport),
        Event("OnRetreat", kReport),
    };
}

Table LabelTable() {
    return Join(
        {Head(100),
         {Text("Caption"), Text("HyperlinkAddress"), Text("HyperlinkSubAddress"), Yes("Visible"),
          Num("DisplayWhen", 0), No("Vertical")},
         Place(1440, 240),
         {Num("BackStyle", 0), Num("BackColor", 16777215), Num("SpecialEffect", 0)},
         Border(0),
         Font(),
         {Num("TextAlign", 0), No("FontBold"), Num("ReadingOrder", 0), Text("ShortcutMenuBar"),
          Text("ControlTipText"), Num("HelpContextId", 0), Num("Section", 0), Text("Tag")},
         MouseEvents()});
}

Table RectangleTable() {
    return Join({Head(101),
                 {Yes("Visible"), Num("DisplayWhen", 0)},
                 Place(1440, 1440),
                 {Num("BackStyle", 0), Num("BackColor", 16777215), Num("SpecialEffect", 0)},
                 Border(1),
                 {Num("Section", 0), Text("Tag")},
                 MouseEvents()});
}

Table LineTable() {
    return Join({Head(102),
                 {No("LineSlant"), Yes("Visible"), Num("DisplayWhen", 0)},
                 Place(1440, 0),
                 {Num("SpecialEffect", 0)},
                 Border(1),
                 {Num("Section", 0), Text("Tag")}});
}

Table ImageTable() {
    return Join({Head(103),
                 {Text("Picture"), Num("PictureType", 0), Blob("PictureData"), Num("SizeMode", 0),
                  Num("PictureAlignment", 2), No("PictureTiling"), Text("HyperlinkAddress"),
                  Text("HyperlinkSubAddress"), Yes("Visible"), Num("DisplayWhen", 0)},
                 Place(1440, 1440),
                 {Num("BackStyle", 0), Num("BackColor", 16777215), Num("SpecialEffect", 0)},
                 Border(0),
                 {Text("ShortcutMenuBar"), Text("ControlTipText"), Num("HelpContextId", 0),
                  Num("Section", 0), Text("Tag")},
                 MouseEvents(),
                 {Blob("ObjectPalette")}});
}

Table CommandButtonTable() {
    return Join(
        {Head(104),
         {Text("Caption"), Text("Picture"), Num("PictureType", 0), Blob("PictureData"),
          No("Transparent"), Text("HyperlinkAddress"), Text("HyperlinkSubAddress"),
          Text("StatusBarText"), No("Default"), No("Cancel"), No("AutoRepeat"), Yes("Visible"),
          Num("DisplayWhen", 0), Yes("Enabled"), Yes("TabStop"), Num("TabIndex", 0)},
         Place(1440, 360),
         Font(),
         {No("FontBold"), Num("ReadingOrder", 0), Text("ShortcutMenuBar"), Text("ControlTipText"),
          Num("HelpContextId", 0), Blob("ObjectPalette"), Num("Section", 0), Text("Tag")},
         {Event("OnEnter"), Event("OnExit"), Event("OnGotFocus"), Event("OnLostFocus"),
          Event("OnClick"), Event("OnDblClick"), Event("OnMouseDown"), Event("OnMouseMove"),
          Event("OnMouseUp"), Event("OnKeyDown"), Event("OnKeyUp"), Event("OnKeyPress")}});
}

// A check box or option button inside an option group has no binding, no triple state and
// no datasheet column, and none of the six events the group answers for it. Access's sheet
// hides its Tab Stop and Tab Index too, but the form collector reads both by name for every
// check box, so they stay and the attached label's offsets (LabelX, LabelY) go instead: the
// group member's events then start at 25 as they did in Access.
Table CheckTable(std::int64_t controlType) {
    return Join(
        {Head(controlType),
         {Text("ControlSource", kFree), Num("OptionValue", 1, kGroup), Text("DefaultValue", kFree),
          Text("ValidationRule", kFree), Text("ValidationText", kFree), Text("StatusBarText"),
          Yes("Visible"), Num("DisplayWhen", 0), Yes("Enabled"), No("Locked"),
          No("TripleState", kFree), Yes("TabStop"), Num("TabIndex", 0)},
         Place(260, 240),
         {Num("SpecialEffect", 2)},
         Border(1),
         {Text("ShortcutMenuBar"), Text("ControlTipText"), Num("HelpContextId", 0),
          Num("ColumnWidth", -1, kFree), Num("ColumnOrder", 0, kFree), No("ColumnHidden", kFree),
          Num("LabelX", -260, kFree), Num("LabelY", 0, kFree), No("HideDuplicates", kReport),
          Num("Section", 0), Text("Tag")},
         {Event("BeforeUpdate", kFormFree), Event("AfterUpdate", kFormFree),
          Event("OnEnter", kFormFree), Event("OnExit", kFormFree), Event("OnGotFocus"),
          Event("OnLostFocus"), Event("OnClick", kFormFree), Event("OnDblClick", kFormFree),
          Event("OnMouseDown"), Event("OnMouseMove"), Event("OnMouseUp"), Event("OnKeyDown"),
          Event("OnKeyUp"), Event("OnKeyPress")}});
}

Table OptionGroupTable() {
    return Join(
        {Head(107),
         {Text("ControlSource"), Text("DefaultValue"), Text("ValidationRule"),
          Text("ValidationText"), Text("StatusBarText"), Yes("Visible"), Num("DisplayWhen", 0),
          Yes("Enabled"), No("Locked"), Yes("TabStop"), Num("TabIndex", 0)},
         Place(1440, 1440),
         {Num("BackStyle", 0), Num("BackColor", 16777215), Num("SpecialEffect", 3)},
         Border(1),
         {Text("ShortcutMenuBar"), Text("ControlTipText"), Num("HelpContextId", 0),
          Num("ColumnWidth", -1), Num("ColumnOrder", 0), No("ColumnHidden"), Num("LabelX", 0),
          Num("LabelY", -240), Num("Section", 0), Text("Tag")},
         {Event("BeforeUpdate"), Event("AfterUpdate"), Event("OnEnter"), Event("OnExit"),
          Event("OnClick"), Event("OnDblClick"), Event("OnMouseDown"), Event("OnMouseMove"),
          Event("OnMouseUp")}});
}

// Updated is a real event of OLE frames that the vocabulary has no label for; it stays, so an
// event procedure there is not lost, and is listed with the vocabulary's "?".
Table BoundObjectFrameTable() {
    return Join({Head(108),
                 {Text("ControlSource"),   Num("DisplayType", 0),
                  Num("SizeMode", 0),      Num("OLETypeAllowed", 2),
                  Text("Class"),           Text("SourceDoc"),
                  Text("SourceItem"),      Num("Verb", 0),
                  Num("UpdateOptions", 0), Num("AutoActivate", 1),
                  Text("OLEClass"),        Num("OLEType", 3),
                  Num("Action", 0),        Num("ObjectVerbsCount", 0),
                  Blob("LpOleObject"),     Text("StatusBarText"),
                  Yes("Visible"),          Num("DisplayWhen", 0),
                  Yes("Enabled"),          Yes("Locked"),
                  Yes("TabStop"),          Num("TabIndex", 0)},
                 Place(1440, 1440),
                 {Num("BackStyle", 1), Num("BackColor", 16777215), Num("SpecialEffect", 0)},
                 Border(1),
                 {Text("ShortcutMenuBar"), Text("ControlTipText"), Num("HelpContextId", 0),
                  Num("ColumnWidth", -1), Num("ColumnOrder", 0), No("ColumnHidden"),
                  Num("LabelX", 0), Num("LabelY", -240), Num("Section", 0), Text("Tag")},
                 {Event("BeforeUpdate"), Event("AfterUpdate"), Event("OnUpdated"), Event("OnEnter"),
                  Event("OnExit"), Event("OnGotFocus"), Event("OnLostFocus"), Event("OnClick"),
                  Event("OnDblClick"), Event("OnMouseDown"), Event("OnMouseMove"),
                  Event("OnMouseUp"), Event("OnKeyDown"), Event("OnKeyUp"), Event("OnKeyPress")}});
}

Table TextBoxTable() {
    return Join({Head(109),
                 {Text("ControlSource"),
                  Text("Format"),
                  Num("DecimalPlaces", 255),
                  Text("InputMask"),
                  Text("DefaultValue"),
                  No("IMEHold"),
                  Num("IMEMode", 0),
                  Num("IMESentenceMode", 3),
                  Text("ValidationRule"),
                  Text("ValidationText"),
                  Text("StatusBarText"),
                  Num("EnterKeyBehavior", 0),
                  Yes("AllowAutoCorrect"),
                  Yes("Visible"),
                  Num("DisplayWhen", 0),
                  No("Vertical"),
                  Yes("Enabled"),
                  No("Locked"),
                  Num("FilterLookup", 1),
                  Yes("AutoTab"),
                  Yes("TabStop"),
                  Num("TabIndex", 0),
                  Num("ScrollBars", 0),
                  No("CanGrow"),
                  No("CanShrink"),
                  No("HideDuplicates", kReport),
                  Num("RunningSum", 0, kReport)},
                 Place(1440, 240),
                 {Num("BackStyle", 1), Num("BackColor", 16777215), Num("SpecialEffect", 2)},
                 Border(1),
                 Font(),
                 {Num("TextAlign", 0),      No("FontBold"),
                  Num("ReadingOrder", 0),   Num("KeyboardLanguage", 0),
                  Num("ScrollBarAlign", 0), Num("NumeralShapes", 0),
                  No("IsHyperlink"),        Text("ShortcutMenuBar"),
                  Text("ControlTipText"),   Num("HelpContextId", 0),
                  Num("ColumnWidth", -1),   Num("ColumnOrder", 0),
                  No("ColumnHidden"),       Num("LabelX", -1440),
                  Num("LabelY", 0),         Num("LabelAlign", 0),
                  Yes("AddColon"),          Yes("AutoLabel"),
                  Num("Section", 0),        Text("Tag")},
                 {Event("BeforeUpdate"), Event("AfterUpdate"), Event("OnChange"), Event("OnEnter"),
                  Event("OnExit"), Event("OnGotFocus"), Event("OnLostFocus"), Event("OnClick"),
                  Event("OnDblClick"), Event("OnMouseDown"), Event("OnMouseMove"),
                  Event("OnMouseUp"), Event("OnKeyDown"), Event("OnKeyUp"), Event("OnKeyPress")},
                 {Yes("FELineBreak")}});
}

Table ListBoxTable() {
    return Join(
        {Head(110),
         {Text("ControlSource"), Text("RowSourceType", "Table/Query"), Text("RowSource"),
          Num("ColumnCount", 1), No("ColumnHeads"), Text("ColumnWidths"), Num("BoundColumn", 1),
          Text("DefaultValue"), Text("ValidationRule"), Text("ValidationText"),
          Text("StatusBarText"), Yes("Visible"), Num("DisplayWhen", 0), Yes("Enabled"),
          No("Locked"), Num("MultiSelect", 0), Yes("TabStop"), Num("TabIndex", 0)},
         Place(1440, 1440),
         {Num("BackColor", 16777215), Num("SpecialEffect", 2)},
         Border(1),
         Font(),
         {No("FontBold"), Num("ReadingOrder", 0), Num("ScrollBarAlign", 0), Num("NumeralShapes", 0),
          Text("ShortcutMenuBar"), Text("ControlTipText"), Num("HelpContextId", 0),
          Num("ColumnWidth", -1), Num("ColumnOrder", 0), No("ColumnHidden"), Num("LabelX", -1440),
          Num("LabelY", 0), Num("LabelAlign", 0), Yes("AddColon"), Num("Section", 0), Text("Tag")},
         {Event("BeforeUpdate"), Event("AfterUpdate"), Event("OnEnter"), Event("OnExit"),
          Event("OnGotFocus"), Event("OnLostFocus"), Event("OnClick"), Event("OnDblClick"),
          Event("OnMouseDown"), Event("OnMouseMove"), Event("OnMouseUp"), Event("OnKeyDown"),
          Event("OnKeyUp"), Event("OnKeyPress")}});
}

Table ComboBoxTable() {
    return Join(
        {Head(111),
         {Text("ControlSource"),
          Text("Format"),
          Num("DecimalPlaces", 255),
          Text("InputMask"),
          Text("RowSourceType", "Table/Query"),
          Text("RowSource"),
          Num("ColumnCount", 1),
          No("ColumnHeads"),
          Text("ColumnWidths"),
          Num("BoundColumn", 1),
          Num("ListRows", 8),
          Text("ListWidth", "Auto"),
          No("LimitToList"),
          Yes("AutoExpand"),
          Text("DefaultValue"),
          No("IMEHold"),
          Num("IMEMode", 0),
          Num("IMESentenceMode", 3),
          Text("ValidationRule"),
          Text("ValidationText"),
          Text("StatusBarText"),
          Yes("AllowAutoCorrect"),
          Yes("Visible"),
          Num("DisplayWhen", 0),
          Yes("Enabled"),
          No("Locked"),
          Yes("TabStop"),
          Num("TabIndex", 0)},
         Place(1440, 240),
         {Num("BackStyle", 1), Num("BackColor", 16777215), Num("SpecialEffect", 2)},
         Border(1),
         Font(),
         {Num("TextAlign", 0), No("FontBold"), Num("ReadingOrder", 0), Num("KeyboardLanguage", 0),
          Num("ScrollBarAlign", 0), Num("NumeralShapes", 0), No("IsHyperlink"),
          Text("ShortcutMenuBar"), Text("ControlTipText"), Num("HelpContextId", 0),
          Num("ColumnWidth", -1), Num("ColumnOrder", 0), No("ColumnHidden"), Num("LabelX", -1440),
          Num("LabelY", 0), Num("LabelAlign", 0), Yes("AddColon"), Num("Section", 0), Text("Tag")},
         {Event("BeforeUpdate"), Event("AfterUpdate"), Event("OnChange"), Event("OnNotInList"),
          Event("OnEnter"), Event("OnExit"), Event("OnGotFocus"), Event("OnLostFocus"),
          Event("OnClick"), Event("OnDblClick"), Event("OnMouseDown"), Event("OnMouseMove"),
          Event("OnMouseUp"), Event("OnKeyDown"), Event("OnKeyUp"), Event("OnKeyPress")},
         {Yes("FELineBreak"), Num("RowSourceTypeInt", 0)}});
}

Table SubformTable() {
    return Join(
        {Head(112),
         {Text("SourceObject"), Text("LinkChildFields"), Text("LinkMasterFields"),
          Text("StatusBarText"), Yes("Visible"), Num("DisplayWhen", 0), Yes("Enabled"),
          No("Locked"), Yes("TabStop"), Num("TabIndex", 0), Yes("CanGrow"), Yes("CanShrink")},
         Place(2880, 1440),
         {Num("SpecialEffect", 2)},
         Border(1),
         {Num("LabelX", 0), Num("LabelY", -240), Num("Section", 0), Text("Tag")},
         {Event("OnEnter"), Event("OnExit")}});
}

Table ObjectFrameTable() {
    return Join({Head(114),
                 {Num("DisplayType", 0),
                  Num("SizeMode", 0),
                  Num("OLETypeAllowed", 2),
                  Text("Class"),
                  Text("SourceDoc"),
                  Text("SourceItem"),
                  Num("Verb", 0),
                  Num("UpdateOptions", 0),
                  Num("AutoActivate", 1),
                  Text("OLEClass"),
                  Num("OLEType", 1),
                  Num("Action", 0),
                  Num("ObjectVerbsCount", 0),
                  Blob("LpOleObject"),
                  Blob("OleData"),
                  Text("StatusBarText"),
                  Yes("Visible"),
                  Num("DisplayWhen", 0),
                  Yes("Enabled"),
                  Yes("Locked"),
                  Yes("TabStop"),
                  Num("TabIndex", 0)},
                 Place(1440, 1440),
                 {Num("BackStyle", 1), Num("BackColor", 16777215), Num("SpecialEffect", 0)},
                 Border(1),
                 {Text("ShortcutMenuBar"), Text("ControlTipText"), Num("HelpContextId", 0),
                  Num("Section", 0), Text("Tag")},
                 {Event("OnUpdated"), Event("OnEnter"), Event("OnExit"), Event("OnGotFocus"),
                  Event("OnLostFocus"), Event("OnClick"), Event("OnDblClick"), Event("OnMouseDown"),
                  Event("OnMouseMove"), Event("OnMouseUp")}});
}

Table PageBreakTable() {
    return Join({Head(118),
                 {Yes("Visible"), Num("Left", 0), Num("Top", 0), Num("Section", 0), Text("Tag")}});
}

Table CustomControlTable() {
    return Join({Head(119),
                 {Text("ControlSource"), Text("OLEClass"), Text("Class"), Blob("OleData"),
                  Text("Custom"), Text("About"), Yes("Visible"), Num("DisplayWhen", 0),
                  Yes("Enabled"), No("Locked"), Yes("TabStop"), Num("TabIndex", 0)},
                 Place(1440, 1440),
                 {Num("SpecialEffect", 0)},
                 Border(1),
                 {Text("ControlTipText"), Num("HelpContextId", 0), Num("Section", 0), Text("Tag")},
                 {Event("OnUpdated"), Event("OnEnter"), Event("OnExit"), Event("OnGotFocus"),
                  Event("OnLostFocus")}});
}

// Toggle buttons have no attached label, so the grouped button drops two properties of
// appearance instead (FontBold, ReadingOrder) to keep its events at 32 as in Access.
Table ToggleButtonTable() {
    return Join(
        {Head(122),
         {Text("Caption"), Text("Picture"), Num("PictureType", 0), Blob("PictureData"),
          Text("ControlSource", kFree), Num("OptionValue", 1, kGroup), Text("DefaultValue", kFree),
          Text("ValidationRule", kFree), Text("ValidationText", kFree), Text("StatusBarText"),
          Yes("Visible"), Num("DisplayWhen", 0), Yes("Enabled"), No("Locked"),
          No("TripleState", kFree), Yes("TabStop"), Num("TabIndex", 0)},
         Place(283, 283),
         Font(),
         {No("FontBold", kFree), Num("ReadingOrder", 0, kFree), Text("ShortcutMenuBar"),
          Text("ControlTipText"), Num("HelpContextId", 0), Blob("ObjectPalette"),
          Num("ColumnWidth", -1, kFree), Num("ColumnOrder", 0, kFree), No("ColumnHidden", kFree),
          Num("Section", 0), Text("Tag")},
         {Event("BeforeUpdate", kFormFree), Event("AfterUpdate", kFormFree),
          Event("OnEnter", kFormFree), Event("OnExit", kFormFree), Event("OnGotFocus"),
          Event("OnLostFocus"), Event("OnClick", kFormFree), Event("OnDblClick", kFormFree),
          Event("OnMouseDown"), Event("OnMouseMove"), Event("OnMouseUp"), Event("OnKeyDown"),
          Event("OnKeyUp"), Event("OnKeyPress")}});
}

Table TabCtlTable() {
    return Join({Head(123),
                 {No("MultiRow"), Num("Style", 0), Num("TabFixedHeight", 0),
                  Num("TabFixedWidth", 0), Yes("Visible"), Num("DisplayWhen", 0), Yes("Enabled"),
                  Yes("TabStop"), Num("TabIndex", 0)},
                 Place(2880, 1440),
                 {Num("BackStyle", 1)},
                 Font(),
                 {Num("ReadingOrder", 0), Text("ShortcutMenuBar"), Text("ControlTipText"),
                  Num("HelpContextId", 0), Num("Section", 0), Text("Tag")},
                 {Event("OnChange"), Event("OnClick"), Event("OnDblClick"), Event("OnMouseDown"),
                  Event("OnMouseMove"), Event("OnMouseUp"), Event("OnKeyDown"), Event("OnKeyUp"),
                  Event("OnKeyPress")},
                 {Num("Value", 0)}});
}

Table PageTable() {
    return Join({Head(124),
                 {Text("Caption"), Num("PageIndex", 0), Text("Picture"), Num("PictureType", 0),
                  Blob("PictureData"), Text("StatusBarText"), Yes("Visible"), Yes("Enabled")},
                 Place(2880, 1440),
                 {Text("ShortcutMenuBar"), Text("ControlTipText"), Num("HelpContextId", 0),
                  Num("Section", 0), Text("Tag")},
                 MouseEvents()});
}

struct Kind {
    std::string_view name;
    Table (*table)();
    bool hasGroupVariant = false;
};

Table CheckBoxTable() { return CheckTable(106); }
Table OptionButtonTable() { return CheckTable(105); }

const std::array<Kind, 22> kKinds = {{
    {"Form", FormTable},
    {"Report", ReportTable},
    {"Section", SectionTable},
    {"Label", LabelTable},
    {"Rectangle", RectangleTable},
    {"Line", LineTable},
    {"Image", ImageTable},
    {"CommandButton", CommandButtonTable},
    {"OptionButton", OptionButtonTable, true},
    {"CheckBox", CheckBoxTable, true},
    {"OptionGroup", OptionGroupTable},
    {"BoundObjectFrame", BoundObjectFrameTable},
    {"TextBox", TextBoxTable},
    {"ListBox", ListBoxTable},
    {"ComboBox", ComboBoxTable},
    {"Subform", SubformTable},
    {"ObjectFrame", ObjectFrameTable},
    {"PageBreak", PageBreakTable},
    {"CustomControl", CustomControlTable},
    {"ToggleButton", ToggleButtonTable, true},
    {"TabCtl", TabCtlTable},
    {"Page", PageTable},
}};

constexpr std::array<Where, 4> kVariants = {kFormFree, kFormGroup, kReportFree, kReportGroup};

// One kind's table in one place: its entries, and the collection they make when nothing is
// stored, which also serves to find an entry by name.
struct Variant {
    std::vector<PropertySpec> specs;
    Properties defaults;
};

// Every kind's table filtered once for each of the four places it can stand in.
class Schemas {
public:
    Schemas() {
        for (const auto& kind : kKinds) {
            const Table table = kind.table();
            auto& variants = byKind_[kind.name];
            for (std::size_t v = 0; v < kVariants.size(); ++v) {
                std::vector<Property> defaults;
                for (const auto& row : table) {
                    if ((row.where & kVariants[v]) != 0) {
                        variants[v].specs.push_back({row.name, row.value});
                        defaults.push_back({std::string(row.name), row.value});
                    }
                }
                variants[v].defaults = Properties(std::move(defaults));
            }
        }
    }

    const Variant* find(std::string_view kind, DesignContext context) const {
        const auto it = byKind_.find(kind);
        if (it == byKind_.end()) {
            return nullptr;
        }
        return &it->second[variantOf(kind, context)];
    }

private:
    static std::size_t variantOf(std::string_view kind, DesignContext context) {
        if (kind == "Form") {
            return 0;
        }
        const bool report = kind == "Report" || context.inReport;
        const bool grouped = context.inOptionGroup && HasGroupVariant(kind);
        return (report ? 2 : 0) + (grouped ? 1 : 0);
    }

    static bool HasGroupVariant(std::string_view kind) {
        for (const auto& k : kKinds) {
            if (k.name == kind) {
                return k.hasGroupVariant;
            }
        }
        return false;
    }

    std::map<std::string_view, std::array<Variant, 4>, std::less<>> byKind_;
};

const Schemas& AllSchemas() {
    static const Schemas schemas;
    return schemas;
}

// SaveAsText writes "NotDefault" for a yes/no property that differs from its default.
Value Stored(const PropertySpec& spec, const Value& value) {
    if (spec.defaultValue.kind() == Value::Kind::Bool && value.kind() == Value::Kind::Text &&
        util::EqualsIgnoreCase(value.toText(), "NotDefault")) {
        return Value(!spec.defaultValue.toBool());
    }
    return value;
}

using StoredList = std::vector<std::pair<std::string, Value>>;

// The last value stored under a name: a later assignment in an export overrides an earlier one.
const Value* FindStored(const StoredList& stored, std::string_view name) {
    for (auto it = stored.rbegin(); it != stored.rend(); ++it) {
        if (util::EqualsIgnoreCase(it->first, name)) {
            return &it->second;
        }
    }
    return nullptr;
}

bool StoredBool(const StoredList& stored, std::string_view name, bool defaultValue) {
    const Value* v = FindStored(stored, name);
    if (v == nullptr) {
        return defaultValue;
    }
    if (v->kind() == Value::Kind::Text && util::EqualsIgnoreCase(v->toText(), "NotDefault")) {
        return !defaultValue;
    }
    return v->toBool();
}

// Some properties are stored under other names than the collection shows them by: a control's
// border as the Access 97 transparent/solid flag plus the line style added in Access 2000, a
// form's recordset type under its Access 2.0 name, and the Min Max Buttons choice as two flags.
std::optional<Value> FromStorageNames(std::string_view kind, std::string_view name,
                                      const StoredList& stored, const Value& defaultValue) {
    if (util::EqualsIgnoreCase(name, "BorderStyle") && kind != "Form" && kind != "Report") {
        const Value* oldStyle = FindStored(stored, "OldBorderStyle");
        const Value* lineStyle = FindStored(stored, "BorderLineStyle");
        if (oldStyle == nullptr && lineStyle == nullptr) {
            return std::nullopt;
        }
        const bool visible =
            oldStyle != nullptr ? oldStyle->toInteger() != 0 : defaultValue.toInteger() != 0;
        return Value(visible ? 1 + (lineStyle != nullptr ? lineStyle->toInteger() : 0) : 0);
    }
    if (util::EqualsIgnoreCase(name, "RecordsetType")) {
        if (const Value* v = FindStored(stored, "AllowUpdating")) {
            return *v;
        }
        return std::nullopt;
    }
    if (util::EqualsIgnoreCase(name, "MinMaxButtons")) {
        if (FindStored(stored, "MinButton") == nullptr &&
            FindStored(stored, "MaxButton") == nullptr) {
            return std::nullopt;
        }
        const bool min = StoredBool(stored, "MinButton", true);
        const bool max = StoredBool(stored, "MaxButton", true);
        return Value((min ? 1 : 0) + (max ? 2 : 0));
    }
    return std::nullopt;
}

}  // namespace

std::span<const PropertySpec> PropertySchema(std::string_view kind, DesignContext context) {
    const Variant* variant = AllSchemas().find(kind, context);
    return variant != nullptr ? std::span<const PropertySpec>(variant->specs)
                              : std::span<const PropertySpec>();
}

const PropertySpec* FindPropertySpec(std::string_view kind, DesignContext context,
                                     std::string_view name) {
    if (const Variant* variant = AllSchemas().find(kind, context)) {
        if (const std::size_t i = variant->defaults.indexOf(name); i != Properties::npos) {
            return &variant->specs[i];
        }
    }
    // SaveAsText's flags for the form's Min Max Buttons, known so a reader keeps "NotDefault".
    static const std::array<PropertySpec, 2> kFormFlags = {
        {{"MinButton", Value(true)}, {"MaxButton", Value(true)}}};
    if (kind == "Form") {
        for (const auto& spec : kFormFlags) {
            if (util::EqualsIgnoreCase(spec.name, name)) {
                return &spec;
            }
        }
    }
    return nullptr;
}

// Starts from the kind's defaults and walks the stored list once: a later entry of a name
// overwrites an earlier one in its place, as the last assignment in an export wins.
Properties BuildProperties(std::string_view kind, DesignContext context,
                           const std::vector<std::pair<std::string, Value>>& stored) {
    static const Variant kUnknownKind;
    const Variant* found = AllSchemas().find(kind, context);
    const Variant& variant = found != nullptr ? *found : kUnknownKind;
    // The defaults are shared, not copied: the collection keeps only what the design sets.
    Properties properties = variant.defaults;
    const std::size_t known = variant.specs.size();
    properties.reserve(stored.size());
    std::vector<bool> isStored(known, false);
    for (const auto& [name, value] : stored) {
        const std::size_t i = properties.indexOf(name);
        if (i < known) {
            properties.setAt(i, Stored(variant.specs[i], value));
            isStored[i] = true;
        } else {
            properties.put(name, value);
        }
    }
    for (const std::string_view derivedName : {"BorderStyle", "RecordsetType", "MinMaxButtons"}) {
        const std::size_t i = variant.defaults.indexOf(derivedName);
        if (i == Properties::npos || isStored[i]) {
            continue;
        }
        const PropertySpec& spec = variant.specs[i];
        if (auto derived = FromStorageNames(kind, spec.name, stored, spec.defaultValue)) {
            properties.setAt(i, std::move(*derived));
        }
    }
    return properties;
}

}  // namespace zanfor::host::access
