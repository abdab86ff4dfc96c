#pragma once

// The XML an export folder holds (table schemas in Access's XSD form, the XML of later
// macros): elements with their attributes, children and text. No DTDs or namespaces are
// resolved; a name keeps its prefix ("xsd:element").

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zanfor::host::exports {

struct XmlElement {
    std::string name;
    std::vector<std::pair<std::string, std::string>> attributes;
    std::vector<XmlElement> children;
    std::string text;  // the character data directly inside, concatenated
    int line = 0;

    // The value of that attribute ("od:jetType"), or `fallback`.
    std::string attribute(std::string_view attributeName, std::string_view fallback = {}) const;
    bool hasAttribute(std::string_view attributeName) const;
    // The name after its prefix: "element" for "xsd:element".
    std::string_view localName() const;
};

// The document's root element. Throws host::Error (err::kExportMalformed) naming `source` and
// the line for text that is not well-formed.
XmlElement ParseXml(std::string_view text, const std::string& source);

}  // namespace zanfor::host::exports
