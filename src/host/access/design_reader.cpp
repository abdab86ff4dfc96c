#include "host/access/design_reader.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <set>

#include "host/access/access_project.h"
#include "host/access/design_directory.h"
#include "host/access/design_tags.h"
#include "host/access/macro_sheet.h"
#include "host/access/property_schema.h"
#include "util/encoding.h"
#include "util/vb_string.h"

namespace zanfor::host::access {

namespace {

using StoredList = std::vector<std::pair<std::string, Value>>;

// SaveAsText writes a yes/no property that differs from its default as "NotDefault", and the
// compact encoding stores the same thing: the tag alone. Both go through the schema alike.
constexpr const char* kNotDefault = "NotDefault";

constexpr int kFirstGroupSection = 5;

std::int64_t littleEndian(std::string_view b, bool isSigned) {
    std::uint64_t v = 0;
    for (std::size_t i = b.size(); i-- > 0;)
        v = (v << 8) | static_cast<unsigned char>(b[i]);
    if (isSigned && !b.empty() && (static_cast<unsigned char>(b.back()) & 0x80) != 0)
        v |= ~std::uint64_t{0} << (8 * b.size());
    return static_cast<std::int64_t>(v);
}

bool isWholeSize(std::size_t n) { return n == 1 || n == 2 || n == 4; }

class ValueReader {
public:
    ValueReader(const DesignStream& stream, int codePage) : stream_(stream), codePage_(codePage) {}

    // The named value of an entry; nullopt when the entry has no name or a binary value, in
    // which case `unnamed` describes it.
    std::optional<std::pair<std::string, Value>> read(const DesignProperty& p, int objectClass,
                                                      UnnamedProperty& unnamed) const {
        const DesignTag* row = FindDesignTag(objectClass, p.tag);
        const std::string_view name = nameOf(p, objectClass);
        unnamed = {p.tag, p.propertyId, std::string(name), p.payload.size(), p.offset, p.fromDelta};
        if (name.empty())
            return std::nullopt;
        // A BlobDelta's entries are explicit even where the design itself is compact.
        std::optional<Value> value =
            p.explicitEncoding ? explicitValue(p, row) : compactValue(p, row);
        if (!value)
            return std::nullopt;
        return std::pair{std::string(name), std::move(*value)};
    }

    static std::string_view nameOf(const DesignProperty& p, int objectClass) {
        const DesignTag* row = FindDesignTag(objectClass, p.tag);
        std::string_view name = row ? row->name : std::string_view();
        // An id names an Access 2000 slot the tables lack; a tag from 0x100 on that no table
        // knows is a property of a later Access, which Access 2000 never showed.
        if (name.empty() && p.explicitEncoding && p.tag < 0x100)
            name = PropertyIdName(p.propertyId);
        return name;
    }

private:
    std::optional<Value> compactValue(const DesignProperty& p, const DesignTag* row) const {
        switch (RangeOfCompactTag(p.tag)) {
            case TagRange::Flag:
                return Value(kNotDefault);
            case TagRange::Byte:
                return Value(littleEndian(p.payload, false));
            case TagRange::Int:
            case TagRange::Long:
                return Value(littleEndian(p.payload, true));
            case TagRange::Variable:
                if (row && row->binary)
                    return std::nullopt;
                return text(p.payload);
            default:
                return std::nullopt;
        }
    }

    std::optional<Value> explicitValue(const DesignProperty& p, const DesignTag* row) const {
        const std::string_view b = p.payload;
        switch (p.type) {
            case design_type::kYesNo:
                if (b.empty())
                    return Value(kNotDefault);
                if (!isWholeSize(b.size()))
                    return std::nullopt;
                return Value(littleEndian(b, false) != 0);
            case design_type::kByte:
            case design_type::kInteger:
            case design_type::kLong:
                if (!isWholeSize(b.size()))
                    return std::nullopt;
                return Value(littleEndian(b, !(p.type == design_type::kByte && b.size() == 1)));
            case design_type::kSingle: {
                if (b.size() != sizeof(float))
                    return std::nullopt;
                float f;
                std::memcpy(&f, b.data(), sizeof f);
                return Value(static_cast<double>(f));
            }
            case design_type::kDouble: {
                if (b.size() != sizeof(double) || (row && row->binary))
                    return std::nullopt;
                double d;
                std::memcpy(&d, b.data(), sizeof d);
                return Value(d);
            }
            case design_type::kText:
            case design_type::kMemo:
                if (row && row->binary)
                    return std::nullopt;
                return Value(util::Utf16LeToUtf8(b));
            default:
                return std::nullopt;
        }
    }

    Value text(std::string_view b) const {
        return Value(stream_.ansi ? util::DecodeCodePage(b, codePage_) : util::Utf16LeToUtf8(b));
    }

    const DesignStream& stream_;
    int codePage_;
};

// The last value stored under a name, as the schema takes it.
const Value* findValue(const StoredList& list, std::string_view name) {
    for (auto it = list.rbegin(); it != list.rend(); ++it) {
        if (util::EqualsIgnoreCase(it->first, name))
            return &it->second;
    }
    return nullptr;
}

bool has(const StoredList& list, std::string_view name) { return findValue(list, name) != nullptr; }

std::string textOf(const StoredList& list, std::string_view name) {
    const Value* v = findValue(list, name);
    return v ? v->toText() : std::string();
}

// A report's grouping level has the seven properties of Access's GroupLevel object.
struct GroupSpec {
    std::string_view name;
    Value defaultValue;
};
const std::vector<GroupSpec>& groupLevelSpecs() {
    static const std::vector<GroupSpec> specs = {
        {"ControlSource", Value("")},  {"SortOrder", Value(false)}, {"GroupHeader", Value(false)},
        {"GroupFooter", Value(false)}, {"GroupOn", Value(0)},       {"GroupInterval", Value(1)},
        {"KeepTogether", Value(0)},
    };
    return specs;
}

// The kinds of value an unnamed stored entry can be, as one bit per tag range.
using RangeSet = unsigned;

RangeSet bitOf(TagRange range) { return 1u << static_cast<unsigned>(range); }

// The ranges of the entries stored under tags no table names. A tag from 0x100 on is a
// property of a later Access, which Access 2000 never showed.
RangeSet unnamedRanges(const DecodedItem& item) {
    RangeSet ranges = 0;
    for (const auto& u : item.unnamed) {
        if (u.name.empty() && u.tag < 0x100)
            ranges |= bitOf(RangeOfCompactTag(u.tag));
    }
    return ranges;
}

// The ranges a property of this default's kind is stored in.
RangeSet rangesOfKind(const Value& defaultValue) {
    switch (defaultValue.kind()) {
        case Value::Kind::Bool:
            return bitOf(TagRange::Flag);
        case Value::Kind::Integer:
        case Value::Kind::Double:
            return bitOf(TagRange::Byte) | bitOf(TagRange::Int) | bitOf(TagRange::Long) |
                   bitOf(TagRange::Unsized);
        default:
            return bitOf(TagRange::Variable);
    }
}

// The names a property may be stored under: its own and those it is derived from.
std::vector<std::string_view> storageNames(std::string_view name) {
    if (util::EqualsIgnoreCase(name, "BorderStyle"))
        return {name, "OldBorderStyle", "BorderLineStyle"};
    if (util::EqualsIgnoreCase(name, "RecordsetType"))
        return {name, "AllowUpdating"};
    if (util::EqualsIgnoreCase(name, "MinMaxButtons"))
        return {name, "MinButton", "MaxButton"};
    return {name};
}

// Whether a stored entry of this property would have been read under its name: a tag of the
// class names it or, in the explicit encoding, its property id does.
bool nameable(int objectClass, bool explicitEncoding, std::string_view name) {
    for (const auto& row : DesignTagsOf(objectClass)) {
        if (util::EqualsIgnoreCase(row.name, name))
            return true;
    }
    if (!explicitEncoding)
        return false;
    static const std::set<std::string> idNames = [] {
        constexpr std::uint32_t kIdsBelow = 0x400;
        std::set<std::string> names;
        for (std::uint32_t id = 0; id < kIdsBelow; ++id) {
            if (const auto n = PropertyIdName(id); !n.empty())
                names.insert(util::UCase(n));
        }
        return names;
    }();
    return idNames.count(util::UCase(name)) != 0;
}

// The stored bytes of an object's embedded picture: a packed DIB, or a metafile behind its
// clipboard format. Empty when it has none.
std::string pictureDataOf(const DesignNode& node) {
    for (auto it = node.properties.rbegin(); it != node.properties.rend(); ++it) {
        if (util::EqualsIgnoreCase(ValueReader::nameOf(*it, node.objectClass), "PictureData"))
            return it->payload;
    }
    return {};
}

class Builder {
public:
    Builder(const DesignStream& stream, ObjectType type, std::string name, std::string what,
            int codePage)
        : stream_(stream),
          values_(stream, codePage),
          report_(type == ObjectType::Report),
          name_(std::move(name)),
          what_(std::move(what)) {
        out_.version = stream.version;
        out_.versionRequired = stream.versionRequired;
        out_.object.kind = type;
        out_.object.name = name_;
    }

    DecodedDesign build(bool hasModule) {
        const DesignNode& root = stream_.root;
        const int expected = report_ ? design_class::kReport : design_class::kForm;
        if (root.objectClass != expected) {
            fail(root.offset, "ルートのクラス " + std::to_string(root.objectClass) + " は" +
                                  (report_ ? "レポート" : "フォーム") + "ではありません");
        }
        DecodedItem item = start(root, report_ ? "Report" : "Form");
        item.name = name_;
        // The design does not store the object's own name, nor whether it has a module.
        item.stored.insert(item.stored.begin(), {"Name", Value(name_)});
        item.stored.emplace_back("HasModule", Value(hasModule));
        finish(item, report_ ? "Report" : "Form", {report_, false}, nullptr);
        out_.object.properties = item.properties;
        out_.object.pictureData = pictureDataOf(root);
        out_.object.unknown = unknownOf(item, unnamedRanges(item));
        out_.items.push_back(std::move(item));

        bool templatesDone = false;
        for (const auto& child : root.children) {
            if (skipsUnknownClass(child, ""))
                continue;
            const DesignClass& c = classOf(child);
            switch (c.role) {
                case DesignClassRole::Control:
                    if (templatesDone)
                        fail(child.offset, "セクションの外にコントロールがあります");
                    templateOf(child);
                    break;
                case DesignClassRole::GroupLevel:
                    if (!report_)
                        fail(child.offset, "フォームにグループ化の設定があります");
                    templatesDone = true;
                    groupLevel(child);
                    break;
                case DesignClassRole::Section:
                    templatesDone = true;
                    section(child);
                    break;
                case DesignClassRole::Root:
                    fail(child.offset, "フォームまたはレポートの中に入れ子になっています");
            }
        }
        return std::move(out_);
    }

private:
    [[noreturn]] void fail(std::size_t offset, const std::string& reason) const {
        ThrowDesignError(what_, offset, reason);
    }

    // A record of a class no table knows (0x79 beside the toolbox defaults of the French
    // Northwind; whatever a later Access may add) has a known extent, since its entries are
    // sized by their tags: it is left out with everything it holds, and the rest of the design
    // reads. The listing keeps it, with its entries unnamed, so nothing is hidden.
    bool skipsUnknownClass(const DesignNode& node, const std::string& parent) {
        if (FindDesignClass(node.objectClass))
            return false;
        DecodedItem item = start(node, "");
        item.parent = parent;
        out_.items.push_back(std::move(item));
        return true;
    }

    const DesignClass& classOf(const DesignNode& node) const {
        const DesignClass* c = FindDesignClass(node.objectClass);
        if (!c) {
            char buffer[8];
            std::snprintf(buffer, sizeof buffer, "0x%02X", node.objectClass);
            fail(node.offset, std::string("未知のオブジェクト クラス ") + buffer);
        }
        return *c;
    }

    DecodedItem start(const DesignNode& node, std::string_view kind) const {
        DecodedItem item;
        item.objectClass = node.objectClass;
        item.kind = std::string(kind);
        item.offset = node.offset;
        for (const auto& p : node.properties) {
            UnnamedProperty unnamed;
            if (auto named = values_.read(p, node.objectClass, unnamed))
                item.stored.push_back(std::move(*named));
            else
                item.unnamed.push_back(std::move(unnamed));
        }
        item.name = textOf(item.stored, "Name");
        return item;
    }

    // The collection from the schema, the default-control record and the object's own values,
    // and where each property came from.
    void finish(DecodedItem& item, std::string_view schemaKind, DesignContext context,
                const StoredList* templateValues) const {
        StoredList all;
        if (templateValues)
            all = *templateValues;
        all.insert(all.end(), item.stored.begin(), item.stored.end());
        item.properties = BuildProperties(schemaKind, context, all);
        for (const auto& p : item.properties) {
            if (has(item.stored, p.name))
                item.origins.push_back(PropertyOrigin::Stored);
            else if (templateValues && has(*templateValues, p.name))
                item.origins.push_back(PropertyOrigin::Template);
            else
                item.origins.push_back(PropertyOrigin::Default);
        }
    }

    // The properties of `item` the design does not tell: taken from no stored entry, named
    // by none of its class's tags, while entries of their kind are stored under unnamed tags.
    // An entry that was named but whose value did not read leaves that property unknown too.
    std::vector<std::string> unknownOf(const DecodedItem& item, RangeSet unnamed) const {
        std::vector<std::string> unknown;
        for (const auto& u : item.unnamed) {
            if (!u.name.empty() && item.properties.contains(u.name))
                unknown.push_back(u.name);
        }
        // A picture embedded without the path it came from: Access shows a Picture setting,
        // which the design does not hold.
        if (IsListed(unknown, "PictureData") && !has(item.stored, "Picture") &&
            item.properties.contains("Picture"))
            unknown.push_back("Picture");
        if (unnamed == 0)
            return unknown;
        const bool explicitEncoding = stream_.explicitEncoding;
        for (std::size_t i = 0; i < item.properties.count(); ++i) {
            const Property& p = item.properties.at(i);
            // The class gives the control type; a design never stores it.
            if (item.origins[i] != PropertyOrigin::Default ||
                util::EqualsIgnoreCase(p.name, "ControlType") ||
                (rangesOfKind(p.value) & unnamed) == 0)
                continue;
            const auto names = storageNames(p.name);
            const bool named = std::any_of(names.begin(), names.end(), [&](std::string_view n) {
                return nameable(item.objectClass, explicitEncoding, n);
            });
            if (!named)
                unknown.push_back(p.name);
        }
        return unknown;
    }

    void templateOf(const DesignNode& node) {
        DecodedItem item = start(node, classOf(node).blockKind);
        if (!node.children.empty())
            fail(node.offset, "既定のコントロール設定に子オブジェクトがあります");
        item.defaults = true;
        for (const auto& [name, value] : item.stored)
            item.properties.put(name, value);
        item.origins.assign(item.properties.count(), PropertyOrigin::Stored);
        templates_[node.objectClass] = item.stored;
        templatePictures_[node.objectClass] = pictureDataOf(node);
        templateRanges_[node.objectClass] = unnamedRanges(item);
        out_.items.push_back(std::move(item));
    }

    void groupLevel(const DesignNode& node) {
        DecodedItem item = start(node, "BreakLevel");
        if (!node.children.empty())
            fail(node.offset, "グループ化の設定に子オブジェクトがあります");
        GroupLevel level;
        std::vector<Value*> fields = {&level.controlSource, &level.sortOrder, &level.groupHeader,
                                      &level.groupFooter,   &level.groupOn,   &level.groupInterval,
                                      &level.keepTogether};
        const auto& specs = groupLevelSpecs();
        for (std::size_t i = 0; i < specs.size(); ++i) {
            Value value = specs[i].defaultValue;
            const Value* stored = findValue(item.stored, specs[i].name);
            const bool isStored = stored != nullptr;
            if (isStored) {
                const bool notDefault =
                    stored->kind() == Value::Kind::Text && stored->toText() == kNotDefault;
                value = notDefault ? Value(!specs[i].defaultValue.toBool()) : *stored;
            }
            *fields[i] = value;
            item.properties.put(std::string(specs[i].name), value);
            item.origins.push_back(isStored ? PropertyOrigin::Stored : PropertyOrigin::Default);
        }
        out_.object.groupLevels.push_back(std::move(level));
        out_.items.push_back(std::move(item));
    }

    void section(const DesignNode& node) {
        DecodedItem item = start(node, classOf(node).blockKind);
        finish(item, "Section", {report_, false}, nullptr);
        out_.object.sections.push_back(item.properties);
        const std::string sectionName = item.name;
        const int number = numberOfSection(node.objectClass, item.stored);
        out_.object.sectionNumbers.push_back(number);
        out_.items.push_back(std::move(item));
        for (const auto& child : node.children) {
            if (!skipsUnknownClass(child, sectionName))
                control(child, sectionName, node.objectClass, number);
        }
    }

    // Access's section number (acDetail 0 ... acPageFooter 4, then a header and a footer number
    // per grouping level), which the design does not store: a group section names its level.
    static int numberOfSection(int objectClass, const StoredList& stored) {
        const Value* level = findValue(stored, "BreakLevel");
        const int group = level ? static_cast<int>(level->toInteger()) : 0;
        switch (objectClass) {
            case design_class::kGroupHeader:
                return kFirstGroupSection + 2 * group;
            case design_class::kGroupFooter:
                return kFirstGroupSection + 2 * group + 1;
            default:
                return objectClass - design_class::kDetail;
        }
    }

    void control(const DesignNode& node, const std::string& parent, int parentClass,
                 int sectionNumber) {
        const DesignClass& c = classOf(node);
        if (c.role != DesignClassRole::Control)
            fail(node.offset, "コントロールの位置に " + std::string(c.blockKind) + " があります");
        DecodedItem item = start(node, c.blockKind);
        item.parent = parent;
        item.stored.emplace_back("Section", Value(sectionNumber));
        const auto t = templates_.find(node.objectClass);
        // Only the buttons and boxes of an option group take their value from it.
        const bool member = node.objectClass == design_class::kCheckBox ||
                            node.objectClass == design_class::kOptionButton ||
                            node.objectClass == design_class::kToggleButton;
        finish(item, c.schemaKind, {report_, member && parentClass == design_class::kOptionGroup},
               t == templates_.end() ? nullptr : &t->second);
        if (!item.properties.contains("ControlType"))
            item.properties.put("ControlType", Value(c.controlType));
        Control control;
        control.properties = item.properties;
        control.parent = parent;
        control.pictureData = pictureDataOf(node);
        if (const auto p = templatePictures_.find(node.objectClass);
            control.pictureData.empty() && p != templatePictures_.end())
            control.pictureData = p->second;
        const auto r = templateRanges_.find(node.objectClass);
        control.unknown =
            unknownOf(item, unnamedRanges(item) | (r == templateRanges_.end() ? 0 : r->second));
        out_.object.controls.push_back(std::move(control));
        const std::string holder = item.name;
        out_.items.push_back(std::move(item));
        for (const auto& child : node.children) {
            if (!skipsUnknownClass(child, holder))
                this->control(child, holder, node.objectClass, sectionNumber);
        }
    }

    const DesignStream& stream_;
    ValueReader values_;
    bool report_;
    std::string name_;
    std::string what_;
    std::map<int, StoredList> templates_;
    std::map<int, RangeSet> templateRanges_;
    std::map<int, std::string> templatePictures_;
    DecodedDesign out_;
};

std::string describe(ObjectType type, std::string_view name, std::string_view stream) {
    const char* kind = type == ObjectType::Report  ? "レポート"
                       : type == ObjectType::Macro ? "マクロ"
                                                   : "フォーム";
    return std::string(kind) + " '" + std::string(name) + "' の " + std::string(stream);
}

const StorageNode* objectStorage(const AccessProject& project, std::string_view container,
                                 const std::string& name, std::string* storedName) {
    const StorageNode* folder = project.root().child(container);
    if (!folder)
        return nullptr;
    const StorageNode* dir = ContainerStream(*folder, "DirData");
    if (!dir)
        return nullptr;
    for (const auto& e : ReadDirData(dir->data)) {
        if (util::EqualsIgnoreCase(e.name, name)) {
            *storedName = e.name;
            return folder->child(std::to_string(e.storage));
        }
    }
    return nullptr;
}

std::string_view containerOf(ObjectType type) {
    return type == ObjectType::Report ? "Reports" : type == ObjectType::Macro ? "Scripts" : "Forms";
}

std::string_view streamData(const StorageNode* storage, std::string_view name) {
    const StorageNode* s = storage ? ContainerStream(*storage, name) : nullptr;
    return s ? std::string_view(s->data) : std::string_view();
}

}  // namespace

DecodedDesign DecodeDesign(std::string_view blob, std::string_view delta, ObjectType type,
                           const std::string& name, bool hasModule, int codePage) {
    const std::string what = describe(type, name, "Blob");
    DesignStream stream = ParseDesignStream(blob, what);
    if (!delta.empty()) {
        const std::string deltaWhat = describe(type, name, "BlobDelta");
        MergeDesignDelta(stream.root, ParseDesignStream(delta, deltaWhat).root, deltaWhat);
    }
    return Builder(stream, type, name, what, codePage).build(hasModule);
}

std::vector<std::string> StoredObjectNames(const AccessProject& project, ObjectType type) {
    std::vector<std::string> names;
    const StorageNode* folder = project.root().child(containerOf(type));
    const StorageNode* dir = folder ? ContainerStream(*folder, "DirData") : nullptr;
    if (dir) {
        for (auto& e : ReadDirData(dir->data))
            names.push_back(std::move(e.name));
    }
    return names;
}

std::optional<DecodedDesign> ReadStoredDesignDetail(const AccessProject& project, ObjectType type,
                                                    const std::string& name) {
    const DesignEntry* entry =
        type == ObjectType::Report ? project.report(name) : project.form(name);
    if (!entry)
        return std::nullopt;
    const std::string_view blob = streamData(entry->storage, "Blob");
    if (blob.empty())
        ThrowDesignError(describe(type, entry->name, "Blob"), 0, "ストリームがありません");
    return DecodeDesign(blob, streamData(entry->storage, "BlobDelta"), type, entry->name,
                        entry->hasModule, project.codePage());
}

std::optional<DesignObject> ReadStoredDesign(const AccessProject& project, ObjectType type,
                                             const std::string& name) {
    auto detail = ReadStoredDesignDetail(project, type, name);
    if (!detail)
        return std::nullopt;
    return std::move(detail->object);
}

std::optional<MacroDefinition> ReadStoredMacro(const AccessProject& project,
                                               const std::string& name) {
    std::string storedName;
    const StorageNode* storage = objectStorage(project, "Scripts", name, &storedName);
    if (!storage)
        return std::nullopt;
    const std::string what = describe(ObjectType::Macro, storedName, "Blob");
    const std::string_view sheet = streamData(storage, "Blob");
    if (sheet.empty())
        ThrowDesignError(what, 0, "ストリームがありません");
    return DecodeMacroSheet(sheet, storedName, project.codePage(), what);
}

}  // namespace zanfor::host::access
