#pragma once

// Access's control types, each in one row: read by the stored-design reader, the SaveAsText
// reader and the reports' vocabulary, so a type added here reaches all three.

#include <algorithm>
#include <array>
#include <string_view>

namespace zanfor::host {

struct ControlType {
    int code = 0;                      // Access's ControlType
    std::string_view name;             // as Visual Basic and the property sheets know it
    std::string_view blockKind;        // SaveAsText's block kind
    std::string_view reportBlockKind;  // the block kind in a report, when it differs
    std::string_view label;            // as the printed reports name it
};

inline constexpr auto kControlTypes = std::to_array<ControlType>({
    {100, "Label", "Label", "", "ﾗﾍﾞﾙ"},
    {101, "Rectangle", "Rectangle", "", "四角形"},
    {102, "Line", "Line", "", "線"},
    {103, "Image", "Image", "", "ｲﾒｰｼﾞ"},
    {104, "CommandButton", "CommandButton", "", "ｺﾏﾝﾄﾞﾎﾞﾀﾝ"},
    {105, "OptionButton", "OptionButton", "", "ｵﾌﾟｼｮﾝﾎﾞﾀﾝ"},
    {106, "CheckBox", "CheckBox", "", "ﾁｪｯｸﾎﾞｯｸｽ"},
    {107, "OptionGroup", "OptionGroup", "", "ｵﾌﾟｼｮﾝｸﾞﾙｰﾌﾟ"},
    {108, "BoundObjectFrame", "BoundObjectFrame", "", "連結ｵﾌﾞｼﾞｪｸﾄﾌﾚｰﾑ"},
    {109, "TextBox", "TextBox", "", "ﾃｷｽﾄﾎﾞｯｸｽ"},
    {110, "ListBox", "ListBox", "", "ﾘｽﾄﾎﾞｯｸｽ"},
    {111, "ComboBox", "ComboBox", "", "ｺﾝﾎﾞﾎﾞｯｸｽ"},
    {112, "Subform", "Subform", "Subreport", "ｻﾌﾞﾌｫｰﾑ/ｻﾌﾞﾚﾎﾟｰﾄ"},
    {114, "ObjectFrame", "UnboundObjectFrame", "", "非連結ｵﾌﾞｼﾞｪｸﾄﾌﾚｰﾑ"},
    {118, "PageBreak", "PageBreak", "", "改ﾍﾟｰｼﾞ"},
    {119, "CustomControl", "CustomControl", "", "ｶｽﾀﾑｺﾝﾄﾛｰﾙ"},
    {122, "ToggleButton", "ToggleButton", "", "ﾄｸﾞﾙﾎﾞﾀﾝ"},
    {123, "TabCtl", "Tab", "", "ﾀﾌﾞｺﾝﾄﾛｰﾙ"},
    {124, "Page", "Page", "", "ﾍﾟｰｼﾞ"},
});

// nullptr for a name no row has.
constexpr const ControlType* FindControlTypeNamed(std::string_view name) {
    const auto* it = std::ranges::find(kControlTypes, name, &ControlType::name);
    return it == kControlTypes.end() ? nullptr : it;
}

}  // namespace zanfor::host
