#include "output/xlsx_package.h"

#include <zip.h>

#include <algorithm>
#include <sstream>

#include "host/error.h"
#include "output/xlsx_workbook.h"

namespace zanfor::output {

namespace {

// Far beyond any workbook this program writes or reads; a zip that unpacks to more is taken
// as damaged rather than filling the memory.
constexpr std::uint64_t kMaxPartBytes = 256u << 20;
constexpr std::uint64_t kMaxTotalBytes = 512u << 20;
constexpr zip_int64_t kMaxParts = 20000;

constexpr unsigned kParseOptions =
    pugi::parse_default | pugi::parse_declaration | pugi::parse_ws_pcdata_single;

struct ZipCloser {
    void operator()(zip_t* z) const noexcept { zip_discard(z); }
};
struct ZipFileCloser {
    void operator()(zip_file_t* f) const noexcept { zip_fclose(f); }
};

std::string FolderOf(const std::string& part) {
    const auto slash = part.rfind('/');
    return slash == std::string::npos ? std::string() : part.substr(0, slash + 1);
}

// "../worksheets/sheet1.xml" seen from "xl/" is "xl/worksheets/sheet1.xml"; "/xl/a.xml" is
// taken from the package root.
std::string ResolvePart(const std::string& base, std::string_view target) {
    std::string joined = !target.empty() && target.front() == '/' ? std::string(target.substr(1))
                                                                  : base + std::string(target);
    std::vector<std::string> parts;
    std::stringstream in(joined);
    for (std::string item; std::getline(in, item, '/');) {
        if (item.empty() || item == ".")
            continue;
        if (item == "..") {
            if (!parts.empty())
                parts.pop_back();
            continue;
        }
        parts.push_back(item);
    }
    std::string out;
    for (const auto& p : parts)
        out += (out.empty() ? "" : "/") + p;
    return out;
}

// The shortest path from the folder of `source` to `part`, as relationships are written.
std::string RelativeTarget(const std::string& source, const std::string& part) {
    const std::string folder = FolderOf(source);
    if (part.rfind(folder, 0) == 0)
        return part.substr(folder.size());
    return "/" + part;
}

}  // namespace

void ThrowDamaged(std::string_view fileName, std::string_view detail) {
    throw host::Error(kWorkbookDamaged,
                      "ブック '" + std::string(fileName) +
                          "' は壊れているか、Excel ブック(.xlsx)ではありません。(" +
                          std::string(detail) + ")");
}

std::string_view LocalName(const pugi::xml_node& node) {
    std::string_view name = node.name();
    const auto colon = name.find(':');
    return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

pugi::xml_node Child(const pugi::xml_node& parent, std::string_view local) {
    for (auto c : parent.children())
        if (c.type() == pugi::node_element && LocalName(c) == local)
            return c;
    return {};
}

std::vector<pugi::xml_node> Children(const pugi::xml_node& parent, std::string_view local) {
    std::vector<pugi::xml_node> out;
    for (auto c : parent.children())
        if (c.type() == pugi::node_element && LocalName(c) == local)
            out.push_back(c);
    return out;
}

namespace {
std::string PrefixOf(const pugi::xml_node& node) {
    std::string_view name = node.name();
    const auto colon = name.find(':');
    return colon == std::string_view::npos ? std::string() : std::string(name.substr(0, colon + 1));
}
}  // namespace

pugi::xml_node AppendChild(pugi::xml_node parent, std::string_view local) {
    return parent.append_child((PrefixOf(parent) + std::string(local)).c_str());
}

pugi::xml_node OrderedChild(pugi::xml_node parent, std::string_view local,
                            const std::vector<std::string_view>& order) {
    if (auto existing = Child(parent, local))
        return existing;
    const auto rank = [&](std::string_view name) {
        return std::find(order.begin(), order.end(), name) - order.begin();
    };
    const auto own = rank(local);
    const std::string name = PrefixOf(parent) + std::string(local);
    for (auto c : parent.children())
        if (c.type() == pugi::node_element && rank(LocalName(c)) > own)
            return parent.insert_child_before(name.c_str(), c);
    return parent.append_child(name.c_str());
}

pugi::xml_attribute RelationshipId(const pugi::xml_node& node) {
    for (auto a : node.attributes()) {
        std::string_view name = a.name();
        if (name.size() > 3 && name.substr(name.size() - 3) == ":id")
            return a;
    }
    return {};
}

XlsxPackage XlsxPackage::fromBytes(std::string bytes, std::string_view fileName) {
    XlsxPackage package;
    package.fileName_ = std::string(fileName);
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(bytes.data(), bytes.size(), 0, &error);
    if (!source)
        ThrowDamaged(fileName, "zip");
    std::unique_ptr<zip_t, ZipCloser> zip(zip_open_from_source(source, ZIP_RDONLY, &error));
    if (!zip) {
        zip_source_free(source);
        zip_error_fini(&error);
        ThrowDamaged(fileName, "zip");
    }
    const zip_int64_t count = zip_get_num_entries(zip.get(), 0);
    if (count < 0 || count > kMaxParts)
        ThrowDamaged(fileName, "zip");
    std::uint64_t total = 0;
    for (zip_int64_t i = 0; i < count; ++i) {
        const char* name = zip_get_name(zip.get(), static_cast<zip_uint64_t>(i), 0);
        if (!name)
            ThrowDamaged(fileName, "zip");
        std::string part = name;
        if (part.empty() || part.back() == '/')
            continue;
        std::unique_ptr<zip_file_t, ZipFileCloser> file(
            zip_fopen_index(zip.get(), static_cast<zip_uint64_t>(i), 0));
        if (!file)
            ThrowDamaged(fileName, part);
        std::string data;
        char buffer[65536];
        for (;;) {
            const zip_int64_t n = zip_fread(file.get(), buffer, sizeof buffer);
            if (n < 0)
                ThrowDamaged(fileName, part);
            if (n == 0)
                break;
            total += static_cast<std::uint64_t>(n);
            if (data.size() + static_cast<std::size_t>(n) > kMaxPartBytes || total > kMaxTotalBytes)
                ThrowDamaged(fileName, part);
            data.append(buffer, static_cast<std::size_t>(n));
        }
        if (!package.raw_.count(part))
            package.order_.push_back(part);
        package.raw_[part] = std::move(data);
    }
    if (!package.has("[Content_Types].xml"))
        ThrowDamaged(fileName, "[Content_Types].xml");
    return package;
}

bool XlsxPackage::has(const std::string& part) const {
    return raw_.count(part) != 0 || docs_.count(part) != 0;
}

pugi::xml_document& XlsxPackage::xml(const std::string& part) {
    if (auto it = docs_.find(part); it != docs_.end())
        return *it->second;
    const auto raw = raw_.find(part);
    if (raw == raw_.end())
        ThrowDamaged(fileName_, part);
    auto doc = std::make_unique<pugi::xml_document>();
    const auto result = doc->load_buffer(raw->second.data(), raw->second.size(), kParseOptions);
    if (!result || !doc->document_element())
        ThrowDamaged(fileName_, part);
    raw_.erase(raw);
    return *(docs_[part] = std::move(doc));
}

pugi::xml_document& XlsxPackage::addXml(const std::string& part, std::string_view text) {
    auto doc = std::make_unique<pugi::xml_document>();
    doc->load_buffer(text.data(), text.size(), kParseOptions);
    if (!has(part))
        order_.push_back(part);
    raw_.erase(part);
    return *(docs_[part] = std::move(doc));
}

std::string XlsxPackage::freePartName(std::string_view prefix, std::string_view suffix) const {
    for (int n = 1;; ++n) {
        std::string name = std::string(prefix) + std::to_string(n) + std::string(suffix);
        if (!has(name))
            return name;
    }
}

std::string XlsxPackage::relsName(const std::string& source) const {
    const std::string folder = FolderOf(source);
    return folder + "_rels/" + source.substr(folder.size()) + ".rels";
}

pugi::xml_document& XlsxPackage::rels(const std::string& source) {
    const std::string name = relsName(source);
    if (!has(name)) {
        auto& doc = addXml(name,
                           "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>"
                           "<Relationships xmlns=\"http://schemas.openxmlformats.org/"
                           "package/2006/relationships\"/>");
        return doc;
    }
    return xml(name);
}

std::string XlsxPackage::target(const std::string& source, std::string_view relationshipId) {
    for (auto r : Children(rels(source).document_element(), "Relationship"))
        if (relationshipId == r.attribute("Id").value())
            return ResolvePart(FolderOf(source), r.attribute("Target").value());
    ThrowDamaged(fileName_, relsName(source));
}

std::string XlsxPackage::targetOfType(const std::string& source, std::string_view type) {
    for (auto r : Children(rels(source).document_element(), "Relationship"))
        if (type == r.attribute("Type").value() &&
            std::string_view(r.attribute("TargetMode").value()) != "External")
            return ResolvePart(FolderOf(source), r.attribute("Target").value());
    return {};
}

std::string XlsxPackage::addRelationship(const std::string& source, std::string_view type,
                                         const std::string& part) {
    auto root = rels(source).document_element();
    std::string id;
    for (int n = 1; id.empty(); ++n) {
        const std::string candidate = "rId" + std::to_string(n);
        bool taken = false;
        for (auto r : Children(root, "Relationship"))
            taken = taken || candidate == r.attribute("Id").value();
        if (!taken)
            id = candidate;
    }
    auto r = AppendChild(root, "Relationship");
    r.append_attribute("Id") = id.c_str();
    r.append_attribute("Type") = std::string(type).c_str();
    r.append_attribute("Target") = RelativeTarget(source, part).c_str();
    return id;
}

void XlsxPackage::addContentType(const std::string& part, std::string_view contentType) {
    auto root = xml("[Content_Types].xml").document_element();
    auto o = AppendChild(root, "Override");
    o.append_attribute("PartName") = ("/" + part).c_str();
    o.append_attribute("ContentType") = std::string(contentType).c_str();
}

std::string XlsxPackage::toBytes() {
    // libzip reads the sources only when the archive is closed: the serialised parts must
    // stay where they are until then.
    std::deque<std::string> texts;
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* sink = zip_source_buffer_create(nullptr, 0, 0, &error);
    if (!sink)
        throw host::Error(kWorkbookDamaged, "ブックを書けません。(zip)");
    zip_source_keep(sink);
    std::unique_ptr<zip_t, ZipCloser> zip(zip_open_from_source(sink, ZIP_TRUNCATE, &error));
    if (!zip) {
        zip_source_free(sink);
        throw host::Error(kWorkbookDamaged, "ブックを書けません。(zip)");
    }
    // [Content_Types].xml first: some readers look for it there.
    std::vector<std::string> names = order_;
    std::stable_partition(names.begin(), names.end(),
                          [](const std::string& n) { return n == "[Content_Types].xml"; });
    for (const auto& name : names) {
        std::string* data = nullptr;
        if (auto doc = docs_.find(name); doc != docs_.end()) {
            std::ostringstream out;
            doc->second->save(out, "", pugi::format_raw, pugi::encoding_utf8);
            data = &texts.emplace_back(out.str());
        } else {
            data = &raw_.at(name);
        }
        zip_source_t* part = zip_source_buffer(zip.get(), data->data(), data->size(), 0);
        if (!part || zip_file_add(zip.get(), name.c_str(), part, ZIP_FL_ENC_UTF_8) < 0) {
            if (part)
                zip_source_free(part);
            zip_source_free(sink);
            throw host::Error(kWorkbookDamaged, "ブックを書けません。(" + name + ")");
        }
    }
    if (zip_close(zip.get()) < 0) {
        zip_source_free(sink);
        throw host::Error(kWorkbookDamaged, "ブックを書けません。(zip)");
    }
    zip.release();
    std::string bytes;
    if (zip_source_open(sink) == 0) {
        char buffer[65536];
        for (zip_int64_t n; (n = zip_source_read(sink, buffer, sizeof buffer)) > 0;)
            bytes.append(buffer, static_cast<std::size_t>(n));
        zip_source_close(sink);
    }
    zip_source_free(sink);
    return bytes;
}

}  // namespace zanfor::output
