#include "output/xlsx_workbook.h"

#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <fstream>
#include <iterator>
#include <sstream>
#include <system_error>

#include "host/error.h"
#include "output/xlsx_workbook_impl.h"
#include "util/jet_date.h"
#include "util/vb_string.h"

namespace zanfor::output {

namespace {

const std::vector<std::string_view> kWorksheetOrder = {"sheetPr",
                                                       "dimension",
                                                       "sheetViews",
                                                       "sheetFormatPr",
                                                       "cols",
                                                       "sheetData",
                                                       "sheetCalcPr",
                                                       "sheetProtection",
                                                       "protectedRanges",
                                                       "scenarios",
                                                       "autoFilter",
                                                       "sortState",
                                                       "dataConsolidate",
                                                       "customSheetViews",
                                                       "mergeCells",
                                                       "phoneticPr",
                                                       "conditionalFormatting",
                                                       "dataValidations",
                                                       "hyperlinks",
                                                       "printOptions",
                                                       "pageMargins",
                                                       "pageSetup",
                                                       "headerFooter",
                                                       "rowBreaks",
                                                       "colBreaks",
                                                       "customProperties",
                                                       "cellWatches",
                                                       "ignoredErrors",
                                                       "smartTags",
                                                       "drawing",
                                                       "legacyDrawing",
                                                       "legacyDrawingHF",
                                                       "picture",
                                                       "oleObjects",
                                                       "controls",
                                                       "webPublishItems",
                                                       "tableParts",
                                                       "extLst"};
const std::vector<std::string_view> kWorkbookOrder = {"fileVersion",    "fileSharing",
                                                      "workbookPr",     "workbookProtection",
                                                      "bookViews",      "sheets",
                                                      "functionGroups", "externalReferences",
                                                      "definedNames",   "calcPr",
                                                      "oleSize",        "customWorkbookViews",
                                                      "pivotCaches",    "smartTagPr",
                                                      "smartTagTypes",  "webPublishing",
                                                      "fileRecoveryPr", "webPublishObjects",
                                                      "extLst"};
const std::vector<std::string_view> kStyleSheetOrder = {
    "numFmts",    "fonts", "fills",       "borders", "cellStyleXfs", "cellXfs",
    "cellStyles", "dxfs",  "tableStyles", "colors",  "extLst"};
const std::vector<std::string_view> kSheetViewOrder = {"pane", "selection", "pivotSelection",
                                                       "extLst"};

// One line of the default 11-point font, in points.
constexpr double kLineHeight = 13.5;
constexpr double kMaxRowHeight = 409.5;
constexpr double kMaxColumnWidth = 255;
constexpr int kMaxCellCharacters = 32767;

constexpr std::string_view kDeclaration =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>";
constexpr std::string_view kFont =
    "<name val=\"ＭＳ Ｐゴシック\"/><family val=\"3\"/><charset val=\"128\"/>";
constexpr std::string_view kThin = " style=\"thin\"><color auto=\"1\"/>";

std::string SkeletonStyles() {
    const std::string font(kFont);
    const std::string thin(kThin);
    return std::string(kDeclaration) + "<styleSheet xmlns=\"" + std::string(kMainNs) +
           "\"><fonts count=\"3\"><font><sz val=\"11\"/>" + font +
           "</font><font><b/><sz val=\"14\"/>" + font + "</font><font><b/><sz val=\"11\"/>" + font +
           "</font></fonts><fills count=\"3\"><fill><patternFill patternType=\"none\"/></fill>"
           "<fill><patternFill patternType=\"gray125\"/></fill><fill><patternFill "
           "patternType=\"solid\"><fgColor rgb=\"FFDDEBF7\"/><bgColor indexed=\"64\"/>"
           "</patternFill></fill></fills><borders count=\"2\"><border><left/><right/><top/>"
           "<bottom/><diagonal/></border><border><left" +
           thin + "</left><right" + thin + "</right><top" + thin + "</top><bottom" + thin +
           "</bottom><diagonal/></border></borders><cellStyleXfs count=\"1\"><xf numFmtId=\"0\" "
           "fontId=\"0\" fillId=\"0\" borderId=\"0\"/></cellStyleXfs><cellXfs count=\"3\"><xf "
           "numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\"/><xf "
           "numFmtId=\"0\" fontId=\"1\" fillId=\"0\" borderId=\"0\" xfId=\"0\" "
           "applyFont=\"1\"/><xf numFmtId=\"0\" fontId=\"2\" fillId=\"2\" borderId=\"1\" "
           "xfId=\"0\" applyFont=\"1\" applyFill=\"1\" applyBorder=\"1\" "
           "applyAlignment=\"1\"><alignment horizontal=\"center\" vertical=\"center\"/></xf>"
           "</cellXfs><cellStyles count=\"1\"><cellStyle name=\"標準\" xfId=\"0\" "
           "builtinId=\"0\"/></cellStyles></styleSheet>";
}

std::string SkeletonWorksheet() {
    return std::string(kDeclaration) + "<worksheet xmlns=\"" + std::string(kMainNs) +
           "\" xmlns:r=\"" + std::string(kRelNs) +
           "\"><sheetViews><sheetView workbookViewId=\"0\"/></sheetViews><sheetFormatPr "
           "defaultRowHeight=\"13.5\"/><sheetData/><pageMargins left=\"0.7\" right=\"0.7\" "
           "top=\"0.75\" bottom=\"0.75\" header=\"0.3\" footer=\"0.3\"/></worksheet>";
}

bool SameNameIgnoringAsciiCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        return lower(x) == lower(y);
    });
}

int AttributeInt(const pugi::xml_node& node, const char* name, int fallback = 0) {
    const auto a = node.attribute(name);
    if (!a)
        return fallback;
    int value = fallback;
    const std::string_view text = a.value();
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

void SetAttribute(pugi::xml_node node, const char* name, std::string_view value) {
    auto a = node.attribute(name);
    if (!a)
        a = node.append_attribute(name);
    a.set_value(std::string(value).c_str());
}

void UpdateCount(pugi::xml_node list, std::string_view item) {
    SetAttribute(list, "count", std::to_string(Children(list, item).size()));
}

int CellColumn(const pugi::xml_node& cell) {
    int row = 0;
    int column = 0;
    return ParseCellReference(cell.attribute("r").value(), row, column) ? column : 0;
}

bool HasValue(const pugi::xml_node& cell) {
    return Child(cell, "v") || Child(cell, "is") || Child(cell, "f");
}

void RemoveValue(pugi::xml_node cell) {
    for (const char* name : {"v", "f", "is"})
        for (auto c : Children(cell, name))
            cell.remove_child(c);
    cell.remove_attribute("t");
}

std::string NodeText(const pugi::xml_node& node) {
    std::ostringstream out;
    node.print(out, "", pugi::format_raw);
    return out.str();
}

// Text of an <is> or <si>: its <t>, or the <t> of each run.
std::string RichText(const pugi::xml_node& node) {
    if (auto t = Child(node, "t"))
        return t.text().get();
    std::string out;
    for (auto r : Children(node, "r"))
        out += Child(r, "t").text().get();
    return out;
}

std::string QuotedSheetName(std::string_view name) {
    std::string out = "'";
    for (char c : name)
        out += c == '\'' ? std::string("''") : std::string(1, c);
    return out + "'";
}

std::string AbsoluteAddress(const CellRange& r) {
    return "$" + ColumnName(r.firstColumn) + "$" + std::to_string(r.firstRow) + ":$" +
           ColumnName(r.lastColumn) + "$" + std::to_string(r.lastRow);
}

void CheckRange(const CellRange& r) {
    if (r.firstRow < 1 || r.firstColumn < 1 || r.lastRow > kMaxRows || r.lastColumn > kMaxColumns ||
        r.firstRow > r.lastRow || r.firstColumn > r.lastColumn)
        throw host::Error(kWorkbookLimit, "セル範囲が正しくありません。");
}

bool IsWide(char32_t c) {
    if (c >= 0xFF61 && c <= 0xFF9F)  // half-width katakana
        return false;
    return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2010 && c <= 0x2BFF) ||
           (c >= 0x2E80 && c <= 0xA4CF) || (c >= 0xAC00 && c <= 0xD7A3) ||
           (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F) ||
           (c >= 0xFF00 && c <= 0xFF60) || (c >= 0xFFE0 && c <= 0xFFE6) || c >= 0x1F300;
}

}  // namespace

bool ParseCellReference(std::string_view ref, int& row, int& column) {
    std::size_t i = 0;
    column = 0;
    while (i < ref.size() && ref[i] >= 'A' && ref[i] <= 'Z' && column <= kMaxColumns)
        column = column * 26 + (ref[i++] - 'A' + 1);
    row = 0;
    const std::size_t digits = i;
    while (i < ref.size() && ref[i] >= '0' && ref[i] <= '9' && row <= kMaxRows)
        row = row * 10 + (ref[i++] - '0');
    return i == ref.size() && i > digits && digits > 0 && column >= 1 && column <= kMaxColumns &&
           row >= 1 && row <= kMaxRows;
}

std::string ShortestNumber(double value) {
    if (!std::isfinite(value))
        return "0";
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

std::string CellSafeText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    int count = 0;
    for (std::size_t i = 0; i < text.size() && count < kMaxCellCharacters; ++count) {
        const char32_t c = util::NextUtf8(text, i);
        if ((c < 0x20 && c != '\t' && c != '\n' && c != '\r') || c == 0xFFFE || c == 0xFFFF) {
            char escape[16];
            std::snprintf(escape, sizeof escape, "_x%04X_", static_cast<unsigned>(c));
            out += escape;
        } else {
            util::AppendUtf8(c, out);
        }
    }
    return out;
}

std::string ColumnName(int column) {
    std::string name;
    for (; column > 0; column = (column - 1) / 26)
        name.insert(name.begin(), static_cast<char>('A' + (column - 1) % 26));
    return name;
}

std::string RangeAddress(const CellRange& r) {
    const std::string first = ColumnName(r.firstColumn) + std::to_string(r.firstRow);
    if (r.firstRow == r.lastRow && r.firstColumn == r.lastColumn)
        return first;
    return first + ":" + ColumnName(r.lastColumn) + std::to_string(r.lastRow);
}

double TextWidth(std::string_view text) {
    double widest = 0;
    double line = 0;
    for (std::size_t i = 0; i < text.size();) {
        const char32_t c = util::NextUtf8(text, i);
        if (c == '\n') {
            widest = std::max(widest, line);
            line = 0;
        } else if (c != '\r') {
            line += IsWide(c) ? 2 : 1;
        }
    }
    return std::max(widest, line);
}

void XlsxWorkbook::Impl::loadSheets() {
    workbookPart = package.targetOfType("", rel::kOfficeDocument);
    if (workbookPart.empty())
        ThrowDamaged(fileName, "_rels/.rels");
    auto root = workbookRoot();
    if (LocalName(root) != "workbook")
        ThrowDamaged(fileName, workbookPart);
    for (auto s : Children(Child(root, "sheets"), "sheet")) {
        const auto id = RelationshipId(s);
        if (!id)
            ThrowDamaged(fileName, workbookPart);
        sheets.push_back({package.target(workbookPart, id.value()), s, false, {}});
    }
}

pugi::xml_node XlsxWorkbook::Impl::workbookRoot() {
    return package.xml(workbookPart).document_element();
}

SheetRef& XlsxWorkbook::Impl::sheet(int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= sheets.size())
        throw host::Error(host::err::kSubscriptOutOfRange, "シート名が不正です。");
    return sheets[static_cast<std::size_t>(index)];
}

pugi::xml_node XlsxWorkbook::Impl::worksheet(int index) {
    auto& s = sheet(index);
    auto root = package.xml(s.part).document_element();
    if (LocalName(root) != "worksheet")
        ThrowDamaged(fileName, s.part);
    if (!s.indexed) {
        // Rows and cells may leave out their references, meaning "the next one": give every
        // one its reference so that later lookups need not count.
        auto data = OrderedChild(root, "sheetData", kWorksheetOrder);
        int nextRow = 1;
        for (auto r : Children(data, "row")) {
            int number = AttributeInt(r, "r");
            if (number < 1 || number > kMaxRows)
                number = std::min(nextRow, kMaxRows);
            SetAttribute(r, "r", std::to_string(number));
            s.rows.emplace(number, r);
            nextRow = number + 1;
            int nextColumn = 1;
            for (auto c : Children(r, "c")) {
                int column = CellColumn(c);
                if (column == 0)
                    column = std::min(nextColumn, kMaxColumns);
                SetAttribute(c, "r", ColumnName(column) + std::to_string(number));
                nextColumn = column + 1;
            }
        }
        s.indexed = true;
    }
    return root;
}

pugi::xml_node XlsxWorkbook::Impl::row(int sheetIndex, int number, bool create) {
    auto root = worksheet(sheetIndex);
    auto& s = sheet(sheetIndex);
    if (auto it = s.rows.find(number); it != s.rows.end())
        return it->second;
    if (!create)
        return {};
    auto data = Child(root, "sheetData");
    const auto after = s.rows.upper_bound(number);
    auto r = after == s.rows.end() ? AppendChild(data, "row")
                                   : data.insert_child_before(after->second.name(), after->second);
    r.append_attribute("r") = number;
    s.rows.emplace(number, r);
    return r;
}

pugi::xml_node XlsxWorkbook::Impl::cell(int sheetIndex, int rowNumber, int column, bool create) {
    if (rowNumber < 1 || rowNumber > kMaxRows || column < 1 || column > kMaxColumns)
        throw host::Error(kWorkbookLimit, "セル範囲が正しくありません。");
    auto r = row(sheetIndex, rowNumber, create);
    if (!r)
        return {};
    for (auto c : Children(r, "c")) {
        const int at = CellColumn(c);
        if (at == column)
            return c;
        if (at > column) {
            if (!create)
                return {};
            auto added = r.insert_child_before(c.name(), c);
            added.append_attribute("r") = (ColumnName(column) + std::to_string(rowNumber)).c_str();
            return added;
        }
    }
    if (!create)
        return {};
    auto added = AppendChild(r, "c");
    added.append_attribute("r") = (ColumnName(column) + std::to_string(rowNumber)).c_str();
    return added;
}

std::string XlsxWorkbook::Impl::text(const pugi::xml_node& c) {
    const std::string_view type = c.attribute("t").value();
    const std::string value = Child(c, "v").text().get();
    if (type == "inlineStr")
        return RichText(Child(c, "is"));
    if (type == "s") {
        if (!sharedStrings) {
            sharedStrings.emplace();
            const auto part = package.targetOfType(workbookPart, rel::kSharedStrings);
            if (!part.empty())
                for (auto si : Children(package.xml(part).document_element(), "si"))
                    sharedStrings->push_back(RichText(si));
        }
        const int k = value.empty() ? -1 : std::atoi(value.c_str());
        return k >= 0 && static_cast<std::size_t>(k) < sharedStrings->size()
                   ? (*sharedStrings)[static_cast<std::size_t>(k)]
                   : std::string();
    }
    if (type == "b")
        return value == "1" ? "TRUE" : "FALSE";
    if (type.empty() || type == "n") {
        if (value.empty())
            return {};
        if (isDateStyle(AttributeInt(c, "s")))
            return util::FormatVbDate(std::atof(value.c_str()));
    }
    return value;
}

pugi::xml_node XlsxWorkbook::Impl::styleSheet() {
    auto part = package.targetOfType(workbookPart, rel::kStyles);
    if (part.empty()) {
        // Some readers (openpyxl) look for the styles under this name only.
        part = package.has("xl/styles.xml") ? package.freePartName("xl/styles", ".xml")
                                            : std::string("xl/styles.xml");
        package.addXml(part, SkeletonStyles());
        package.addRelationship(workbookPart, rel::kStyles, part);
        package.addContentType(
            part, "application/vnd.openxmlformats-officedocument.spreadsheetml.styles+xml");
    }
    auto root = package.xml(part).document_element();
    if (LocalName(root) != "styleSheet")
        ThrowDamaged(fileName, part);
    return root;
}

int XlsxWorkbook::Impl::derivedStyle(int base, const char* attribute, int value,
                                     const char* apply) {
    const std::string key = std::to_string(base) + "/" + attribute + "/" + std::to_string(value);
    if (auto it = styleCache.find(key); it != styleCache.end())
        return it->second;
    auto xfs = OrderedChild(styleSheet(), "cellXfs", kStyleSheetOrder);
    auto list = Children(xfs, "xf");
    if (list.empty()) {
        auto xf = AppendChild(xfs, "xf");
        for (const char* a : {"numFmtId", "fontId", "fillId", "borderId", "xfId"})
            xf.append_attribute(a) = 0;
        list.push_back(xf);
    }
    const auto from = list[base >= 0 && static_cast<std::size_t>(base) < list.size()
                               ? static_cast<std::size_t>(base)
                               : 0];
    pugi::xml_document scratch;
    auto wanted = scratch.append_copy(from);
    SetAttribute(wanted, attribute, std::to_string(value));
    SetAttribute(wanted, apply, "1");
    const std::string signature = NodeText(wanted);
    int index = -1;
    for (std::size_t k = 0; k < list.size() && index < 0; ++k)
        if (NodeText(list[k]) == signature)
            index = static_cast<int>(k);
    if (index < 0) {
        xfs.append_copy(wanted);
        UpdateCount(xfs, "xf");
        index = static_cast<int>(list.size());
    }
    styleCache[key] = index;
    return index;
}

int XlsxWorkbook::Impl::customNumberFormat(std::string_view code) {
    auto formats = OrderedChild(styleSheet(), "numFmts", kStyleSheetOrder);
    int highest = 175;
    for (auto f : Children(formats, "numFmt")) {
        if (code == f.attribute("formatCode").value())
            return AttributeInt(f, "numFmtId");
        highest = std::max(highest, AttributeInt(f, "numFmtId"));
    }
    auto f = AppendChild(formats, "numFmt");
    f.append_attribute("numFmtId") = highest + 1;
    f.append_attribute("formatCode") = std::string(code).c_str();
    UpdateCount(formats, "numFmt");
    return highest + 1;
}

int XlsxWorkbook::Impl::thinBorder() {
    auto borders = OrderedChild(styleSheet(), "borders", kStyleSheetOrder);
    const auto list = Children(borders, "border");
    const auto isThinAll = [](const pugi::xml_node& b) {
        for (const char* edge : {"left", "right", "top", "bottom"}) {
            const auto e = Child(b, edge);
            if (std::string_view(e.attribute("style").value()) != "thin" ||
                !Child(e, "color").attribute("auto").as_bool())
                return false;
        }
        return !Child(b, "diagonal").attribute("style") && !b.attribute("diagonalUp").as_bool() &&
               !b.attribute("diagonalDown").as_bool() && !Child(b, "vertical") &&
               !Child(b, "horizontal");
    };
    for (std::size_t k = 0; k < list.size(); ++k)
        if (isThinAll(list[k]))
            return static_cast<int>(k);
    auto b = AppendChild(borders, "border");
    for (const char* edge : {"left", "right", "top", "bottom"}) {
        auto e = AppendChild(b, edge);
        e.append_attribute("style") = "thin";
        AppendChild(e, "color").append_attribute("auto") = 1;
    }
    AppendChild(b, "diagonal");
    UpdateCount(borders, "border");
    return static_cast<int>(list.size());
}

bool XlsxWorkbook::Impl::isDateStyle(int style) {
    if (style <= 0)
        return false;
    const auto root = styleSheet();
    const auto xfs = Children(Child(root, "cellXfs"), "xf");
    if (static_cast<std::size_t>(style) >= xfs.size())
        return false;
    const int format = AttributeInt(xfs[static_cast<std::size_t>(style)], "numFmtId");
    if ((format >= 14 && format <= 22) || (format >= 45 && format <= 47))
        return true;
    for (auto f : Children(Child(root, "numFmts"), "numFmt"))
        if (AttributeInt(f, "numFmtId") == format) {
            const std::string_view code = f.attribute("formatCode").value();
            return code.find('y') != code.npos || code.find("hh") != code.npos;
        }
    return false;
}

void XlsxWorkbook::Impl::setText(int sheetIndex, int r, int column, std::string_view value) {
    auto c = cell(sheetIndex, r, column, true);
    RemoveValue(c);
    c.append_attribute("t") = "inlineStr";
    auto t = AppendChild(AppendChild(c, "is"), "t");
    const std::string safe = CellSafeText(value);
    if (!safe.empty() && (safe.front() == ' ' || safe.back() == ' ' ||
                          safe.find_first_of("\n\t\r") != std::string::npos))
        t.append_attribute("xml:space") = "preserve";
    t.text().set(safe.c_str());
}

void XlsxWorkbook::Impl::setNumber(int sheetIndex, int r, int column, double value) {
    auto c = cell(sheetIndex, r, column, true);
    RemoveValue(c);
    AppendChild(c, "v").text().set(ShortestNumber(value).c_str());
}

int XlsxWorkbook::Impl::appendSheet(std::string_view wanted) {
    std::string name;
    std::size_t count = 0;
    for (std::size_t i = 0; i < wanted.size() && count < 31;) {
        const std::size_t start = i;
        const char32_t c = util::NextUtf8(wanted, i);
        if (c < 0x20 || std::u32string_view(U"[]:*?/\\").find(c) != std::u32string_view::npos)
            continue;
        name.append(wanted.substr(start, i - start));
        ++count;
    }
    if (name.empty())
        name = "Sheet";
    const auto taken = [&](const std::string& n) {
        for (const auto& s : sheets)
            if (SameNameIgnoringAsciiCase(s.entry.attribute("name").value(), n))
                return true;
        return false;
    };
    const std::string base = name;
    for (int n = 2; taken(name); ++n)
        name = base.substr(0, 25) + " (" + std::to_string(n) + ")";

    const std::string part = package.freePartName("xl/worksheets/sheet", ".xml");
    package.addXml(part, SkeletonWorksheet());
    package.addContentType(part, kWorksheetType);
    const std::string id = package.addRelationship(workbookPart, rel::kWorksheet, part);
    auto list = OrderedChild(workbookRoot(), "sheets", kWorkbookOrder);
    int sheetId = 0;
    for (auto s : Children(list, "sheet"))
        sheetId = std::max(sheetId, AttributeInt(s, "sheetId"));
    auto entry = AppendChild(list, "sheet");
    entry.append_attribute("name") = name.c_str();
    entry.append_attribute("sheetId") = sheetId + 1;
    entry.append_attribute("r:id") = id.c_str();
    sheets.push_back({part, entry, false, {}});
    return static_cast<int>(sheets.size()) - 1;
}

XlsxWorkbook::XlsxWorkbook(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
XlsxWorkbook::XlsxWorkbook(XlsxWorkbook&&) noexcept = default;
XlsxWorkbook& XlsxWorkbook::operator=(XlsxWorkbook&&) noexcept = default;
XlsxWorkbook::~XlsxWorkbook() = default;

XlsxWorkbook XlsxWorkbook::open(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw host::Error(host::err::kFileNotFound,
                          "ファイル '" + path.string() + "' が見つかりません。");
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    auto impl = std::make_unique<Impl>();
    impl->fileName = path.filename().string();
    impl->package = XlsxPackage::fromBytes(std::move(bytes), impl->fileName);
    impl->loadSheets();
    return XlsxWorkbook(std::move(impl));
}

XlsxWorkbook XlsxWorkbook::fromBytes(std::string bytes) {
    auto impl = std::make_unique<Impl>();
    impl->fileName = "(memory)";
    impl->package = XlsxPackage::fromBytes(std::move(bytes), impl->fileName);
    impl->loadSheets();
    return XlsxWorkbook(std::move(impl));
}

XlsxWorkbook XlsxWorkbook::create() {
    auto impl = std::make_unique<Impl>();
    impl->fileName = "(new)";
    const std::string declaration(kDeclaration);
    auto& p = impl->package;
    p.addXml("[Content_Types].xml",
             declaration +
                 "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
                 "<Default Extension=\"rels\" "
                 "ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
                 "<Default Extension=\"xml\" ContentType=\"application/xml\"/></Types>");
    impl->workbookPart = "xl/workbook.xml";
    p.addXml(impl->workbookPart, declaration + "<workbook xmlns=\"" + std::string(kMainNs) +
                                     "\" xmlns:r=\"" + std::string(kRelNs) +
                                     "\"><bookViews><workbookView/></bookViews><sheets/>"
                                     "</workbook>");
    p.addContentType(impl->workbookPart,
                     "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml");
    p.addRelationship("", rel::kOfficeDocument, impl->workbookPart);
    impl->styleSheet();
    return XlsxWorkbook(std::move(impl));
}

std::string XlsxWorkbook::toBytes() {
    for (std::size_t k = 0; k < impl_->sheets.size(); ++k) {
        auto& s = impl_->sheets[k];
        if (!s.indexed)
            continue;
        auto dimension = Child(impl_->worksheet(static_cast<int>(k)), "dimension");
        if (!dimension)
            continue;
        int lastRow = 1;
        int lastColumn = 1;
        for (const auto& [number, r] : s.rows)
            for (auto c : Children(r, "c")) {
                lastRow = std::max(lastRow, number);
                lastColumn = std::max(lastColumn, CellColumn(c));
            }
        SetAttribute(dimension, "ref", RangeAddress({1, 1, lastRow, lastColumn}));
    }
    return impl_->package.toBytes();
}

void XlsxWorkbook::save(const std::filesystem::path& path) {
    const std::string bytes = toBytes();
    const auto temporary =
        path.parent_path() / ("." + path.filename().string() + ".tmp" + std::to_string(getpid()));
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out) {
            std::error_code ignored;
            std::filesystem::remove(temporary, ignored);
            throw host::FileSystemError(path, std::make_error_code(std::errc::io_error));
        }
    }
    std::error_code code;
    std::filesystem::rename(temporary, path, code);
    if (code) {
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
        throw host::FileSystemError(path, code);
    }
}

std::vector<std::string> XlsxWorkbook::sheetNames() const {
    std::vector<std::string> names;
    for (const auto& s : impl_->sheets)
        names.emplace_back(s.entry.attribute("name").value());
    return names;
}

int XlsxWorkbook::sheetIndex(std::string_view name) const {
    for (std::size_t k = 0; k < impl_->sheets.size(); ++k)
        if (SameNameIgnoringAsciiCase(impl_->sheets[k].entry.attribute("name").value(), name))
            return static_cast<int>(k);
    throw host::Error(host::err::kSubscriptOutOfRange, "シート名が不正です。");
}

int XlsxWorkbook::addSheet(std::string_view name) { return impl_->appendSheet(name); }

void XlsxWorkbook::setValue(int sheet, int row, int column, const host::Value& value) {
    using Kind = host::Value::Kind;
    switch (value.kind()) {
        case Kind::Null:
            RemoveValue(impl_->cell(sheet, row, column, true));
            break;
        case Kind::Bool: {
            auto c = impl_->cell(sheet, row, column, true);
            RemoveValue(c);
            c.append_attribute("t") = "b";
            AppendChild(c, "v").text().set(value.toBool() ? "1" : "0");
            break;
        }
        case Kind::Integer:
        case Kind::Double:
            impl_->setNumber(sheet, row, column, value.toDouble());
            break;
        case Kind::Text:
            impl_->setText(sheet, row, column, value.toText());
            break;
        case Kind::Date: {
            const double serial = value.toDouble();
            impl_->setNumber(sheet, row, column, serial);
            const bool hasTime = serial != std::floor(serial);
            const int format =
                impl_->customNumberFormat(hasTime ? "yyyy/mm/dd hh:mm:ss" : "yyyy/mm/dd");
            auto c = impl_->cell(sheet, row, column, true);
            SetAttribute(c, "s",
                         std::to_string(impl_->derivedStyle(AttributeInt(c, "s"), "numFmtId",
                                                            format, "applyNumberFormat")));
            break;
        }
    }
}

void XlsxWorkbook::setStyle(int sheet, int row, int column, TemplateStyle style) {
    SetAttribute(impl_->cell(sheet, row, column, true), "s",
                 std::to_string(static_cast<int>(style)));
}

std::string XlsxWorkbook::cellText(int sheet, int row, int column) const {
    const auto c = impl_->cell(sheet, row, column, false);
    return c ? impl_->text(c) : std::string();
}

int XlsxWorkbook::lastUsedRow(int sheet) const {
    impl_->worksheet(sheet);
    const auto& rows = impl_->sheet(sheet).rows;
    for (auto it = rows.rbegin(); it != rows.rend(); ++it)
        for (auto c : Children(it->second, "c"))
            if (HasValue(c))
                return it->first;
    return 0;
}

void XlsxWorkbook::clearContents(int sheet, const CellRange& range) {
    CheckRange(range);
    impl_->worksheet(sheet);
    auto& rows = impl_->sheet(sheet).rows;
    for (auto it = rows.lower_bound(range.firstRow); it != rows.end() && it->first <= range.lastRow;
         ++it)
        for (auto c : Children(it->second, "c")) {
            const int column = CellColumn(c);
            if (column >= range.firstColumn && column <= range.lastColumn)
                RemoveValue(c);
        }
}

void XlsxWorkbook::drawThinBorders(int sheet, const CellRange& range) {
    CheckRange(range);
    const int border = impl_->thinBorder();
    for (int r = range.firstRow; r <= range.lastRow; ++r)
        for (int col = range.firstColumn; col <= range.lastColumn; ++col) {
            auto c = impl_->cell(sheet, r, col, true);
            SetAttribute(c, "s",
                         std::to_string(impl_->derivedStyle(AttributeInt(c, "s"), "borderId",
                                                            border, "applyBorder")));
        }
}

void XlsxWorkbook::setAutoFilter(int sheet, const CellRange& range) {
    CheckRange(range);
    auto filter = OrderedChild(impl_->worksheet(sheet), "autoFilter", kWorksheetOrder);
    filter.remove_children();
    SetAttribute(filter, "ref", RangeAddress(range));

    // Excel finds the filtered range through this hidden name; without it the file is repaired.
    auto names = OrderedChild(impl_->workbookRoot(), "definedNames", kWorkbookOrder);
    pugi::xml_node name;
    for (auto n : Children(names, "definedName"))
        if (std::string_view(n.attribute("name").value()) == "_xlnm._FilterDatabase" &&
            AttributeInt(n, "localSheetId", -1) == sheet)
            name = n;
    if (!name) {
        name = AppendChild(names, "definedName");
        name.append_attribute("name") = "_xlnm._FilterDatabase";
        name.append_attribute("localSheetId") = sheet;
        name.append_attribute("hidden") = 1;
    }
    const std::string sheetName = impl_->sheet(sheet).entry.attribute("name").value();
    name.text().set((QuotedSheetName(sheetName) + "!" + AbsoluteAddress(range)).c_str());
}

void XlsxWorkbook::autoFitRows(int sheet, int firstRow, int lastRow) {
    impl_->worksheet(sheet);
    auto& rows = impl_->sheet(sheet).rows;
    for (auto it = rows.lower_bound(firstRow); it != rows.end() && it->first <= lastRow; ++it) {
        int lines = 1;
        for (auto c : Children(it->second, "c")) {
            const std::string text = impl_->text(c);
            lines =
                std::max(lines, 1 + static_cast<int>(std::count(text.begin(), text.end(), '\n')));
        }
        // A height without customHeight is what Excel's AutoFit leaves: the row stays automatic.
        SetAttribute(it->second, "ht",
                     ShortestNumber(std::min(lines * kLineHeight, kMaxRowHeight)));
        it->second.remove_attribute("customHeight");
    }
}

void XlsxWorkbook::autoFitColumns(int sheet, int firstColumn, int lastColumn) {
    impl_->worksheet(sheet);
    std::map<int, double> widest;
    for (const auto& [number, r] : impl_->sheet(sheet).rows)
        for (auto c : Children(r, "c")) {
            const int column = CellColumn(c);
            if (column >= firstColumn && column <= lastColumn && HasValue(c))
                widest[column] = std::max(widest[column], TextWidth(impl_->text(c)));
        }
    for (const auto& [column, width] : widest)
        setColumnWidth(sheet, column, std::min(width + 1.7, kMaxColumnWidth));
}

void XlsxWorkbook::setColumnWidth(int sheet, int column, double width) {
    if (column < 1 || column > kMaxColumns)
        throw host::Error(kWorkbookLimit, "セル範囲が正しくありません。");
    auto cols = OrderedChild(impl_->worksheet(sheet), "cols", kWorksheetOrder);
    pugi::xml_node target;
    for (auto col : Children(cols, "col")) {
        const int min = AttributeInt(col, "min");
        const int max = AttributeInt(col, "max");
        if (column < min || column > max)
            continue;
        // Split the span so that only this column changes.
        if (min < column) {
            auto before = cols.insert_copy_before(col, col);
            SetAttribute(before, "max", std::to_string(column - 1));
        }
        if (max > column) {
            auto after = cols.insert_copy_after(col, col);
            SetAttribute(after, "min", std::to_string(column + 1));
        }
        SetAttribute(col, "min", std::to_string(column));
        SetAttribute(col, "max", std::to_string(column));
        target = col;
        break;
    }
    if (!target) {
        pugi::xml_node next;
        for (auto col : Children(cols, "col"))
            if (!next && AttributeInt(col, "min") > column)
                next = col;
        target = next ? cols.insert_child_before(next.name(), next) : AppendChild(cols, "col");
        target.append_attribute("min") = column;
        target.append_attribute("max") = column;
    }
    SetAttribute(target, "width", ShortestNumber(std::round(width * 100) / 100));
    SetAttribute(target, "customWidth", "1");
}

void XlsxWorkbook::activate(int sheet, int row, int column, bool pageLayout) {
    impl_->sheet(sheet);
    auto views = OrderedChild(impl_->workbookRoot(), "bookViews", kWorkbookOrder);
    auto view = Child(views, "workbookView");
    if (!view)
        view = AppendChild(views, "workbookView");
    SetAttribute(view, "activeTab", std::to_string(sheet));
    if (AttributeInt(view, "firstSheet") > sheet)
        SetAttribute(view, "firstSheet", std::to_string(sheet));
    for (int k = 0; k < static_cast<int>(impl_->sheets.size()); ++k) {
        if (k != sheet) {
            // Two selected tabs would be grouped sheets, which take every edit together.
            for (auto v : Children(Child(impl_->worksheet(k), "sheetViews"), "sheetView"))
                v.remove_attribute("tabSelected");
            continue;
        }
        auto sheetViews = OrderedChild(impl_->worksheet(k), "sheetViews", kWorksheetOrder);
        auto sheetView = Child(sheetViews, "sheetView");
        if (!sheetView) {
            sheetView = AppendChild(sheetViews, "sheetView");
            sheetView.append_attribute("workbookViewId") = 0;
        }
        SetAttribute(sheetView, "tabSelected", "1");
        if (pageLayout)
            SetAttribute(sheetView, "view", "pageLayout");
        for (auto s : Children(sheetView, "selection"))
            sheetView.remove_child(s);
        auto selection = OrderedChild(sheetView, "selection", kSheetViewOrder);
        const std::string cellRef = RangeAddress({row, column, row, column});
        selection.append_attribute("activeCell") = cellRef.c_str();
        selection.append_attribute("sqref") = cellRef.c_str();
    }
}

}  // namespace zanfor::output
