#pragma once

// The parts of an Open Packaging Conventions file (the zip inside an .xlsx) held in memory:
// XML parts parsed with pugixml when first asked for, every other part kept as its bytes, all
// of them written back in their order. Helpers find related parts through the ".rels" parts.

#include <deque>
#include <filesystem>
#include <map>
#include <memory>
#include <pugixml.hpp>
#include <string>
#include <string_view>
#include <vector>

namespace zanfor::output {

namespace rel {
inline constexpr std::string_view kOfficeDocument =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument";
inline constexpr std::string_view kWorksheet =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet";
inline constexpr std::string_view kStyles =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles";
inline constexpr std::string_view kSharedStrings =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/sharedStrings";
inline constexpr std::string_view kPivotCacheDefinition =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/pivotCacheDefinition";
inline constexpr std::string_view kPivotCacheRecords =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/pivotCacheRecords";
inline constexpr std::string_view kPivotTable =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/pivotTable";
}  // namespace rel

inline constexpr std::string_view kMainNs =
    "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
inline constexpr std::string_view kRelNs =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships";

class XlsxPackage {
public:
    // kWorkbookDamaged when `bytes` is no zip or holds more than a workbook plausibly does.
    static XlsxPackage fromBytes(std::string bytes, std::string_view fileName);
    XlsxPackage() = default;

    bool has(const std::string& part) const;
    // The parsed part; kWorkbookDamaged when it is missing or not well-formed.
    pugi::xml_document& xml(const std::string& part);
    // A new XML part parsed from `text` (a constant skeleton), replacing any of that name.
    pugi::xml_document& addXml(const std::string& part, std::string_view text);
    // A part name not taken yet: prefix + n + suffix with the smallest n from 1.
    std::string freePartName(std::string_view prefix, std::string_view suffix) const;

    // The part a relationship of `source` (or of the package, for "") points to.
    std::string target(const std::string& source, std::string_view relationshipId);
    // The first part of a relationship type from `source`, or "".
    std::string targetOfType(const std::string& source, std::string_view type);
    // Adds a relationship from `source` to `part`; returns its id.
    std::string addRelationship(const std::string& source, std::string_view type,
                                const std::string& part);
    void addContentType(const std::string& part, std::string_view contentType);

    std::string toBytes();

private:
    std::string relsName(const std::string& source) const;
    pugi::xml_document& rels(const std::string& source);

    std::vector<std::string> order_;
    std::map<std::string, std::string> raw_;
    std::map<std::string, std::unique_ptr<pugi::xml_document>> docs_;
    std::string fileName_;
};

// Element names compared without their namespace prefix ("x:row" is "row").
std::string_view LocalName(const pugi::xml_node& node);
pugi::xml_node Child(const pugi::xml_node& parent, std::string_view local);
std::vector<pugi::xml_node> Children(const pugi::xml_node& parent, std::string_view local);
// A new child named with the parent's prefix.
pugi::xml_node AppendChild(pugi::xml_node parent, std::string_view local);
// The child, created when missing at the place `order` (local names) gives it among its
// siblings, since the schema fixes the order of a worksheet's and a workbook's children.
pugi::xml_node OrderedChild(pugi::xml_node parent, std::string_view local,
                            const std::vector<std::string_view>& order);
// The relationship id attribute (r:id, whatever the prefix).
pugi::xml_attribute RelationshipId(const pugi::xml_node& node);

[[noreturn]] void ThrowDamaged(std::string_view fileName, std::string_view detail);

}  // namespace zanfor::output
