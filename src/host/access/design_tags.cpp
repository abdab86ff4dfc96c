// Evidence for each row, after the row:
//   E  an explicit-encoding entry carried the tag with its property id, and the value matched
//      the property of that name in the text export Access wrote of the same object: Strings.mdb
//      and the Arrow of Light .mdb with their exports, or (the rows that say so in
//      docs/design-tags.md) an .accdb with its export, read through its MSysAccessStorage;
//   I  an explicit entry of another sample carried the tag with a property id the E rows fixed;
//   P  an explicit entry carried a property id another reader reported, or one no reader named,
//      and the procedure names of the object's module agree with it ("Report_Activate" the only
//      procedure no other entry explains);
//   N  inferred from values, from the procedures of the class module ("Report_NoData",
//      "GroupFooter1_Retreat"), from the comments of the macros naming what they serve, or from
//      the layout of a class whose tags are E or I (the option group's bytes 31-35 are the
//      rectangle's; OldBorderStyle is the byte before BorderWidth in every class that shows both);
//   O  SaveAsText writes an object's properties in ascending tag order, and in the exports at
//      hand only this tag of the right size, among those the samples store, lies between the
//      property's neighbours;
//   W  weak: one observation, or a guess from the neighbouring tags.
// Tags of the same class in Access 2000's compact encoding and in the explicit encoding of
// Access 2002-2003 are the same. Tags from 0x100 on exist only in the explicit encoding; only
// those Access 2003 itself writes under a name are named here, the others (the layout and theme
// properties of Access 2007 on) are left unknown, as Access 2000 never showed them.
//
// Not located in any sample, so a stored entry of theirs stays unnamed, and where an object
// stores unnamed entries of a property's kind the property reads as unknown: ShortcutMenuBar,
// HelpFile, HelpContextId, DataEntry (a flag between 15 and 2F of the form), AllowFilters (likely
// the form's 01: W), OnDirty, OnDeactivate, BeforeDelConfirm and OnError (the form's BF and FC, in
// some order), IMEHold, a list box's BoundColumn, the mouse and key events of most controls,
// HideDuplicates, Vertical, a bound object frame's OLEClass, a report's MenuBar, Toolbar,
// OnDeactivate and OnError. Tags the samples store that no evidence names yet (class: tags): form
// 00 01 02 07 08 25 26 2B 2C 48 4B 64 9C 9E BF E6 FC; text box 0E 38 39 6D 6E 70; combo box 36 37
// F7 FC; list box 35; option group 05 36 F1; check box 05 06 34; option button 34; command button
// 06 07; toggle button 05 06; tab control 67 68; bound object frame 39 9C; chart 04; image 30;
// label 68; subform 03 E0; sections 33. The flags 05-07 of the default records are, by their place
// beside AddColon, AutoLabel and AddColon (W); they exist only there and no control shows them.
// Class 0x79 (a default record of the French Northwind, between the subform's and the toggle
// button's) is no control type: see docs/design-tags.md.

#include "host/access/design_tags.h"

#include <algorithm>
#include <array>

#include "host/control_types.h"

namespace zanfor::host::access {

namespace {

constexpr bool kBinary = true;

constexpr DesignTag kLabelTags[] = {
    {0x00, "Visible"},           // E
    {0x01, "FontItalic"},        // W
    {0x02, "FontUnderline"},     // E
    {0x31, "SpecialEffect"},     // E
    {0x32, "BackStyle"},         // E
    {0x33, "OldBorderStyle"},    // E
    {0x34, "BorderWidth"},       // E
    {0x35, "OverlapFlags"},      // E
    {0x36, "TextFontCharSet"},   // E
    {0x37, "TextAlign"},         // E
    {0x38, "TextFontFamily"},    // I
    {0x60, "Left"},              // E
    {0x61, "Top"},               // E
    {0x62, "Width"},             // E
    {0x63, "Height"},            // E
    {0x64, "FontSize"},          // E
    {0x65, "FontWeight"},        // E
    {0x9C, "BackColor"},         // E
    {0x9D, "BorderColor"},       // E
    {0x9E, "ForeColor"},         // E
    {0xDC, "Name"},              // E
    {0xDD, "Caption"},           // E
    {0xDE, "FontName"},          // E
    {0xDF, "OnClick"},           // E
    {0xE0, "OnDblClick"},        // I
    {0xE4, "Tag"},               // E
    {0xE5, "EventProcPrefix"},   // E
    {0xE8, "HyperlinkAddress"},  // E
    {0xEA, "GUID", kBinary},     // E
};

constexpr DesignTag kTextBoxTags[] = {
    {0x00, "Visible"},           // E
    {0x01, "Enabled"},           // E
    {0x02, "Locked"},            // E
    {0x04, "CanGrow"},           // N
    {0x05, "CanShrink"},         // N
    {0x07, "AutoLabel"},         // N: only in defaults
    {0x08, "AddColon"},          // E
    {0x09, "FontItalic"},        // E
    {0x0A, "IsHyperlink"},       // W
    {0x0C, "TabStop"},           // E
    {0x0D, "EnterKeyBehavior"},  // E
    {0x11, "FELineBreak"},       // E
    {0x30, "DecimalPlaces"},     // E
    {0x32, "ScrollBars"},        // E
    {0x33, "RunningSum"},        // N
    {0x34, "SpecialEffect"},     // E
    {0x35, "OldBorderStyle"},    // E
    {0x36, "BorderWidth"},       // I
    {0x37, "OverlapFlags"},      // E
    {0x3A, "TextFontCharSet"},   // E
    {0x3B, "TextAlign"},         // E
    {0x3C, "TextFontFamily"},    // E
    {0x3D, "BorderLineStyle"},   // E
    {0x3E, "IMEMode"},           // N: 1 on, 2 off, 5/6 on furigana fields
    {0x43, "BackStyle"},         // E
    {0x46, "IMESentenceMode"},   // E
    {0x60, "Left"},              // E
    {0x61, "Top"},               // E
    {0x62, "Width"},             // E
    {0x63, "Height"},            // E
    {0x65, "ColumnWidth"},       // E
    {0x66, "ColumnOrder"},       // E
    {0x67, "LabelX"},            // E
    {0x69, "FontSize"},          // E
    {0x6A, "FontWeight"},        // E
    {0x6B, "TabIndex"},          // E
    {0x9C, "BackColor"},         // E
    {0x9D, "BorderColor"},       // E
    {0x9F, "ForeColor"},         // E
    {0xDC, "Name"},              // E
    {0xDD, "ControlSource"},     // E
    {0xDE, "Format"},            // E
    {0xDF, "StatusBarText"},     // N
    {0xE0, "ValidationRule"},    // N
    {0xE1, "ValidationText"},    // N
    {0xE2, "BeforeUpdate"},      // N
    {0xE3, "AfterUpdate"},       // E
    {0xE4, "OnEnter"},           // I
    {0xE5, "OnExit"},            // N: the only boxes with _Exit code
    {0xE6, "OnDblClick"},        // I
    {0xE7, "DefaultValue"},      // E
    {0xE8, "FontName"},          // E
    {0xE9, "InputMask"},         // N
    {0xEA, "OnKeyDown"},         // I
    {0xEC, "OnKeyPress"},        // P
    {0xF0, "OnGotFocus"},        // N: F0/F1 are the _GotFocus/_LostFocus pair;
    {0xF1, "OnLostFocus"},       // which is which is W
    {0xF3, "OnChange"},          // E
    {0xF4, "Tag"},               // N
    {0xF5, "EventProcPrefix"},   // E
    {0xF6, "FuriganaControl"},   // N: names the furigana text box
    {0xF8, "ControlTipText"},    // N
    {0xFA, "GUID", kBinary},     // E
    {0xFB, "PostalAddress"},     // N: "郵便番号;;;", "都道府県;住所1"
    {0x103, "AsianLineBreak"},   // E
};

constexpr DesignTag kComboBoxTags[] = {
    {0x00, "ColumnHeads"},       // N: the list box's 00
    {0x01, "LimitToList"},       // E
    {0x02, "Visible"},           // E
    {0x03, "Enabled"},           // E
    {0x08, "AddColon"},          // E
    {0x30, "RowSourceTypeInt"},  // E
    {0x32, "SpecialEffect"},     // E
    {0x33, "OldBorderStyle"},    // E
    {0x34, "BorderWidth"},       // I
    {0x35, "OverlapFlags"},      // E
    {0x38, "TextFontCharSet"},   // E
    {0x39, "TextAlign"},         // E
    {0x3A, "TextFontFamily"},    // N: after TextAlign
    {0x3B, "BorderLineStyle"},   // E
    {0x41, "BackStyle"},         // E
    {0x44, "IMESentenceMode"},   // E
    {0x60, "ColumnCount"},       // E
    {0x61, "ListRows"},          // W
    {0x62, "ListWidth"},         // E
    {0x63, "Left"},              // E
    {0x64, "Top"},               // E
    {0x65, "Width"},             // E
    {0x66, "Height"},            // E
    {0x68, "ColumnWidth"},       // O: before ColumnOrder; widths
    {0x69, "ColumnOrder"},       // E
    {0x6A, "LabelX"},            // E
    {0x6C, "FontSize"},          // E
    {0x6E, "TabIndex"},          // E
    {0x9C, "BoundColumn"},       // O: after TabIndex; a long, id D
    {0x9D, "BackColor"},         // W
    {0x9E, "BorderColor"},       // E
    {0xA0, "ForeColor"},         // E
    {0xBC, "ColumnInfo"},        // I
    {0xBE, "GUID", kBinary},     // E
    {0xDC, "Name"},              // E
    {0xDD, "ControlSource"},     // I
    {0xDE, "RowSourceType"},     // E
    {0xDF, "RowSource"},         // E
    {0xE0, "ColumnWidths"},      // E
    {0xE1, "StatusBarText"},     // N
    {0xE2, "ValidationRule"},    // W
    {0xE3, "ValidationText"},    // W
    {0xE4, "BeforeUpdate"},      // N
    {0xE5, "AfterUpdate"},       // E
    {0xE6, "OnEnter"},           // P
    {0xE9, "DefaultValue"},      // E
    {0xEA, "FontName"},          // E
    {0xF1, "OnGotFocus"},        // P
    {0xF3, "OnClick"},           // I
    {0xF4, "OnChange"},          // E
    {0xF5, "Tag"},               // N
    {0xF9, "ControlTipText"},    // N
};

constexpr DesignTag kListBoxTags[] = {
    {0x00, "ColumnHeads"},       // E
    {0x02, "Enabled"},           // N: the module enables it
    {0x30, "RowSourceTypeInt"},  // E
    {0x32, "SpecialEffect"},     // I
    {0x33, "OverlapFlags"},      // E
    {0x36, "TextFontCharSet"},   // N: 128 in Japanese
    {0x37, "TextFontFamily"},    // N: 2, 18, 50
    {0x38, "MultiSelect"},       // N: 2 beside "use Shift or Ctrl"
    {0x3D, "OldBorderStyle"},    // E
    {0x3E, "BorderWidth"},       // I
    {0x3F, "BorderLineStyle"},   // E
    {0x41, "IMESentenceMode"},   // E
    {0x60, "ColumnCount"},       // E
    {0x61, "Left"},              // I
    {0x62, "Top"},               // I
    {0x63, "Width"},             // I
    {0x64, "Height"},            // I
    {0x68, "LabelX"},            // E
    {0x6A, "FontSize"},          // E
    {0x6C, "TabIndex"},          // E
    {0x9D, "BackColor"},         // N: colours, system colours
    {0x9F, "ForeColor"},         // E
    {0xA0, "BorderColor"},       // E
    {0xDC, "Name"},              // E
    {0xDD, "ControlSource"},     // W
    {0xDE, "RowSourceType"},     // E
    {0xDF, "RowSource"},         // E
    {0xE0, "ColumnWidths"},      // E
    {0xE5, "AfterUpdate"},       // I
    {0xE8, "OnDblClick"},        // P
    {0xEA, "FontName"},          // E
    {0xEB, "OnKeyDown"},         // I
    {0xF3, "OnClick"},           // E
    {0xF4, "Tag"},               // N
    {0xF8, "GUID", kBinary},     // E
};

constexpr DesignTag kCommandButtonTags[] = {
    {0x02, "Default"},                 // N
    {0x03, "Cancel"},                  // E
    {0x04, "Visible"},                 // E
    {0x05, "Enabled"},                 // E
    {0x09, "FontUnderline"},           // E
    {0x0A, "TabStop"},                 // E
    {0x31, "OverlapFlags"},            // E
    {0x32, "AccessKey"},               // N
    {0x34, "TextFontCharSet"},         // E
    {0x35, "TextFontFamily"},          // N: 50, as labels for that font
    {0x60, "Left"},                    // E
    {0x61, "Top"},                     // E
    {0x62, "Width"},                   // E
    {0x63, "Height"},                  // E
    {0x67, "FontSize"},                // E
    {0x68, "FontWeight"},              // E
    {0x69, "TabIndex"},                // E
    {0x9D, "ForeColor"},               // E
    {0xDC, "Name"},                    // E
    {0xDD, "Caption"},                 // E
    {0xDF, "OnClick"},                 // E
    {0xE3, "PictureData", kBinary},    // E
    {0xE4, "FontName"},                // E
    {0xED, "ObjectPalette", kBinary},  // E
    {0xEE, "Tag"},                     // E
    {0xEF, "EventProcPrefix"},         // N
    {0xF1, "ControlTipText"},          // E
    {0xF2, "Picture"},                 // E
    {0xF3, "HyperlinkAddress"},        // E
    {0xF4, "HyperlinkSubAddress"},     // N
    {0xF5, "GUID", kBinary},           // E
};

constexpr DesignTag kCheckBoxTags[] = {
    {0x00, "Visible"},          // E
    {0x01, "Enabled"},          // I
    {0x02, "Locked"},           // E
    {0x07, "TabStop"},          // E
    {0x31, "SpecialEffect"},    // E
    {0x32, "OverlapFlags"},     // E
    {0x35, "OldBorderStyle"},   // N: before BorderWidth
    {0x36, "BorderWidth"},      // E
    {0x37, "BorderLineStyle"},  // E
    {0x60, "Left"},             // E
    {0x61, "Top"},              // E
    {0x62, "Width"},            // E
    {0x63, "Height"},           // E
    {0x65, "ColumnWidth"},      // O: 64 or 65; widths
    {0x66, "ColumnOrder"},      // E
    {0x67, "LabelX"},           // E
    {0x68, "LabelY"},           // E
    {0x69, "TabIndex"},         // E
    {0x9C, "OptionValue"},      // N
    {0x9E, "BorderColor"},      // E
    {0xDC, "Name"},             // E
    {0xDD, "ControlSource"},    // E
    {0xDE, "StatusBarText"},    // N
    {0xE2, "AfterUpdate"},      // E
    {0xE6, "DefaultValue"},     // E
    {0xEF, "OnClick"},          // E
    {0xF0, "Tag"},              // N
    {0xF1, "EventProcPrefix"},  // E
    {0xF3, "ControlTipText"},   // W
    {0xF4, "GUID", kBinary},    // E
};

constexpr DesignTag kOptionButtonTags[] = {
    {0x31, "SpecialEffect"},    // N
    {0x32, "OverlapFlags"},     // N
    {0x35, "OldBorderStyle"},   // W: before BorderWidth
    {0x36, "BorderWidth"},      // N: as the check box
    {0x37, "BorderLineStyle"},  // I
    {0x60, "Left"},             // E
    {0x61, "Top"},              // E
    {0x62, "Width"},            // E
    {0x63, "Height"},           // E
    {0x67, "LabelX"},           // N
    {0x68, "LabelY"},           // N
    {0x9C, "OptionValue"},      // N
    {0x9E, "BorderColor"},      // N: as the check box
    {0xDC, "Name"},             // E
    {0xF0, "Tag"},              // N
    {0xF4, "GUID", kBinary},    // N
};

constexpr DesignTag kToggleButtonTags[] = {
    {0x31, "OverlapFlags"},     // N: 87, 95, 247
    {0x32, "AccessKey"},        // N
    {0x34, "TextFontCharSet"},  // N: the command
    {0x35, "TextFontFamily"},   // N: button's
    {0x60, "Left"},             // E
    {0x61, "Top"},              // E
    {0x62, "Width"},            // E
    {0x63, "Height"},           // E
    {0x69, "FontSize"},         // N
    {0x6A, "FontWeight"},       // N
    {0x9C, "OptionValue"},      // N
    {0x9E, "ForeColor"},        // N
    {0xDC, "Name"},             // E
    {0xE7, "Caption"},          // N
    {0xE9, "FontName"},         // N
    {0xF4, "Tag"},              // N
    {0xF9, "GUID", kBinary},    // N
};

constexpr DesignTag kOptionGroupTags[] = {
    {0x31, "SpecialEffect"},    // E
    {0x32, "BackStyle"},        // N: the rectangle's
    {0x33, "OldBorderStyle"},   // N: layout
    {0x34, "BorderWidth"},      // N
    {0x35, "OverlapFlags"},     // E
    {0x38, "BorderLineStyle"},  // E
    {0x60, "Left"},             // E
    {0x61, "Top"},              // E
    {0x62, "Width"},            // E
    {0x63, "Height"},           // E
    {0x69, "TabIndex"},         // E
    {0x9C, "BackColor"},        // W
    {0x9D, "BorderColor"},      // E
    {0xDC, "Name"},             // E
    {0xDD, "ControlSource"},    // N
    {0xDE, "StatusBarText"},    // N
    {0xE2, "AfterUpdate"},      // N
    {0xE6, "DefaultValue"},     // N
    {0xF0, "Tag"},              // N
    {0xF4, "GUID", kBinary},    // E
};

constexpr DesignTag kSubformTags[] = {
    {0x33, "OverlapFlags"},      // E
    {0x34, "OldBorderStyle"},    // I
    {0x35, "SpecialEffect"},     // E
    {0x36, "BorderWidth"},       // I
    {0x37, "BorderLineStyle"},   // E
    {0x60, "Left"},              // E
    {0x61, "Top"},               // E
    {0x62, "Width"},             // E
    {0x63, "Height"},            // E
    {0x64, "TabIndex"},          // E
    {0x9C, "BorderColor"},       // I
    {0xDC, "Name"},              // E
    {0xDD, "SourceObject"},      // I
    {0xDE, "LinkChildFields"},   // I
    {0xDF, "LinkMasterFields"},  // I
    {0xE3, "Tag"},               // N
    {0xE4, "EventProcPrefix"},   // N
    {0xE5, "GUID", kBinary},     // E
};

constexpr DesignTag kImageTags[] = {
    {0x31, "SpecialEffect"},           // E
    {0x32, "BackStyle"},               // E
    {0x33, "OldBorderStyle"},          // E
    {0x35, "BorderLineStyle"},         // E
    {0x36, "SizeMode"},                // E
    {0x37, "PictureAlignment"},        // E
    {0x38, "PictureType"},             // E
    {0x60, "Left"},                    // E
    {0x61, "Top"},                     // E
    {0x62, "Width"},                   // E
    {0x63, "Height"},                  // E
    {0x9C, "BackColor"},               // N: a colour, before BorderColor
    {0x9D, "BorderColor"},             // E
    {0xDC, "Name"},                    // E
    {0xDF, "PictureData", kBinary},    // N
    {0xE3, "ObjectPalette", kBinary},  // W
    {0xE4, "Tag"},                     // N
    {0xE8, "Picture"},                 // I
    {0xEB, "GUID", kBinary},           // E
};

constexpr DesignTag kBoundObjectFrameTags[] = {
    {0x30, "SizeMode"},        // O
    {0x32, "SpecialEffect"},   // E
    {0x33, "OldBorderStyle"},  // E
    {0x35, "OverlapFlags"},    // N: 85, 215
    {0x3A, "BackStyle"},       // E
    {0x60, "Left"},            // E
    {0x61, "Top"},             // E
    {0x62, "Width"},           // E
    {0x63, "Height"},          // E
    {0x65, "ColumnWidth"},     // N: the check
    {0x67, "LabelX"},          // N: box's ints
    {0x69, "TabIndex"},        // N: 2, 3
    {0xDC, "Name"},            // E
    {0xDD, "ControlSource"},   // N
    {0xDE, "StatusBarText"},   // N
    {0xEF, "Tag"},             // N
    {0xF5, "GUID", kBinary},   // N
};

constexpr DesignTag kChartTags[] = {
    {0x01, "ColumnHeads"},       // I
    {0x05, "TabStop"},           // I
    {0x30, "SizeMode"},          // I
    {0x32, "RowSourceTypeInt"},  // I
    {0x33, "SpecialEffect"},     // I
    {0x34, "BackStyle"},         // I
    {0x35, "OldBorderStyle"},    // I
    {0x37, "OverlapFlags"},      // I
    {0x61, "Left"},              // W
    {0x62, "Top"},               // W
    {0x63, "Width"},             // I
    {0x64, "Height"},            // I
    {0x67, "TabIndex"},          // I
    {0x9C, "BackColor"},         // I
    {0xDC, "Name"},              // E
    {0xDD, "OleData", kBinary},  // N
    {0xDE, "RowSourceType"},     // N
    {0xDF, "RowSource"},         // N
    {0xE0, "LinkChildFields"},   // N
    {0xE1, "LinkMasterFields"},  // N
    {0xE3, "Class"},             // N
    {0xEF, "Tag"},               // N
    {0xF0, "OLEClass"},          // N
    {0xF5, "GUID", kBinary},     // N
};

constexpr DesignTag kLineTags[] = {
    {0x00, "Visible"},          // E
    {0x01, "LineSlant"},        // E
    {0x31, "OldBorderStyle"},   // N: 0 in the default records that clear every border
    {0x32, "BorderWidth"},      // E
    {0x33, "OverlapFlags"},     // E
    {0x34, "BorderLineStyle"},  // E
    {0x35, "SpecialEffect"},    // E
    {0x60, "Left"},             // E
    {0x61, "Top"},              // E
    {0x62, "Width"},            // E
    {0x63, "Height"},           // E
    {0x9C, "BorderColor"},      // E
    {0xDC, "Name"},             // E
    {0xDD, "Tag"},              // N
    {0xDF, "GUID", kBinary},    // E
};

constexpr DesignTag kRectangleTags[] = {
    {0x31, "SpecialEffect"},    // E
    {0x32, "BackStyle"},        // E
    {0x33, "OldBorderStyle"},   // E
    {0x34, "BorderWidth"},      // E
    {0x35, "OverlapFlags"},     // E
    {0x36, "BorderLineStyle"},  // E
    {0x60, "Left"},             // E
    {0x61, "Top"},              // E
    {0x62, "Width"},            // E
    {0x63, "Height"},           // E
    {0x9C, "BackColor"},        // E
    {0x9D, "BorderColor"},      // E
    {0xDC, "Name"},             // E
    {0xE2, "Tag"},              // N
    {0xE4, "GUID", kBinary},    // E
};

constexpr DesignTag kTabControlTags[] = {
    {0x31, "OverlapFlags"},     // E
    {0x32, "TextFontCharSet"},  // N: 128 in Japanese
    {0x34, "TextFontFamily"},   // N: 2, 50
    {0x35, "BackStyle"},        // E
    {0x60, "Left"},             // E
    {0x61, "Top"},              // E
    {0x62, "Width"},            // E
    {0x63, "Height"},           // E
    {0x64, "FontSize"},         // E
    {0x66, "TabIndex"},         // E
    {0xDC, "Name"},             // E
    {0xDF, "FontName"},         // E
    {0xE7, "OnChange"},         // I
    {0xE8, "Tag"},              // N
    {0xEB, "GUID", kBinary},    // E
};

constexpr DesignTag kPageTags[] = {
    {0x00, "Visible"},               // I
    {0x31, "OverlapFlags"},          // E
    {0x60, "Left"},                  // E
    {0x61, "Top"},                   // E
    {0x62, "Width"},                 // E
    {0x63, "Height"},                // E
    {0x9C, "BorderColor"},           // E
    {0xDC, "Name"},                  // E
    {0xE2, "OnClick"},               // I
    {0xE3, "Tag"},                   // N
    {0xE7, "PictureData", kBinary},  // I
    {0xE8, "Caption"},               // E
    {0xEA, "GUID", kBinary},         // E
};

constexpr DesignTag kPageBreakTags[] = {
    {0x60, "Left"},           // W: before Top
    {0x61, "Top"},            // N
    {0x62, "Width"},          // N: 283 in defaults
    {0xDC, "Name"},           // E
    {0xDD, "Tag"},            // N
    {0xDF, "GUID", kBinary},  // N
};

constexpr DesignTag kFormTags[] = {
    {0x03, "AutoResize"},                  // E
    {0x04, "PopUp"},                       // E
    {0x05, "Modal"},                       // E
    {0x06, "RecordSelectors"},             // E
    {0x0B, "MaxButton"},                   // E
    {0x0C, "MinButton"},                   // E
    {0x0D, "ControlBox"},                  // E
    {0x0E, "ShortcutMenu"},                // E
    {0x0F, "AutoCenter"},                  // E
    {0x10, "NavigationButtons"},           // E
    {0x11, "AllowDeletions"},              // N
    {0x12, "CloseButton"},                 // E
    {0x13, "PictureTiling"},               // W
    {0x14, "DividingLines"},               // E
    {0x15, "AllowAdditions"},              // N
    {0x16, "KeyPreview"},                  // E
    {0x18, "FilterOn"},                    // E
    {0x19, "OrderByOn"},                   // E
    {0x1A, "AllowEdits"},                  // W
    {0x1C, "AllowDesignChanges"},          // E
    {0x1D, "MaxRecButton"},                // E
    {0x30, "DefaultView"},                 // E
    {0x31, "AllowUpdating"},               // N
    {0x32, "ScrollBars"},                  // E
    {0x33, "ViewsAllowed"},                // E
    {0x36, "RecordLocks"},                 // E
    {0x37, "TabularCharSet"},              // E
    {0x38, "TabularFamily"},               // E
    {0x39, "BorderStyle"},                 // E
    {0x3D, "PictureAlignment"},            // E
    {0x3F, "PictureSizeMode"},             // E
    {0x42, "DatasheetGridlinesBehavior"},  // E
    {0x43, "Cycle"},                       // O: values 1, 2
    {0x61, "GridX"},                       // E
    {0x62, "GridY"},                       // E
    {0x63, "Width"},                       // E
    {0x65, "DatasheetFontHeight"},         // E
    {0x67, "ItemSuffix"},                  // E
    {0x68, "Left"},                        // E
    {0x69, "Top"},                         // E
    {0x6A, "Right"},                       // E
    {0x6B, "Bottom"},                      // E
    {0x9D, "TimerInterval"},               // E
    {0xA0, "DatasheetGridlinesColor"},     // E
    {0xA1, "MaxRecords"},                  // E
    {0xBC, "PaintPalette", kBinary},       // N
    {0xBD, "OnUnload"},                    // P
    {0xC1, "Tag"},                         // E
    {0xC3, "Filter"},                      // P
    {0xC7, "PictureData", kBinary},        // N
    {0xC8, "OrderBy"},                     // N
    {0xCB, "Picture"},                     // N
    {0xCD, "Toolbar"},                     // N: "tbrRecords"
    {0xCE, "RecSrcDt", kBinary},           // E
    {0xD0, "GUID", kBinary},               // E
    {0xD1, "NameMap", kBinary},            // E
    {0xDC, "RecordSource"},                // N
    {0xDD, "Caption"},                     // E
    {0xDE, "OnCurrent"},                   // E
    {0xDF, "BeforeInsert"},                // O
    {0xE0, "OnDelete"},                    // E
    {0xE1, "BeforeUpdate"},                // N
    {0xE2, "AfterUpdate"},                 // E
    {0xE3, "OnOpen"},                      // E
    {0xE4, "OnClose"},                     // E
    {0xE5, "MenuBar"},                     // N: "mnuMainMenu"
    {0xE7, "DatasheetFontName"},           // E
    {0xEA, "PrtMip", kBinary},             // E
    {0xEB, "PrtDevMode", kBinary},         // E
    {0xEC, "PrtDevNames", kBinary},        // E
    {0xED, "OnKeyDown"},                   // E
    {0xF3, "OnTimer"},                     // E
    {0xF4, "OnActivate"},                  // P
    {0xF6, "OnGotFocus"},                  // P
    {0xF8, "OnResize"},                    // E
    {0xFB, "OnLoad"},                      // E
    {0x112, "AllowDatasheetView"},         // E
    {0x113, "AllowPivotTableView"},        // E
    {0x114, "AllowPivotChartView"},        // E
    {0x115, "AllowPivotChartView"},        // E
};

constexpr DesignTag kReportTags[] = {
    {0x02, "LayoutForPrint"},              // E
    {0x0F, "AutoCenter"},                  // W
    {0x14, "DividingLines"},               // E
    {0x18, "FilterOn"},                    // N: as the form
    {0x19, "OrderByOn"},                   // E
    {0x1C, "AllowDesignChanges"},          // E
    {0x30, "DefaultView"},                 // E
    {0x34, "PageHeader"},                  // N
    {0x35, "PageFooter"},                  // N
    {0x36, "RecordLocks"},                 // I
    {0x37, "TabularCharSet"},              // I
    {0x38, "TabularFamily"},               // I
    {0x3A, "DateGrouping"},                // E
    {0x3C, "GrpKeepTogether"},             // E
    {0x3D, "PictureAlignment"},            // E
    {0x42, "DatasheetGridlinesBehavior"},  // E
    {0x61, "GridX"},                       // E
    {0x62, "GridY"},                       // E
    {0x63, "Width"},                       // E
    {0x65, "DatasheetFontHeight"},         // E
    {0x67, "ItemSuffix"},                  // E
    {0x68, "Left"},                        // N
    {0x69, "Top"},                         // N
    {0x6A, "Right"},                       // N
    {0x6B, "Bottom"},                      // N
    {0xA0, "DatasheetGridlinesColor"},     // E
    {0xC2, "OnNoData"},                    // N
    {0xC3, "Filter"},                      // N: filter expressions
    {0xC6, "OnPage"},                      // P
    {0xC7, "PictureData", kBinary},        // N
    {0xC8, "OrderBy"},                     // E
    {0xCB, "Picture"},                     // N
    {0xCE, "RecSrcDt", kBinary},           // E
    {0xD0, "GUID", kBinary},               // N
    {0xD1, "NameMap", kBinary},            // N
    {0xDC, "RecordSource"},                // E
    {0xDD, "Caption"},                     // E
    {0xE3, "OnOpen"},                      // N
    {0xE4, "OnClose"},                     // N
    {0xE7, "DatasheetFontName"},           // E
    {0xEA, "PrtMip", kBinary},             // E
    {0xEB, "PrtDevMode", kBinary},         // E
    {0xEC, "PrtDevNames", kBinary},        // E
    {0xF4, "OnActivate"},                  // P
};

constexpr DesignTag kSectionTags[] = {
    {0x00, "KeepTogether"},   // E
    {0x01, "Visible"},        // W
    {0x02, "CanGrow"},        // E
    {0x03, "CanShrink"},      // W
    {0x04, "RepeatSection"},  // W
    {0x30, "ForceNewPage"},   // N
    {0x31, "NewRowOrCol"},    // W
    {0x32, "DisplayWhen"},    // W
    {0x60, "Height"},         // E
    {0x61, "BreakLevel"},     // N
    {0x9C, "BackColor"},      // E
    {0xDC, "OnFormat"},       // N
    {0xDD, "OnPrint"},        // N
    {0xDE, "OnRetreat"},      // N
    {0xDF, "Name"},           // E
    {0xE0, "Tag"},            // E
    {0xE7, "GUID", kBinary},  // E
};

constexpr DesignTag kGroupLevelTags[] = {
    {0x00, "SortOrder"},      // E
    {0x01, "GroupHeader"},    // E
    {0x02, "GroupFooter"},    // E
    {0x30, "KeepTogether"},   // N
    {0x60, "GroupOn"},        // N
    {0x9C, "GroupInterval"},  // N
    {0xDC, "ControlSource"},  // E
};
constexpr DesignTag kUnboundObjectFrameTags[] = {
    {0x30, "SizeMode"},        // N: the chart's
    {0x33, "SpecialEffect"},   // E
    {0x34, "BackStyle"},       // E
    {0x35, "OldBorderStyle"},  // E
    {0x61, "Left"},            // N: the chart's
    {0x62, "Top"},             // N: the chart's
    {0x63, "Width"},           // I
    {0x64, "Height"},          // I
    {0x67, "TabIndex"},        // N: the chart's
    {0x9D, "BorderColor"},     // N: a colour
    {0xDC, "Name"},            // E
    {0xF0, "OLEClass"},        // N: the chart's
};

constexpr DesignTag kCustomControlTags[] = {
    {0x32, "SpecialEffect"},  // E
    {0x62, "Width"},          // E
    {0x63, "Height"},         // E
    {0xDC, "Name"},           // E
};

struct ClassTags {
    int objectClass;
    std::span<const DesignTag> tags;
};

// Sections of every kind share one table (98 detail, 99/9A form or report header and footer,
// 9B/9C page header and footer, 9D/9E group header and footer).
constexpr auto kClassTags = std::to_array<ClassTags>({
    {0x64, kLabelTags},      {0x65, kRectangleTags},     {0x66, kLineTags},
    {0x67, kImageTags},      {0x68, kCommandButtonTags}, {0x69, kOptionButtonTags},
    {0x6A, kCheckBoxTags},   {0x6B, kOptionGroupTags},   {0x6C, kBoundObjectFrameTags},
    {0x6D, kTextBoxTags},    {0x6E, kListBoxTags},       {0x6F, kComboBoxTags},
    {0x70, kSubformTags},    {0x71, kChartTags},         {0x72, kUnboundObjectFrameTags},
    {0x76, kPageBreakTags},  {0x77, kCustomControlTags}, {0x7A, kToggleButtonTags},
    {0x7B, kTabControlTags}, {0x7C, kPageTags},          {0x96, kFormTags},
    {0x97, kReportTags},     {0x98, kSectionTags},       {0x99, kSectionTags},
    {0x9A, kSectionTags},    {0x9B, kSectionTags},       {0x9C, kSectionTags},
    {0x9D, kSectionTags},    {0x9E, kSectionTags},       {0x9F, kGroupLevelTags},
});

using Role = DesignClassRole;

constexpr const host::ControlType& kObjectFrame = *host::FindControlTypeNamed("ObjectFrame");

// The chart (71) is Microsoft Graph in an unbound object frame: SaveAsText writes it as its own
// block kind, Visual Basic sees an ObjectFrame.
constexpr auto kClassesBesideControlTypes = std::to_array<DesignClass>({
    {0x71, Role::Control, "Chart", kObjectFrame.name, kObjectFrame.code},
    {0x96, Role::Root, "Form", "Form", 0},
    {0x97, Role::Root, "Report", "Report", 0},
    {0x98, Role::Section, "Section", "Section", 0},
    {0x99, Role::Section, "FormHeader", "Section", 0},
    {0x9A, Role::Section, "FormFooter", "Section", 0},
    {0x9B, Role::Section, "PageHeader", "Section", 0},
    {0x9C, Role::Section, "PageFooter", "Section", 0},
    {0x9D, Role::Section, "BreakHeader", "Section", 0},
    {0x9E, Role::Section, "BreakFooter", "Section", 0},
    {0x9F, Role::GroupLevel, "BreakLevel", "", 0},
});

// A control's object class is its ControlType.
constexpr auto kClasses = [] {
    std::array<DesignClass, host::kControlTypes.size() + kClassesBesideControlTypes.size()> all{};
    auto out = all.begin();
    for (const auto& type : host::kControlTypes)
        *out++ = {type.code, Role::Control, type.blockKind, type.name, type.code};
    std::ranges::copy(kClassesBesideControlTypes, out);
    return all;
}();

struct IdName {
    std::uint16_t id;
    std::string_view name;
};

// Fixed by aligning the paired samples with their exports (E), except where marked: P ids seen on
// an explicit entry whose module has the matching procedure, N ids named by their values.
constexpr auto kPropertyIds = std::to_array<IdName>({
    {0x002, "AccessKey"},  // N: command buttons' tag 32, values 'A', 'E', 'F', 'N'
    {0x003, "AddColon"},
    {0x004, "SpecialEffect"},
    {0x006, "AutoResize"},
    {0x007, "Picture"},
    {0x008, "BorderColor"},
    {0x009, "BorderStyle"},
    {0x00A, "BorderWidth"},
    {0x00B, "BorderLineStyle"},
    {0x00C, "Bottom"},
    {0x00D, "BoundColumn"},  // O: see the combo box's tag 9C
    {0x00E, "CanGrow"},
    {0x011, "Caption"},
    {0x012, "ColumnWidths"},
    {0x013, "RecordSelectors"},
    {0x014, "Name"},
    {0x016, "EventProcPrefix"},
    {0x017, "DefaultValue"},
    {0x019, "Enabled"},
    {0x01A, "RecordLocks"},
    {0x01B, "ControlSource"},
    {0x01C, "BackColor"},
    {0x01D, "BackStyle"},
    {0x01F, "ShortcutMenu"},
    {0x021, "FontItalic"},
    {0x022, "FontName"},
    {0x023, "FontSize"},
    {0x024, "FontUnderline"},
    {0x025, "FontWeight"},
    {0x026, "Format"},
    {0x029, "GridX"},
    {0x02A, "GridY"},
    {0x02C, "Height"},
    {0x031, "LinkChildFields"},   // N: the tag the tables name
    {0x032, "LinkMasterFields"},  // N: the tag the tables name
    {0x034, "LabelX"},
    {0x035, "LabelY"},
    {0x036, "Left"},
    {0x037, "LineSlant"},
    {0x038, "Locked"},
    {0x03E, "Modal"},
    {0x03F, "MaxRecButton"},
    {0x043, "LimitToList"},
    {0x046, "ColumnCount"},
    {0x047, "DecimalPlaces"},
    {0x048, "InputMask"},
    {0x04A, "EnterKeyBehavior"},
    {0x04B, "KeepTogether"},
    {0x04C, "OLEClass"},  // N: a chart's "Microsoft Graph Chart"
    {0x04D, "OnOpen"},
    {0x04E, "OnClose"},
    {0x04F, "OnDelete"},
    {0x053, "OnPage"},  // P: a report's Report_Page
    {0x056, "AfterUpdate"},
    {0x057, "OnCurrent"},
    {0x059, "SizeMode"},
    {0x05A, "PopUp"},
    {0x05B, "RowSource"},
    {0x05C, "RowSourceTypeInt"},
    {0x05D, "RowSourceType"},
    {0x05E, "MaxButton"},
    {0x05F, "MinButton"},
    {0x061, "ControlBox"},
    {0x063, "ObjectPalette"},
    {0x064, "PaintPalette"},
    {0x068, "OnKeyDown"},
    {0x06A, "OnKeyPress"},  // P: a text box's _KeyPress
    {0x06E, "OnTimer"},
    {0x06F, "TimerInterval"},
    {0x070, "OnActivate"},  // P: a report's Report_Activate
    {0x072, "OnChange"},
    {0x073, "OnGotFocus"},  // P
    {0x075, "OnResize"},
    {0x07E, "OnClick"},
    {0x07F, "OnLoad"},
    {0x080, "OnUnload"},  // P: Form_Unload beside Form_Activate
    {0x081, "Right"},
    {0x083, "ColumnHeads"},
    {0x084, "SourceObject"},  // N: the tag the tables name
    {0x088, "TextAlign"},
    {0x08D, "Top"},
    {0x08F, "LayoutForPrint"},
    {0x092, "ViewsAllowed"},
    {0x093, "DefaultView"},
    {0x094, "Visible"},
    {0x096, "Width"},
    {0x098, "ScrollBars"},
    {0x09A, "ListWidth"},
    {0x09C, "RecordSource"},
    {0x09E, "ItemSuffix"},
    {0x09F, "OverlapFlags"},
    {0x0A0, "DatasheetFontName"},
    {0x0A1, "DatasheetFontHeight"},
    {0x0A5, "ColumnOrder"},
    {0x0A6, "ColumnWidth"},
    {0x0AF, "GroupHeader"},
    {0x0B0, "GroupFooter"},  // N: the tag the tables name
    {0x0BC, "PictureData"},
    {0x0BD, "PrtMip"},
    {0x0BE, "PrtDevMode"},
    {0x0BF, "PrtDevNames"},
    {0x0C1, "TextFontCharSet"},
    {0x0C2, "TabularCharSet"},
    {0x0CC, "ForeColor"},
    {0x0DD, "Cancel"},
    {0x0DE, "OnEnter"},     // P
    {0x0E0, "OnDblClick"},  // P
    {0x0F0, "MenuBar"},     // N: "mnuMainMenu"
    {0x0F3, "TextFontFamily"},
    {0x0F4, "TabularFamily"},
    {0x0F5, "Filter"},  // P: a form's "codRelatorio = 5"
    {0x105, "TabIndex"},
    {0x106, "TabStop"},
    {0x10A, "Tag"},
    {0x116, "AutoCenter"},
    {0x117, "NavigationButtons"},
    {0x11A, "DateGrouping"},
    {0x11B, "GrpKeepTogether"},
    {0x125, "MultiSelect"},  // N: a list box's tag 38
    {0x12F, "CloseButton"},
    {0x135, "PictureAlignment"},
    {0x138, "PictureSizeMode"},
    {0x13A, "DividingLines"},
    {0x13D, "ControlTipText"},
    {0x13E, "DatasheetGridlinesBehavior"},
    {0x13F, "DatasheetGridlinesColor"},
    {0x147, "KeyPreview"},
    {0x149, "OldBorderStyle"},
    {0x14A, "Cycle"},  // O: a form's tag 43
    {0x14B, "OrderBy"},
    {0x14C, "FilterOn"},
    {0x150, "OrderByOn"},
    {0x155, "PictureType"},
    {0x157, "HyperlinkAddress"},
    {0x15A, "ColumnInfo"},
    {0x161, "Toolbar"},  // N: "tbrMainMenu", "tbrRecords"
    {0x164, "IMEMode"},  // N: a text box's tag 3E, values 1 and 2
    {0x166, "FELineBreak"},
    {0x169, "MaxRecords"},
    {0x16C, "RecSrcDt"},
    {0x175, "AllowDesignChanges"},
    {0x178, "GUID"},
    {0x179, "NameMap"},
    {0x17B, "IMESentenceMode"},
    {0x1A6, "AllowDatasheetView"},
    {0x1A7, "AllowPivotTableView"},
    {0x1A8, "AllowPivotChartView"},
    {0x1BE, "AsianLineBreak"},
});

// Fixed by aligning ExploreTheWorld.accdb's stored forms with the export committed with it: the
// default-control records and sections carry these ids with the values the export writes
// (ThemeFontIndex =1, BackTint =60.0, SplitFormSize =10710, a control's LayoutCachedLeft equal
// to its Left and LayoutCachedWidth to Left + Width). T ids follow the index/tint/shade pattern
// of their neighbours; no sample has shown them.
constexpr auto kLaterPropertyIds = std::to_array<IdName>({
    {0x1CF, "GridlineColor"},
    {0x1D9, "SplitFormSize"},
    {0x22D, "AllowValueListEdits"},
    {0x239, "InheritValueList"},
    {0x24B, "LayoutCachedLeft"},
    {0x24C, "LayoutCachedTop"},
    {0x24D, "LayoutCachedWidth"},
    {0x24E, "LayoutCachedHeight"},
    {0x268, "ThemeFontIndex"},
    {0x269, "BackThemeColorIndex"},
    {0x26A, "BackTint"},
    {0x26B, "BackShade"},
    {0x26C, "BorderThemeColorIndex"},
    {0x26D, "BorderTint"},
    {0x26E, "BorderShade"},
    {0x26F, "ForeThemeColorIndex"},
    {0x270, "ForeTint"},
    {0x271, "ForeShade"},
    {0x272, "GridlineThemeColorIndex"},
    {0x273, "GridlineTint"},  // T
    {0x274, "GridlineShade"},
    {0x275, "AlternateBackThemeColorIndex"},
    {0x276, "AlternateBackTint"},  // T
    {0x277, "AlternateBackShade"},
    {0x28A, "Shape"},
    {0x28E, "HoverThemeColorIndex"},
    {0x28F, "HoverTint"},
    {0x292, "PressedThemeColorIndex"},
    {0x294, "PressedShade"},
    {0x296, "HoverForeThemeColorIndex"},
    {0x297, "HoverForeTint"},
    {0x29A, "PressedForeThemeColorIndex"},
    {0x29B, "PressedForeTint"},
    {0x2B5, "Gradient"},
});

}  // namespace

const DesignClass* FindDesignClass(int objectClass) {
    const auto it = std::find_if(kClasses.begin(), kClasses.end(), [&](const DesignClass& c) {
        return c.objectClass == objectClass;
    });
    return it == kClasses.end() ? nullptr : &*it;
}

TagRange RangeOfCompactTag(std::uint32_t tag) {
    if (tag <= 0x2F)
        return TagRange::Flag;
    if (tag <= 0x5F)
        return TagRange::Byte;
    // Integers were seen up to 71 and longs up to A1; where the int/long and long/variable
    // boundaries lie inside 72-9B and A2-BB no stream has shown, so those sizes are not known.
    if (tag <= 0x71)
        return TagRange::Int;
    if (tag <= 0x9B)
        return TagRange::Unsized;
    if (tag <= 0xA1)
        return TagRange::Long;
    if (tag <= 0xBB)
        return TagRange::Unsized;
    if (tag <= 0xFC)
        return TagRange::Variable;
    if (tag <= 0xFF)
        return TagRange::Terminator;
    return TagRange::Unsized;
}

std::span<const DesignTag> DesignTagsOf(int objectClass) {
    for (const auto& c : kClassTags) {
        if (c.objectClass == objectClass)
            return c.tags;
    }
    return {};
}

const DesignTag* FindDesignTag(int objectClass, std::uint32_t tag) {
    for (const auto& row : DesignTagsOf(objectClass)) {
        if (row.tag == tag)
            return &row;
    }
    return nullptr;
}

std::string_view PropertyIdName(std::uint32_t id) {
    for (const auto& row : kPropertyIds) {
        if (row.id == id)
            return row.name;
    }
    return {};
}

std::string_view LaterPropertyIdName(std::uint32_t id) {
    for (const auto& row : kLaterPropertyIds) {
        if (row.id == id)
            return row.name;
    }
    return {};
}

}  // namespace zanfor::host::access
