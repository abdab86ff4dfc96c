#pragma once

// The design of a form or report in its SaveAsText form: the object's own properties, its
// sections, its controls with their nesting, and a report's grouping levels.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/export/saved_text.h"

namespace zanfor::host::exports {

struct DesignSection {
    std::string kind;  // as written: "FormHeader", "Section", "BreakHeader", ...
    std::string name;  // its Name property ("Detail", "ReportHeader", ...)
    std::vector<SavedProperty> properties;
};

struct DesignControl {
    std::string typeName;  // ControlTypeName's spelling: "TextBox", "ObjectFrame", "TabCtl", ...
    int controlType = 0;   // Access's ControlType code; 0 for a kind Access 2000 did not have
    std::string name;
    int parent = -1;   // index of the control that holds it, -1 when its section does
    int section = -1;  // index into the design's sections
    // The form's default settings for the type (its template), then the control's own; a later
    // property of the same name overrides an earlier one.
    std::vector<SavedProperty> properties;
    int line = 0;
};

struct DesignText {
    bool report = false;
    std::vector<SavedProperty> properties;
    std::vector<DesignSection> sections;
    // Every control in the order of the text, depth first: a control comes before the
    // controls it holds (its attached label, an option group's buttons, a tab control's pages
    // and their contents). This is the order of the Controls collection.
    std::vector<DesignControl> controls;
    std::vector<std::vector<SavedProperty>> groupLevels;  // one per "Begin BreakLevel"
    std::optional<std::string> code;                      // after CodeBehindForm
};

// Throws host::Error (err::kExportMalformed) naming `source` when the text holds no
// "Begin Form" / "Begin Report" block.
DesignText ReadDesignText(SavedText text, const std::string& source);

// The ControlType code and ControlTypeName spelling of a SaveAsText block kind ("Tab" is
// "TabCtl", "UnboundObjectFrame" is "ObjectFrame"). A kind Access 2000 did not have (the
// "EmptyCell" of later layouts) keeps its own spelling and code 0.
struct ControlKind {
    int code = 0;
    std::string_view typeName;
};
ControlKind ControlKindOf(std::string_view blockKind);

}  // namespace zanfor::host::exports
