#include "collect/control_rows.h"

#include <optional>
#include <span>

#include "collect/vocabulary.h"
#include "core/progress.h"
#include "host/access/property_schema.h"
#include "util/vb_string.h"

namespace zanfor::collect {

namespace {

using host::Value;
using host::access::Control;
using Lookup = std::string (*)(std::string_view);

constexpr std::size_t kNameLength = 150;
constexpr double kTwipsPerCentimetre = 567;

// Whether a check box, option button or toggle button belongs to an option group.
enum class Member : std::uint8_t { Any, InGroup, NotInGroup };

// When a row is written; every condition but Always looks at `test`.
enum class When : std::uint8_t {
    Always,
    NotEmpty,
    IsFalse,
    IsTrue,
    ListWithoutRule,  // a combo box limited to its list and without a validation rule
};

enum class Show : std::uint8_t { Text, YesNo, Coded, Literal };

// One part of a row's value: a property's text, its yes/no word, a code turned into words by
// `lookup`, or the fixed text `name`.
struct Piece {
    std::string_view name{};
    Show show = Show::Text;
    Lookup lookup = nullptr;
};

enum class Compose : std::uint8_t {
    Nothing,  // the single empty row of a page break or custom control
    One,      // A
    Dot,      // A・B
    Paren,    // A(B)
    OrNone,   // A, or "なし" when A is empty
};

struct RowSpec {
    std::string_view types{};  // English type names separated by blanks
    Member member = Member::Any;
    std::string_view group{};
    std::string_view label{};
    When when = When::Always;
    std::string_view test{};
    Compose compose = Compose::One;
    Piece a{};
    Piece b{};
};

// A picture's PictureType is 0 when it is embedded and 1 when it is linked, the reverse of an
// OLE frame's OLEType codes, whose words OleTypeName gives.
std::string PictureTypeName(std::string_view code) {
    if (code == "0")
        return OleTypeName("1");
    if (code == "1")
        return OleTypeName("0");
    return OleTypeName(code);
}

constexpr Piece P(std::string_view name) { return {name}; }
constexpr Piece YN(std::string_view name) { return {name, Show::YesNo}; }
constexpr Piece Coded(std::string_view name, Lookup lookup) { return {name, Show::Coded, lookup}; }
constexpr Piece Fixed(std::string_view text) { return {text, Show::Literal}; }

constexpr std::string_view kData = "ﾃﾞｰﾀ";
constexpr std::string_view kFormat = "書式";
constexpr std::string_view kOther = "その他";
constexpr std::string_view kEvent = "ｲﾍﾞﾝﾄ";

constexpr std::string_view kButtons = "CheckBox OptionButton ToggleButton";
constexpr std::string_view kBound = "ComboBox ListBox TextBox OptionGroup BoundObjectFrame";

// The controls that always show their look, first in every table.
constexpr RowSpec kCaption{
    .types = "Label Page", .group = kFormat, .label = "標題", .a = P("Caption")};
constexpr RowSpec kLineStyle{.types = "Rectangle Line",
                             .group = kFormat,
                             .label = "線種・線幅",
                             .compose = Compose::Dot,
                             .a = Coded("BorderStyle", LineStyleName),
                             .b = P("BorderWidth")};
constexpr RowSpec kOleFrame{.types = "ObjectFrame",
                            .group = kFormat,
                            .label = "OLEｻｲｽﾞ・OLEｸﾗｽ",
                            .compose = Compose::Dot,
                            .a = Coded("SizeMode", SizeModeName),
                            .b = P("OLEClass")};

constexpr RowSpec kPicture{.types = "Image",
                           .group = kFormat,
                           .label = "ﾋﾟｸﾁｬ・ﾀｲﾌﾟ",
                           .when = When::NotEmpty,
                           .test = "Picture",
                           .compose = Compose::Dot,
                           .a = P("Picture"),
                           .b = Coded("PictureType", PictureTypeName)};
constexpr RowSpec kImageSize{.types = "Image",
                             .group = kFormat,
                             .label = "OLEｻｲｽﾞ・配置",
                             .when = When::NotEmpty,
                             .test = "Picture",
                             .compose = Compose::Dot,
                             .a = Coded("SizeMode", SizeModeName),
                             .b = P("PictureAlignment")};

constexpr RowSpec NotEmpty(std::string_view types, std::string_view group, std::string_view label,
                           std::string_view property, Member member = Member::Any) {
    return {.types = types,
            .member = member,
            .group = group,
            .label = label,
            .when = When::NotEmpty,
            .test = property,
            .a = P(property)};
}

constexpr RowSpec TabStop(std::string_view types, When when) {
    return {.types = types,
            .group = kOther,
            .label = "ﾀﾌﾞｽﾄｯﾌﾟ・移動順",
            .when = when,
            .test = "TabStop",
            .compose = Compose::Dot,
            .a = YN("TabStop"),
            .b = P("TabIndex")};
}

constexpr RowSpec DefaultAndLock(std::string_view types, Member member = Member::Any) {
    return {.types = types,
            .member = member,
            .group = kData,
            .label = "規定値・編集ﾛｯｸ",
            .when = When::IsFalse,
            .test = "Locked",
            .compose = Compose::Dot,
            .a = P("DefaultValue"),
            .b = YN("Locked")};
}

constexpr RowSpec Validation(std::string_view types, Member member = Member::Any) {
    return {.types = types,
            .member = member,
            .group = kData,
            .label = "入力規則(ﾒｯｾｰｼﾞ)",
            .when = When::NotEmpty,
            .test = "ValidationRule",
            .compose = Compose::Paren,
            .a = P("ValidationRule"),
            .b = P("ValidationText")};
}

constexpr RowSpec RowSourceRows[] = {
    {.types = "ComboBox ListBox",
     .group = kData,
     .label = "値集合ﾀｲﾌﾟ",
     .when = When::NotEmpty,
     .test = "RowSource",
     .a = Coded("RowSourceType", RowSourceTypeName)},
    NotEmpty("ComboBox ListBox", kData, "値集合ｿｰｽ", "RowSource"),
    {.types = "ComboBox ListBox",
     .group = kData,
     .label = "列数・連結列",
     .when = When::NotEmpty,
     .test = "RowSource",
     .compose = Compose::Dot,
     .a = P("ColumnCount"),
     .b = P("BoundColumn")},
};

constexpr RowSpec kFormatMask{.types = "ComboBox TextBox",
                              .group = kFormat,
                              .label = "書式・定型入力",
                              .when = When::NotEmpty,
                              .test = "Format",
                              .compose = Compose::Dot,
                              .a = P("Format"),
                              .b = P("InputMask")};

constexpr RowSpec kFormDetailed[] = {
    kCaption,
    kLineStyle,
    kOleFrame,
    TabStop("TabCtl", When::Always),
    {.types = "PageBreak CustomControl", .compose = Compose::Nothing},
    kPicture,
    kImageSize,
    NotEmpty("Subform", kData, "ｿｰｽｵﾌﾞｼﾞｪｸﾄ", "SourceObject"),
    NotEmpty("Subform", kData, "ﾘﾝｸ子ﾌｨｰﾙﾄﾞ", "LinkChildFields"),
    NotEmpty("Subform", kData, "ﾘﾝｸ親ﾌｨｰﾙﾄﾞ", "LinkMasterFields"),
    {.types = "Subform",
     .group = kData,
     .label = "編集ﾛｯｸ",
     .when = When::IsFalse,
     .test = "Locked",
     .a = YN("Locked")},
    TabStop("Subform", When::IsTrue),
    {.types = kButtons,
     .member = Member::InGroup,
     .group = kData,
     .label = "ｵﾌﾟｼｮﾝ値・編集ﾛｯｸ",
     .when = When::IsFalse,
     .test = "Locked",
     .compose = Compose::Dot,
     .a = P("OptionValue"),
     .b = YN("Locked")},
    NotEmpty(kButtons, kData, "ｺﾝﾄﾛｰﾙｿｰｽ", "ControlSource", Member::NotInGroup),
    DefaultAndLock(kButtons, Member::NotInGroup),
    Validation(kButtons, Member::NotInGroup),
    NotEmpty("CommandButton ToggleButton", kFormat, "標題", "Caption"),
    {.types = "CommandButton ToggleButton",
     .group = kFormat,
     .label = "ﾋﾟｸﾁｬ・ﾀｲﾌﾟ",
     .when = When::NotEmpty,
     .test = "Picture",
     .compose = Compose::Dot,
     .a = P("Picture"),
     .b = Coded("PictureType", PictureTypeName)},
    TabStop("CommandButton CheckBox OptionButton ToggleButton", When::IsTrue),
    NotEmpty("CommandButton CheckBox OptionButton ToggleButton", kOther, "ﾋﾝﾄﾃｷｽﾄ",
             "ControlTipText"),
    {.types = kBound,
     .group = kData,
     .label = "ｺﾝﾄﾛｰﾙｿｰｽ",
     .compose = Compose::OrNone,
     .a = P("ControlSource")},
    kFormatMask,
    {.types = "ComboBox TextBox",
     .group = kOther,
     .label = "IMEﾓｰﾄﾞ・保持",
     .compose = Compose::Dot,
     .a = Coded("IMEMode", ImeModeName),
     .b = YN("IMEHold")},
    RowSourceRows[0],
    RowSourceRows[1],
    RowSourceRows[2],
    DefaultAndLock("ComboBox ListBox TextBox OptionGroup"),
    Validation("ComboBox ListBox TextBox OptionGroup"),
    {.types = "ComboBox",
     .group = kData,
     .label = "入力ﾁｪｯｸ(ﾒｯｾｰｼﾞ)",
     .when = When::ListWithoutRule,
     .compose = Compose::Paren,
     .a = Fixed("はい"),
     .b = P("ValidationText")},
    NotEmpty("ComboBox ListBox TextBox", kData, "ｽﾃｰﾀｽﾊﾞｰ", "StatusBarText"),
    TabStop(kBound, When::IsTrue),
    NotEmpty(kBound, kOther, "ﾋﾝﾄﾃｷｽﾄ", "ControlTipText"),
};

constexpr RowSpec kFormSimple[] = {
    kCaption,
    kLineStyle,
    kOleFrame,
    TabStop("TabCtl", When::Always),
    {.types = "PageBreak CustomControl", .compose = Compose::Nothing},
    kPicture,
    NotEmpty("Subform", kData, "ｿｰｽｵﾌﾞｼﾞｪｸﾄ", "SourceObject"),
    {.types = kButtons,
     .member = Member::InGroup,
     .group = kData,
     .label = "ｵﾌﾟｼｮﾝ値・編集ﾛｯｸ",
     .when = When::IsFalse,
     .test = "Locked",
     .compose = Compose::Dot,
     .a = P("OptionValue"),
     .b = YN("Locked")},
    NotEmpty(kButtons, kData, "ｺﾝﾄﾛｰﾙｿｰｽ", "ControlSource", Member::NotInGroup),
    NotEmpty("CommandButton", kFormat, "標題", "Caption"),
    {.types = kBound,
     .group = kData,
     .label = "ｺﾝﾄﾛｰﾙｿｰｽ",
     .compose = Compose::OrNone,
     .a = P("ControlSource")},
};

// A report's controls have no tab stop, hint, locking, validation, status bar or IME rows, and
// an empty control source gives no row.
constexpr RowSpec kReportDetailed[] = {
    kCaption,
    kLineStyle,
    kOleFrame,
    {.types = "TabCtl PageBreak CustomControl", .compose = Compose::Nothing},
    kPicture,
    kImageSize,
    NotEmpty("Subform", kData, "ｿｰｽｵﾌﾞｼﾞｪｸﾄ", "SourceObject"),
    NotEmpty("Subform", kData, "ﾘﾝｸ子ﾌｨｰﾙﾄﾞ", "LinkChildFields"),
    NotEmpty("Subform", kData, "ﾘﾝｸ親ﾌｨｰﾙﾄﾞ", "LinkMasterFields"),
    {.types = kButtons,
     .member = Member::InGroup,
     .group = kData,
     .label = "ｵﾌﾟｼｮﾝ値",
     .a = P("OptionValue")},
    NotEmpty(kButtons, kData, "ｺﾝﾄﾛｰﾙｿｰｽ", "ControlSource", Member::NotInGroup),
    NotEmpty("CommandButton ToggleButton", kFormat, "標題", "Caption", Member::NotInGroup),
    {.types = "CommandButton ToggleButton",
     .member = Member::NotInGroup,
     .group = kFormat,
     .label = "ﾋﾟｸﾁｬ・ﾀｲﾌﾟ",
     .when = When::NotEmpty,
     .test = "Picture",
     .compose = Compose::Dot,
     .a = P("Picture"),
     .b = Coded("PictureType", PictureTypeName)},
    NotEmpty(kBound, kData, "ｺﾝﾄﾛｰﾙｿｰｽ", "ControlSource"),
    kFormatMask,
    RowSourceRows[0],
    RowSourceRows[1],
    RowSourceRows[2],
};

constexpr RowSpec kReportSimple[] = {
    kCaption,
    kLineStyle,
    kOleFrame,
    {.types = "TabCtl PageBreak CustomControl", .compose = Compose::Nothing},
    kPicture,
    NotEmpty("Subform", kData, "ｿｰｽｵﾌﾞｼﾞｪｸﾄ", "SourceObject"),
    {.types = kButtons,
     .member = Member::InGroup,
     .group = kData,
     .label = "ｵﾌﾟｼｮﾝ値",
     .a = P("OptionValue")},
    NotEmpty(kButtons, kData, "ｺﾝﾄﾛｰﾙｿｰｽ", "ControlSource", Member::NotInGroup),
    NotEmpty("CommandButton", kFormat, "標題", "Caption"),
    NotEmpty(kBound, kData, "ｺﾝﾄﾛｰﾙｿｰｽ", "ControlSource"),
};

// The event properties of a form control, by index of its Properties collection. A check box,
// option button or toggle button in an option group has fewer properties, and its events sit
// lower: the range used depends on the collection's size.
struct EventRange {
    std::string_view types{};
    std::size_t first = 0;
    std::size_t last = 0;
    std::size_t countAbove = 0;  // 0: the range is fixed
    std::size_t smallFirst = 0;
    std::size_t smallLast = 0;
};

constexpr EventRange kEventRanges[] = {
    {"Subform", 28, 29},
    {"Image", 29, 33},
    {"TabCtl", 30, 38},
    {"CommandButton", 38, 49},
    {"ToggleButton", 41, 54, 41, 32, 39},
    {"CheckBox OptionButton", 34, 47, 33, 25, 32},
    {"OptionGroup", 35, 43},
    {"BoundObjectFrame", 46, 60},
    {"ListBox", 54, 67},
    {"TextBox", 66, 80},
    {"ComboBox", 68, 83},
};

// The value of a property, or nothing when the design does not tell it.
std::optional<Value> Read(const Control& c, std::string_view name) {
    if (c.isUnknown(name))
        return std::nullopt;
    return c.properties.get(name);
}

std::string YesNoText(const Value& v) { return YesNoName(v.toBool() ? "True" : "False"); }

std::string PieceText(const Control& c, const Piece& piece) {
    if (piece.show == Show::Literal)
        return std::string(piece.name);
    const auto v = Read(c, piece.name);
    if (!v)
        return std::string(kUnknownValue);
    switch (piece.show) {
        case Show::YesNo:
            return YesNoText(*v);
        case Show::Coded:
            return piece.lookup(v->toText());
        default:
            return v->toText();
    }
}

// Whether the row is written. A condition on a property the design does not tell may hold,
// so the row is written and shows the unknown value.
bool Holds(const Control& c, const RowSpec& row) {
    if (row.when == When::Always)
        return true;
    if (row.when == When::ListWithoutRule) {
        const auto rule = Read(c, "ValidationRule");
        const auto limited = Read(c, "LimitToList");
        return (!rule || rule->toText().empty()) && (!limited || limited->toBool());
    }
    const auto v = Read(c, row.test);
    if (!v)
        return true;
    switch (row.when) {
        case When::NotEmpty:
            return !v->toText().empty();
        case When::IsFalse:
            return !v->toBool();
        default:
            return v->toBool();
    }
}

std::string ValueOf(const Control& c, const RowSpec& row) {
    switch (row.compose) {
        case Compose::Nothing:
            return {};
        case Compose::Dot:
            return PieceText(c, row.a) + "・" + PieceText(c, row.b);
        case Compose::Paren:
            return PieceText(c, row.a) + "(" + PieceText(c, row.b) + ")";
        case Compose::OrNone: {
            std::string text = PieceText(c, row.a);
            return text.empty() ? std::string("なし") : text;
        }
        default:
            return PieceText(c, row.a);
    }
}

std::span<const RowSpec> RowsFor(bool report, Listing listing) {
    if (report)
        return listing == Listing::Detailed ? std::span<const RowSpec>(kReportDetailed)
                                            : std::span<const RowSpec>(kReportSimple);
    return listing == Listing::Detailed ? std::span<const RowSpec>(kFormDetailed)
                                        : std::span<const RowSpec>(kFormSimple);
}

std::string Centimetres(const Control& c, std::string_view name) {
    const auto twips = Read(c, name);
    if (!twips)
        return std::string(kUnknownValue);
    return host::FormatVbNumber(app::RoundHalfUp(twips->toDouble() / kTwipsPerCentimetre, 3)) +
           "cm";
}

// Position and size as the listings print them: Top, Left, Width and Height in centimetres
// ("1cm・2cm・3cm・1.499cm"); a page break has no size.
std::string Placement(const Control& c, std::string_view typeName) {
    std::string text = Centimetres(c, "Top") + "・" + Centimetres(c, "Left");
    if (typeName != "PageBreak")
        text += "・" + Centimetres(c, "Width") + "・" + Centimetres(c, "Height");
    return text;
}

}  // namespace

ControlRowWriter::ControlRowWriter(workdb::RowWriter& items, host::access::ObjectType kind,
                                   Listing listing)
    : items_(items), report_(kind == host::access::ObjectType::Report), listing_(listing) {}

void ControlRowWriter::write(const host::access::DesignObject& design, std::int64_t objectNo) {
    current_ = {};
    current_.objectNo = objectNo;
    for (const auto& c : design.controls)
        control(c);
}

void ControlRowWriter::control(const Control& c) {
    ++current_.controlNo;
    current_.rowNo = 0;
    current_.name = util::LeftRTrim(c.name(), kNameLength);
    current_.typeName = ControlTypeName(std::to_string(c.controlType()));
    const auto visible = Read(c, "Visible");
    current_.visible = visible ? (visible->toBool() ? "True" : "False") : kUnknownValue;
    current_.tlwh = Placement(c, current_.typeName);

    const bool member = InOptionGroup(c, current_.typeName);
    for (const auto& row : RowsFor(report_, listing_)) {
        if (!NamesType(row.types, current_.typeName))
            continue;
        if ((row.member == Member::InGroup && !member) ||
            (row.member == Member::NotInGroup && member))
            continue;
        if (Holds(c, row))
            WriteControlRow(row.group, row.label, ValueOf(c, row));
    }
    if (!report_ && listing_ == Listing::Detailed)
        events(c);
}

void ControlRowWriter::events(const Control& c) {
    const std::size_t count = AccessPropertyCount(c, current_.typeName, report_);
    for (const auto& range : kEventRanges) {
        if (!NamesType(range.types, current_.typeName))
            continue;
        const bool large = range.countAbove == 0 || count > range.countAbove;
        const std::size_t first = large ? range.first : range.smallFirst;
        const std::size_t last = large ? range.last : range.smallLast;
        // A collection shorter than its type's range (a design from elsewhere) ends the range.
        for (std::size_t i = first; i <= last && i < count; ++i) {
            const auto& p = c.properties.at(i);
            if (c.isUnknown(p.name)) {
                WriteControlRow(kEvent, EventPropertyLabel(p.name), kUnknownValue);
            } else if (!p.value.toText().empty()) {
                WriteControlRow(kEvent, EventPropertyLabel(p.name), p.value.toText());
            }
        }
        return;
    }
}

void ControlRowWriter::WriteControlRow(std::string_view group, std::string_view label,
                                       std::string_view value) {
    items_.addNew();
    items_.set("objectNo", current_.objectNo)
        .set("ControlNo", current_.controlNo)
        .set("PropertyNo", ++current_.rowNo)
        .setText("Name", current_.name)
        .setText("ControlType", ControlTypeLabel(current_.typeName))
        .setText("cntlVisible", current_.visible)
        .setText("TLWH", current_.tlwh)
        .setText("Bunrui", group)
        .setText("PropertyName", label)
        .setText("PropertyValue", value);
    items_.update();
}

bool NamesType(std::string_view types, std::string_view type) {
    while (!types.empty()) {
        const auto blank = types.find(' ');
        if (types.substr(0, blank) == type)
            return true;
        if (blank == std::string_view::npos)
            break;
        types.remove_prefix(blank + 1);
    }
    return false;
}

bool InOptionGroup(const Control& c, std::string_view typeName) {
    std::size_t index = 0;
    if (typeName == "CheckBox" || typeName == "OptionButton")
        index = 3;
    else if (typeName == "ToggleButton")
        index = 7;
    else
        return false;
    return index < c.properties.count() && c.properties.at(index).name == "OptionValue";
}

std::size_t AccessPropertyCount(const Control& c, std::string_view typeName, bool report) {
    const auto schema =
        host::access::PropertySchema(typeName, {report, InOptionGroup(c, typeName)});
    const std::size_t count = c.properties.count();
    return schema.empty() ? count : std::min(count, schema.size());
}

}  // namespace zanfor::collect
