#include "site/site_writer.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <system_error>

#include "host/error.h"
#include "site/site_model.h"
#include "util/encoding.h"
#include "util/vb_string.h"

namespace zanfor::site {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kFileStems[] = {"table", "query", "form", "report", "macro", "module"};

// The graph's kinds of object are the site's kinds of page, in the same order.
constexpr bool SameKind(graph::NodeKind node, PageKind page) {
    return static_cast<int>(node) == static_cast<int>(page);
}
static_assert(SameKind(graph::NodeKind::Table, PageKind::Table) &&
              SameKind(graph::NodeKind::Query, PageKind::Query) &&
              SameKind(graph::NodeKind::Form, PageKind::Form) &&
              SameKind(graph::NodeKind::Report, PageKind::Report) &&
              SameKind(graph::NodeKind::Macro, PageKind::Macro) &&
              SameKind(graph::NodeKind::Module, PageKind::Module));

std::optional<PageKind> PageKindOf(graph::NodeKind kind) {
    if (kind == graph::NodeKind::Procedure)
        return std::nullopt;
    return static_cast<PageKind>(static_cast<int>(kind));
}

// The page holding a module's code: the module's own, or the form's or report's for the code
// behind it ("Form_F受注").
std::optional<std::size_t> CodePage(const SiteWriter::Data& d, const std::string& module) {
    auto page = [&](PageKind kind, std::string_view name) -> std::optional<std::size_t> {
        const auto found = d.byKey.find(Key(kind, name));
        if (found == d.byKey.end())
            return std::nullopt;
        return found->second;
    };
    if (auto own = page(PageKind::Module, module))
        return own;
    const auto upper = util::UCase(module);
    if (upper.starts_with("FORM_"))
        return page(PageKind::Form, std::string_view(module).substr(5));
    if (upper.starts_with("REPORT_"))
        return page(PageKind::Report, std::string_view(module).substr(7));
    return std::nullopt;
}

// The anchors of a page's procedures, by name in upper case: the first line of each
// procedure's block in its code, as the code is shown.
std::unordered_map<std::string, std::string> ProcedureAnchors(const std::vector<CodeLine>& lines) {
    std::unordered_map<std::string, std::string> anchors;
    for (const auto& line : lines) {
        if (!line.procedure.empty())
            anchors.try_emplace(util::UCase(line.procedure), line.procedure);
    }
    return anchors;
}

}  // namespace

std::string_view PageKindLabel(PageKind kind) {
    static constexpr std::string_view kLabels[] = {"テーブル", "クエリー", "フォーム",
                                                   "レポート", "マクロ",   "モジュール"};
    return kLabels[static_cast<int>(kind)];
}

std::vector<ObjectPage> NamePages(std::vector<std::pair<PageKind, std::string>> objects) {
    std::vector<std::size_t> order(objects.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::vector<std::string> upper(objects.size());
    for (std::size_t i = 0; i < objects.size(); ++i)
        upper[i] = util::UCase(objects[i].second);
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        if (objects[a].first != objects[b].first)
            return objects[a].first < objects[b].first;
        if (upper[a] != upper[b])
            return upper[a] < upper[b];
        return objects[a].second < objects[b].second;
    });
    std::vector<ObjectPage> pages(objects.size());
    int number = 0;
    for (std::size_t n = 0; n < order.size(); ++n) {
        const auto i = order[n];
        number = n > 0 && objects[order[n - 1]].first == objects[i].first ? number + 1 : 1;
        pages[i] = {objects[i].first, std::move(objects[i].second),
                    std::string(kFileStems[static_cast<int>(objects[i].first)]) + "-" +
                        std::to_string(number) + ".html"};
    }
    return pages;
}

void LinkGraph(SiteWriter::Data& d) {
    const auto& nodes = d.graph->nodes();
    // An object the graph found in the target that the inventory did not list still gets a page.
    for (const auto& node : nodes) {
        const auto kind = PageKindOf(node.kind);
        if (kind && !node.missing && !d.byKey.contains(Key(*kind, node.name))) {
            d.byKey.emplace(Key(*kind, node.name), d.objects.size());
            d.objects.push_back({*kind, node.name, "", ""});
        }
    }
    std::vector<std::pair<PageKind, std::string>> named;
    for (const auto& object : d.objects)
        named.emplace_back(object.kind, object.name);
    d.pages = NamePages(std::move(named));

    std::unordered_map<std::size_t, std::unordered_map<std::string, std::string>> anchors;
    d.nodeHref.assign(nodes.size(), "");
    d.nodeFile.assign(nodes.size(), "");
    d.pageNode.assign(d.pages.size(), std::string::npos);
    d.pageProcedures.assign(d.pages.size(), {});
    for (std::size_t n = 0; n < nodes.size(); ++n) {
        const auto& node = nodes[n];
        if (node.missing)
            continue;
        if (const auto kind = PageKindOf(node.kind)) {
            const auto page = d.byKey.at(Key(*kind, node.name));
            d.nodeHref[n] = d.nodeFile[n] = d.pages[page].file;
            d.pageNode[page] = n;
            continue;
        }
        const auto page = CodePage(d, node.module);
        if (!page)
            continue;
        d.nodeHref[n] = d.nodeFile[n] = d.pages[*page].file;
        d.pageProcedures[*page].push_back(n);
        auto known = anchors.find(*page);
        if (known == anchors.end()) {
            const auto code = d.code.find(Key(d.pages[*page].kind, d.pages[*page].name));
            known = anchors
                        .emplace(*page, code == d.code.end() ? decltype(known->second){}
                                                             : ProcedureAnchors(code->second))
                        .first;
        }
        const auto anchor = known->second.find(util::UCase(node.procedure));
        if (anchor != known->second.end())
            d.nodeHref[n] += "#p-" + anchor->second;
    }
}

SiteWriter::SiteWriter(const workdb::WorkDatabase& work, const graph::DependencyGraph& graph,
                       std::vector<host::dao::Relation> relations)
    : data_(std::make_unique<Data>()) {
    data_->work = &work;
    data_->graph = &graph;
    data_->relations = std::move(relations);
    LoadWorkDatabase(*data_);
    LinkGraph(*data_);
}

SiteWriter::~SiteWriter() = default;

const std::vector<ObjectPage>& SiteWriter::pages() const { return data_->pages; }

std::vector<DesignSection> SectionsOf(const host::access::DesignObject& design) {
    const bool form = design.kind == host::access::ObjectType::Form;
    auto kindOf = [&](int number) -> std::string {
        switch (number) {
            case 0:
                return "詳細";
            case 1:
                return form ? "フォームヘッダー" : "レポートヘッダー";
            case 2:
                return form ? "フォームフッター" : "レポートフッター";
            case 3:
                return "ページヘッダー";
            case 4:
                return "ページフッター";
            default:
                return number % 2 ? "グループヘッダー" : "グループフッター";
        }
    };
    std::vector<DesignSection> sections;
    for (std::size_t i = 0; i < design.sections.size(); ++i) {
        const auto& properties = design.sections[i];
        const int number =
            i < design.sectionNumbers.size() ? design.sectionNumbers[i] : static_cast<int>(i);
        DesignSection section{properties.get("Name").toText(), kindOf(number), "", "", {}};
        if (const auto* height = properties.find("Height")) {
            char text[32];
            std::snprintf(text, sizeof text, "%.3gcm", height->value.toDouble() / 567.0);
            section.height = text;
        }
        if (const auto* visible = properties.find("Visible"))
            section.visible = visible->value.toBool() ? "はい" : "いいえ";
        for (const auto& control : design.controls) {
            const auto* in = control.properties.find("Section");
            if (in ? in->value.toInteger() == number
                   : util::EqualsIgnoreCase(control.parent, section.name))
                section.controls.push_back(control.name());
        }
        sections.push_back(std::move(section));
    }
    return sections;
}

void CheckSiteFolder(const fs::path& folder) {
    std::error_code ec;
    const auto status = fs::symlink_status(folder, ec);
    if (ec && ec != std::errc::no_such_file_or_directory)
        throw host::FileSystemError(folder, ec);
    if (!fs::exists(status))
        return;
    if (fs::is_directory(status) &&
        (fs::exists(folder / kSiteMarker) || fs::is_empty(folder, ec))) {
        return;
    }
    throw host::Error(
        host::err::kFileAlreadyExists,
        "フォルダー '" + folder.string() +
            "' は既にあり、このプログラムが書き出したサイトではないので置き換えません。");
}

void PublishSite(const fs::path& given, const std::function<void(const fs::path& staging)>& fill) {
    // "site/" names the folder "site": the new one is made beside it, never inside.
    const auto folder = given.has_filename() ? given : given.parent_path();
    CheckSiteFolder(folder);
    const auto parent = folder.parent_path().empty() ? fs::path(".") : folder.parent_path();
    fs::create_directories(parent);
    auto made = [&](const std::string& what) {
        const auto pattern = parent / ("." + folder.filename().string() + what + "-");
        try {
            return util::MakeUniqueFolder(pattern);
        } catch (const std::system_error& e) {
            throw host::FileSystemError(pattern, e.code());
        }
    };
    // Removed on any way out; after the renames there is nothing left under its name.
    struct Removed {
        fs::path path;
        ~Removed() {
            std::error_code ignored;
            if (!path.empty())
                fs::remove_all(path, ignored);
        }
    };
    const Removed staging{made(".new")};
    fill(staging.path);
    std::ofstream(staging.path / kSiteMarker) << "zanfor site\n";
    // Checked again: the folder may have changed while the site was being written.
    CheckSiteFolder(folder);
    if (fs::exists(fs::symlink_status(folder))) {
        const Removed old{made(".old")};
        fs::rename(folder, old.path);
        try {
            fs::rename(staging.path, folder);
        } catch (...) {
            std::error_code ignored;
            fs::rename(old.path, folder, ignored);
            throw;
        }
    } else {
        fs::rename(staging.path, folder);
    }
}

}  // namespace zanfor::site
