#include "host/access/design_printout.h"

#include <cstdio>

#include "host/access/design_reader.h"
#include "host/access/design_tags.h"

namespace zanfor::host::access {

namespace {

std::string hex(std::uint64_t v, int digits) {
    char buffer[24];
    std::snprintf(buffer, sizeof buffer, "0x%0*llX", digits, static_cast<unsigned long long>(v));
    return buffer;
}

std::string quoted(const std::string& s) {
    std::string q = "\"";
    for (char c : s) {
        if (c == '"')
            q += "\"\"";
        else if (c == '\r')
            q += "\\r";
        else if (c == '\n')
            q += "\\n";
        else
            q += c;
    }
    return q + "\"";
}

std::string shown(const Value& v) {
    switch (v.kind()) {
        case Value::Kind::Null:
            return "Null";
        case Value::Kind::Text:
            return quoted(v.toText());
        default:
            return v.toText();
    }
}

const char* originName(PropertyOrigin o) {
    switch (o) {
        case PropertyOrigin::Stored:
            return "stored";
        case PropertyOrigin::Template:
            return "form default";
        case PropertyOrigin::Default:
            return "default";
    }
    return "";
}

void printItem(const DecodedItem& item, std::ostream& out) {
    out << (item.defaults ? "Defaults of " : "") << item.kind;
    if (!item.name.empty())
        out << " " << quoted(item.name);
    if (!item.parent.empty())
        out << " in " << quoted(item.parent);
    out << "  (class " << hex(item.objectClass, 2) << ", offset " << hex(item.offset, 4) << ")\n";
    std::size_t i = 0;
    for (const auto& p : item.properties) {
        out << "    " << p.name << " = " << shown(p.value) << "  [" << originName(item.origins[i++])
            << "]\n";
    }
    for (const auto& u : item.unnamed) {
        const std::string_view later = LaterPropertyIdName(u.propertyId);
        const std::string what = !u.name.empty()  ? u.name + ", binary"
                                 : !later.empty() ? std::string(later) + ", Access 2007+"
                                                  : "not known";
        out << "    (tag " << hex(u.tag, 2);
        if (u.propertyId != 0)
            out << ", id " << hex(u.propertyId, 3);
        out << ", " << u.size << " bytes at " << hex(u.offset, 4)
            << (u.fromDelta ? " in BlobDelta" : "") << ": " << what << ")\n";
    }
}

}  // namespace

bool PrintStoredObject(const AccessProject& project, ObjectType type, const std::string& name,
                       std::ostream& out) {
    if (type == ObjectType::Macro) {
        const auto macro = ReadStoredMacro(project, name);
        if (!macro)
            return false;
        out << "Macro " << quoted(macro->name) << "\n";
        for (const auto& row : macro->rows) {
            out << "  Row\n";
            if (!row.macroName.empty())
                out << "    MacroName = " << quoted(row.macroName) << "\n";
            if (!row.condition.empty())
                out << "    Condition = " << quoted(row.condition) << "\n";
            if (!row.action.empty())
                out << "    Action = " << quoted(row.action) << "\n";
            if (!row.comment.empty())
                out << "    Comment = " << quoted(row.comment) << "\n";
            for (const auto& a : row.arguments)
                out << "    Argument = " << quoted(a) << "\n";
        }
        return true;
    }
    const auto design = ReadStoredDesignDetail(project, type, name);
    if (!design)
        return false;
    out << (type == ObjectType::Report ? "Report " : "Form ") << quoted(design->object.name)
        << "  (version " << hex(design->version, 2) << ", required "
        << hex(design->versionRequired, 2) << ")\n";
    for (const auto& item : design->items)
        printItem(item, out);
    return true;
}

}  // namespace zanfor::host::access
