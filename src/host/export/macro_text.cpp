#include "host/export/macro_text.h"

#include "host/export/xml_tree.h"
#include "util/vb_string.h"

namespace zanfor::host::exports {

namespace {

using access::MacroDefinition;
using access::MacroRow;

constexpr std::string_view kXmlMark = "_AXL:";

// Rows from the XML form of a macro: actions with their arguments in the order written,
// comments, the named macros of a group and the conditions of If blocks.
class XmlRows {
public:
    explicit XmlRows(std::vector<MacroRow>& rows) : rows_(rows) {}

    void walk(const XmlElement& e, const std::string& condition) {
        const std::string_view kind = e.localName();
        if (kind == "Action") {
            MacroRow row = next(condition);
            row.action = e.attribute("Name");
            for (const auto& a : e.children) {
                if (a.localName() == "Argument")
                    row.arguments.push_back(a.text);
            }
            rows_.push_back(std::move(row));
            return;
        }
        if (kind == "Comment") {
            MacroRow row = next(condition);
            row.comment = e.text;
            rows_.push_back(std::move(row));
            return;
        }
        if (kind == "Macro" || kind == "Submacro" || kind == "UserInterfaceMacro") {
            if (e.hasAttribute("Name"))
                pendingName_ = e.attribute("Name");
            else if (e.hasAttribute("For"))
                pendingName_ = e.attribute("For");
        }
        std::string inner = condition;
        if (kind == "If" || kind == "ElseIf") {
            for (const auto& c : e.children) {
                if (c.localName() == "Condition")
                    inner = c.text;
            }
            conditionStarted_ = false;
        }
        for (const auto& c : e.children) {
            if (c.localName() != "Condition")
                walk(c, inner);
        }
    }

private:
    MacroRow next(const std::string& condition) {
        MacroRow row;
        row.macroName = std::move(pendingName_);
        pendingName_.clear();
        if (!condition.empty()) {
            row.condition = conditionStarted_ ? "..." : condition;
            conditionStarted_ = true;
        }
        return row;
    }

    std::vector<MacroRow>& rows_;
    std::string pendingName_;
    bool conditionStarted_ = false;
};

bool isXmlRow(const SavedBlock& block) {
    const SavedProperty* comment = block.find("Comment");
    if (!comment || !comment->value.text.starts_with(kXmlMark))
        return false;
    for (const auto& p : block.properties) {
        if (!util::EqualsIgnoreCase(p.name, "Comment"))
            return false;
    }
    return true;
}

}  // namespace

MacroDefinition ReadMacroText(const SavedText& text, std::string name, const std::string& source) {
    MacroDefinition macro;
    macro.name = std::move(name);
    std::string xml;
    for (const auto& block : text.root.children) {
        if (!block.children.empty())
            ThrowMalformed(source, block.children.front().line,
                           "マクロの行の中にブロックがあります");
        if (isXmlRow(block)) {
            xml += block.find("Comment")->value.text.substr(kXmlMark.size());
            continue;
        }
        MacroRow row;
        for (const auto& p : block.properties) {
            if (util::EqualsIgnoreCase(p.name, "MacroName"))
                row.macroName = p.value.text;
            else if (util::EqualsIgnoreCase(p.name, "Condition"))
                row.condition = p.value.text;
            else if (util::EqualsIgnoreCase(p.name, "Action"))
                row.action = p.value.text;
            else if (util::EqualsIgnoreCase(p.name, "Argument"))
                row.arguments.push_back(p.value.text);
            else if (util::EqualsIgnoreCase(p.name, "Comment"))
                row.comment = p.value.text;
        }
        macro.rows.push_back(std::move(row));
    }
    if (macro.rows.empty() && !xml.empty()) {
        XmlRows rows(macro.rows);
        rows.walk(ParseXml(xml, source), {});
    }
    return macro;
}

}  // namespace zanfor::host::exports
