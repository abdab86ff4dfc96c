#include "host/export/design_text.h"

#include <array>
#include <map>

#include "host/control_types.h"

namespace zanfor::host::exports {

namespace {

constexpr std::array<std::string_view, 7> kSectionKinds = {
    "FormHeader", "FormFooter",  "PageHeader", "PageFooter",
    "Section",    "BreakHeader", "BreakFooter"};

bool isSection(std::string_view kind) {
    for (auto s : kSectionKinds) {
        if (s == kind)
            return true;
    }
    return false;
}

using Templates = std::map<std::string, std::vector<SavedProperty>>;

class Reader {
public:
    explicit Reader(DesignText& out) : out_(out) {}

    void addTemplate(const SavedBlock& block) { templates_[block.kind] = block.properties; }

    void section(SavedBlock& block) {
        DesignSection s;
        s.kind = block.kind;
        s.name = block.text("Name");
        s.properties = std::move(block.properties);
        out_.sections.push_back(std::move(s));
        const int index = static_cast<int>(out_.sections.size()) - 1;
        for (auto& list : block.children) {
            for (auto& c : list.children)
                control(c, -1, index);
        }
    }

private:
    void control(SavedBlock& block, int parent, int section) {
        const ControlKind kind = ControlKindOf(block.kind);
        DesignControl c;
        c.typeName = std::string(kind.typeName);
        c.controlType = kind.code;
        c.name = block.text("Name");
        c.parent = parent;
        c.section = section;
        c.line = block.line;
        if (auto t = templates_.find(block.kind); t != templates_.end()) {
            c.properties.reserve(t->second.size() + block.properties.size());
            c.properties = t->second;
            c.properties.insert(c.properties.end(),
                                std::make_move_iterator(block.properties.begin()),
                                std::make_move_iterator(block.properties.end()));
        } else {
            c.properties = std::move(block.properties);
        }
        out_.controls.push_back(std::move(c));
        const int index = static_cast<int>(out_.controls.size()) - 1;
        for (auto& list : block.children) {
            for (auto& nested : list.children)
                control(nested, index, section);
        }
    }

    DesignText& out_;
    Templates templates_;
};

}  // namespace

ControlKind ControlKindOf(std::string_view blockKind) {
    for (const auto& type : kControlTypes) {
        if (blockKind == type.name || blockKind == type.blockKind ||
            (!type.reportBlockKind.empty() && blockKind == type.reportBlockKind))
            return {type.code, type.name};
    }
    return {0, blockKind};
}

DesignText ReadDesignText(SavedText text, const std::string& source) {
    SavedBlock* object = nullptr;
    for (auto& b : text.root.children) {
        if (b.kind == "Form" || b.kind == "Report") {
            object = &b;
            break;
        }
    }
    if (!object)
        ThrowMalformed(source, 1, "Begin Form または Begin Report がありません");
    DesignText design;
    design.report = object->kind == "Report";
    design.properties = std::move(object->properties);
    design.code = std::move(text.code);
    Reader reader(design);
    // The object's one bare block holds, in this order, the default settings of each control
    // type, the grouping levels and the sections.
    for (auto& list : object->children) {
        for (auto& child : list.children) {
            if (child.kind == "BreakLevel")
                design.groupLevels.push_back(std::move(child.properties));
            else if (isSection(child.kind))
                reader.section(child);
            else
                reader.addTemplate(child);
        }
    }
    return design;
}

}  // namespace zanfor::host::exports
