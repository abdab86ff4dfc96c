// The pivot table of XlsxWorkbook: a pivot cache (its definition and records) over a range of a
// sheet and a table on a new sheet, laid out as the classic wizard did: one row field, one
// column field, one data field, grand totals on both. The table's cells are written too, so
// that a reader that does not refresh the table (or never reads pivot parts) sees the result.

#include <algorithm>
#include <map>
#include <set>
#include <variant>

#include "host/error.h"
#include "output/xlsx_workbook_impl.h"

namespace zanfor::output {

namespace {

// A value of the source as the cache keeps it: missing, a number or a text.
using CacheValue = std::variant<std::monostate, double, std::string>;

constexpr int kTopRow = 3;  // the wizard leaves two rows above the table for page fields

pugi::xml_node Element(pugi::xml_node parent, std::string_view name,
                       std::initializer_list<std::pair<const char*, std::string>> attributes = {}) {
    auto e = AppendChild(parent, name);
    for (const auto& [key, value] : attributes)
        e.append_attribute(key) = value.c_str();
    return e;
}

bool Before(const CacheValue& a, const CacheValue& b) {
    // Numbers first, then texts, blanks last: the order Excel sorts pivot items in.
    if (a.index() != b.index()) {
        const auto rank = [](const CacheValue& v) { return v.index() == 0 ? 3 : v.index(); };
        return rank(a) < rank(b);
    }
    return a < b;
}

std::string Label(const CacheValue& v) {
    if (const auto* d = std::get_if<double>(&v))
        return ShortestNumber(*d);
    if (const auto* s = std::get_if<std::string>(&v))
        return *s;
    return "(空白)";
}

// The sharedItems element of a cache field: what kinds of value it holds and, for a field on
// an axis, its items.
void SharedItems(pugi::xml_node field, const std::vector<CacheValue>& column,
                 const std::vector<CacheValue>* items) {
    bool blank = false;
    bool text = false;
    bool number = false;
    double low = 0;
    double high = 0;
    for (const auto& v : column) {
        blank = blank || v.index() == 0;
        text = text || v.index() == 2;
        if (const auto* d = std::get_if<double>(&v)) {
            low = number ? std::min(low, *d) : *d;
            high = number ? std::max(high, *d) : *d;
            number = true;
        }
    }
    auto shared = AppendChild(field, "sharedItems");
    if (number && !text) {
        shared.append_attribute("containsSemiMixedTypes") = 0;
        shared.append_attribute("containsString") = 0;
    }
    if (number && text)
        shared.append_attribute("containsMixedTypes") = 1;
    if (number) {
        shared.append_attribute("containsNumber") = 1;
        shared.append_attribute("minValue") = ShortestNumber(low).c_str();
        shared.append_attribute("maxValue") = ShortestNumber(high).c_str();
    }
    if (blank)
        shared.append_attribute("containsBlank") = 1;
    if (!items)
        return;
    shared.append_attribute("count") = static_cast<unsigned>(items->size());
    for (const auto& v : *items) {
        if (const auto* d = std::get_if<double>(&v))
            Element(shared, "n", {{"v", ShortestNumber(*d)}});
        else if (const auto* s = std::get_if<std::string>(&v))
            Element(shared, "s", {{"v", CellSafeText(*s)}});
        else
            AppendChild(shared, "m");
    }
}

void AxisItems(pugi::xml_node list, std::size_t count) {
    list.append_attribute("count") = static_cast<unsigned>(count + 1);
    for (std::size_t k = 0; k < count; ++k) {
        auto x = AppendChild(AppendChild(list, "i"), "x");
        if (k > 0)
            x.append_attribute("v") = static_cast<unsigned>(k);
    }
    AppendChild(Element(list, "i", {{"t", "grand"}}), "x");
}

}  // namespace

int XlsxWorkbook::addPivotTable(int sourceSheet, const CellRange& source, std::string_view name,
                                int rowField, int columnField, int dataField) {
    const int fieldCount = source.lastColumn - source.firstColumn + 1;
    const auto inside = [&](int f) { return f >= 1 && f <= fieldCount; };
    if (source.firstRow < 1 || source.lastRow > kMaxRows || source.firstColumn < 1 ||
        source.lastColumn > kMaxColumns || fieldCount < 1 || source.lastRow <= source.firstRow ||
        !inside(rowField) || !inside(columnField) || !inside(dataField) || rowField == columnField)
        throw host::Error(kWorkbookLimit, "ピボットテーブルの範囲または項目が正しくありません。");
    auto& impl = *impl_;
    const std::string sourceName = impl.sheet(sourceSheet).entry.attribute("name").value();

    // The source as the cache will hold it, field by field.
    std::vector<std::string> names;
    std::set<std::string> taken;
    std::vector<std::vector<CacheValue>> columns(static_cast<std::size_t>(fieldCount));
    for (int k = 0; k < fieldCount; ++k) {
        const int column = source.firstColumn + k;
        std::string fieldName = cellText(sourceSheet, source.firstRow, column);
        if (fieldName.empty())
            fieldName = "列" + std::to_string(k + 1);
        for (std::string base = fieldName; !taken.insert(fieldName).second;)
            fieldName = base + std::to_string(taken.size() + 1);
        names.push_back(fieldName);
        for (int r = source.firstRow + 1; r <= source.lastRow; ++r) {
            const auto c = impl.cell(sourceSheet, r, column, false);
            const std::string_view type = c.attribute("t").value();
            const auto v = Child(c, "v");
            if (!c || (!v && !Child(c, "is")))
                columns[static_cast<std::size_t>(k)].emplace_back();
            else if ((type.empty() || type == "n") && v)
                columns[static_cast<std::size_t>(k)].emplace_back(v.text().as_double());
            else
                columns[static_cast<std::size_t>(k)].emplace_back(impl.text(c));
        }
    }
    const std::size_t recordCount = static_cast<std::size_t>(source.lastRow - source.firstRow);
    const auto itemsOf = [&](int field) {
        auto items = columns[static_cast<std::size_t>(field - 1)];
        std::sort(items.begin(), items.end(), Before);
        items.erase(std::unique(items.begin(), items.end()), items.end());
        return items;
    };
    const auto rowItems = itemsOf(rowField);
    const auto columnItems = itemsOf(columnField);
    const auto indexOf = [](const std::vector<CacheValue>& items, const CacheValue& v) {
        return static_cast<std::size_t>(std::lower_bound(items.begin(), items.end(), v, Before) -
                                        items.begin());
    };

    // Totals: numbers are summed; a field holding text is counted, as Excel does.
    const auto& data = columns[static_cast<std::size_t>(dataField - 1)];
    const bool count =
        std::any_of(data.begin(), data.end(), [](const CacheValue& v) { return v.index() == 2; });
    std::map<std::pair<std::size_t, std::size_t>, double> body;
    for (std::size_t r = 0; r < recordCount; ++r) {
        if (data[r].index() == 0)
            continue;
        const double add = count ? 1 : std::get<double>(data[r]);
        const std::size_t row =
            indexOf(rowItems, columns[static_cast<std::size_t>(rowField - 1)][r]);
        const std::size_t column =
            indexOf(columnItems, columns[static_cast<std::size_t>(columnField - 1)][r]);
        for (const auto& key :
             {std::pair{row, column}, std::pair{row, columnItems.size()},
              std::pair{rowItems.size(), column}, std::pair{rowItems.size(), columnItems.size()}})
            body[key] += add;
    }
    const std::string dataName =
        (count ? "データの個数 / " : "合計 / ") + names[static_cast<std::size_t>(dataField - 1)];

    // The table's sheet and cells.
    const int sheet = impl.appendSheet(name);
    const int lastRow = kTopRow + 2 + static_cast<int>(rowItems.size());
    const int lastColumn = 2 + static_cast<int>(columnItems.size());
    impl.setText(sheet, kTopRow, 1, dataName);
    impl.setText(sheet, kTopRow, 2, names[static_cast<std::size_t>(columnField - 1)]);
    impl.setText(sheet, kTopRow + 1, 1, names[static_cast<std::size_t>(rowField - 1)]);
    for (std::size_t c = 0; c <= columnItems.size(); ++c)
        impl.setText(sheet, kTopRow + 1, 2 + static_cast<int>(c),
                     c < columnItems.size() ? Label(columnItems[c]) : "総計");
    for (std::size_t r = 0; r <= rowItems.size(); ++r) {
        const int at = kTopRow + 2 + static_cast<int>(r);
        impl.setText(sheet, at, 1, r < rowItems.size() ? Label(rowItems[r]) : "総計");
        for (std::size_t c = 0; c <= columnItems.size(); ++c)
            if (auto it = body.find({r, c}); it != body.end())
                impl.setNumber(sheet, at, 2 + static_cast<int>(c), it->second);
    }

    // The cache: definition and records.
    auto& package = impl.package;
    const std::string definitionPart =
        package.freePartName("xl/pivotCache/pivotCacheDefinition", ".xml");
    const std::string recordsPart = package.freePartName("xl/pivotCache/pivotCacheRecords", ".xml");
    const std::string tablePart = package.freePartName("xl/pivotTables/pivotTable", ".xml");
    const std::string declaration = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>";
    const std::string namespaces =
        " xmlns=\"" + std::string(kMainNs) + "\" xmlns:r=\"" + std::string(kRelNs) + "\"";

    // A new part with its empty root element and its content type.
    auto addPart = [&](const std::string& part, const std::string& root, const std::string& type) {
        auto element =
            package.addXml(part, declaration + "<" + root + namespaces + "/>").document_element();
        package.addContentType(
            part, "application/vnd.openxmlformats-officedocument.spreadsheetml." + type + "+xml");
        return element;
    };
    auto definition = addPart(definitionPart, "pivotCacheDefinition", "pivotCacheDefinition");
    auto records = addPart(recordsPart, "pivotCacheRecords", "pivotCacheRecords");
    definition.append_attribute("r:id") =
        package.addRelationship(definitionPart, rel::kPivotCacheRecords, recordsPart).c_str();
    // Excel rebuilds the table from the sheet when it opens the file.
    for (const auto& [key, value] : {std::pair{"refreshOnLoad", "1"},
                                     {"createdVersion", "3"},
                                     {"refreshedVersion", "3"},
                                     {"minRefreshableVersion", "3"}})
        definition.append_attribute(key) = value;
    definition.append_attribute("recordCount") = static_cast<unsigned>(recordCount);
    Element(Element(definition, "cacheSource", {{"type", "worksheet"}}), "worksheetSource",
            {{"ref", RangeAddress(source)}, {"sheet", sourceName}});
    auto fields = Element(definition, "cacheFields", {{"count", std::to_string(fieldCount)}});
    for (int k = 0; k < fieldCount; ++k) {
        auto field = Element(
            fields, "cacheField",
            {{"name", CellSafeText(names[static_cast<std::size_t>(k)])}, {"numFmtId", "0"}});
        const bool onAxis = k + 1 == rowField || k + 1 == columnField;
        SharedItems(field, columns[static_cast<std::size_t>(k)],
                    onAxis ? (k + 1 == rowField ? &rowItems : &columnItems) : nullptr);
    }
    records.append_attribute("count") = static_cast<unsigned>(recordCount);
    for (std::size_t r = 0; r < recordCount; ++r) {
        auto record = AppendChild(records, "r");
        for (int k = 0; k < fieldCount; ++k) {
            const auto& v = columns[static_cast<std::size_t>(k)][r];
            if (k + 1 == rowField || k + 1 == columnField)
                Element(record, "x",
                        {{"v",
                          std::to_string(indexOf(k + 1 == rowField ? rowItems : columnItems, v))}});
            else if (const auto* d = std::get_if<double>(&v))
                Element(record, "n", {{"v", ShortestNumber(*d)}});
            else if (const auto* s = std::get_if<std::string>(&v))
                Element(record, "s", {{"v", CellSafeText(*s)}});
            else
                AppendChild(record, "m");
        }
    }

    // The workbook's list of caches.
    auto workbook = impl.workbookRoot();
    auto caches = Child(workbook, "pivotCaches");
    if (!caches) {
        // After definedNames and calcPr, before what follows them in the schema.
        pugi::xml_node next;
        for (auto c : workbook.children())
            for (std::string_view later : {"smartTagPr", "smartTagTypes", "webPublishing",
                                           "fileRecoveryPr", "webPublishObjects", "extLst"})
                if (!next && LocalName(c) == later)
                    next = c;
        const std::string element =
            std::string(workbook.name()).find(':') == std::string::npos
                ? "pivotCaches"
                : std::string(workbook.name())
                          .substr(0, std::string(workbook.name()).find(':') + 1) +
                      "pivotCaches";
        caches = next ? workbook.insert_child_before(element.c_str(), next)
                      : workbook.append_child(element.c_str());
    }
    int cacheId = 0;
    for (auto c : Children(caches, "pivotCache"))
        cacheId = std::max(cacheId, c.attribute("cacheId").as_int());
    ++cacheId;
    auto cache = Element(caches, "pivotCache", {{"cacheId", std::to_string(cacheId)}});
    cache.append_attribute("r:id") =
        package.addRelationship(impl.workbookPart, rel::kPivotCacheDefinition, definitionPart)
            .c_str();

    // The table.
    auto table = addPart(tablePart, "pivotTableDefinition", "pivotTable");
    package.addRelationship(impl.sheet(sheet).part, rel::kPivotTable, tablePart);
    package.addRelationship(tablePart, rel::kPivotCacheDefinition, definitionPart);
    const std::string tableName = CellSafeText(name);
    for (const auto& [key, value] : std::initializer_list<std::pair<const char*, std::string>>{
             {"name", tableName},
             {"cacheId", std::to_string(cacheId)},
             {"applyNumberFormats", "0"},
             {"applyBorderFormats", "0"},
             {"applyFontFormats", "0"},
             {"applyPatternFormats", "0"},
             {"applyAlignmentFormats", "0"},
             {"applyWidthHeightFormats", "1"},
             {"dataCaption", "値"},
             {"updatedVersion", "3"},
             {"minRefreshableVersion", "3"},
             {"createdVersion", "3"},
             {"useAutoFormatting", "1"},
             {"itemPrintTitles", "1"},
             {"indent", "0"},
             {"compact", "0"},
             {"compactData", "0"},
             {"gridDropZones", "1"}})
        table.append_attribute(key) = value.c_str();
    Element(table, "location",
            {{"ref", RangeAddress({kTopRow, 1, lastRow, lastColumn})},
             {"firstHeaderRow", "1"},
             {"firstDataRow", "2"},
             {"firstDataCol", "1"}});
    auto pivotFields = Element(table, "pivotFields", {{"count", std::to_string(fieldCount)}});
    for (int k = 1; k <= fieldCount; ++k) {
        auto field = AppendChild(pivotFields, "pivotField");
        if (k == rowField || k == columnField)
            field.append_attribute("axis") = k == rowField ? "axisRow" : "axisCol";
        if (k == dataField)
            field.append_attribute("dataField") = 1;
        field.append_attribute("compact") = 0;
        field.append_attribute("outline") = 0;
        field.append_attribute("showAll") = 0;
        if (k == rowField || k == columnField) {
            const std::size_t n = (k == rowField ? rowItems : columnItems).size();
            auto items = Element(field, "items", {{"count", std::to_string(n + 1)}});
            for (std::size_t i = 0; i < n; ++i)
                Element(items, "item", {{"x", std::to_string(i)}});
            Element(items, "item", {{"t", "default"}});
        }
    }
    Element(Element(table, "rowFields", {{"count", "1"}}), "field",
            {{"x", std::to_string(rowField - 1)}});
    AxisItems(AppendChild(table, "rowItems"), rowItems.size());
    Element(Element(table, "colFields", {{"count", "1"}}), "field",
            {{"x", std::to_string(columnField - 1)}});
    AxisItems(AppendChild(table, "colItems"), columnItems.size());
    auto dataFields = Element(table, "dataFields", {{"count", "1"}});
    auto dataFieldElement = Element(dataFields, "dataField",
                                    {{"name", CellSafeText(dataName)},
                                     {"fld", std::to_string(dataField - 1)},
                                     {"baseField", "0"},
                                     {"baseItem", "0"}});
    if (count)
        dataFieldElement.append_attribute("subtotal") = "count";
    Element(table, "pivotTableStyleInfo",
            {{"name", "PivotStyleLight16"},
             {"showRowHeaders", "1"},
             {"showColHeaders", "1"},
             {"showRowStripes", "0"},
             {"showColStripes", "0"},
             {"showLastColumn", "1"}});
    return sheet;
}

}  // namespace zanfor::output
