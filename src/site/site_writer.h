#pragma once

// The documentation site of a target: an index, one page per table, query, form, report, macro
// and module, every use a link, a client-side search and a print stylesheet, written from the
// work database the collectors filled and the dependency graph. The pages are plain files that
// open from the file system with no server; every name, SQL text, line of code and property
// value in them is escaped as data.

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "graph/dependency_graph.h"
#include "host/access.h"
#include "host/dao.h"

namespace zanfor::workdb {
class WorkDatabase;
}

namespace zanfor::site {

enum class PageKind { Table, Query, Form, Report, Macro, Module };

struct ObjectPage {
    PageKind kind = PageKind::Table;
    std::string name;
    std::string file;  // "form-3.html", relative to the site folder
};

// The objects' pages, numbered per kind in name order (compared without regard to case, as
// Access names are): the file names hold no part of an object's name, so no name can make
// them clash or be unsafe on any file system.
std::vector<ObjectPage> NamePages(std::vector<std::pair<PageKind, std::string>> objects);

// "テーブル", "クエリー", ... as the reports name the kinds.
std::string_view PageKindLabel(PageKind kind);

// A section of a form's or report's design and the controls in it.
struct DesignSection {
    std::string name;
    std::string kind;     // "詳細", "フォームヘッダー", ...
    std::string height;   // "1.5cm"
    std::string visible;  // "はい" / "いいえ"
    std::vector<std::string> controls;
};
std::vector<DesignSection> SectionsOf(const host::access::DesignObject& design);

struct SiteOptions {
    // The picture of a form or report, by its page's file, relative to the site folder.
    std::map<std::string, std::string> pictures;
    // The sections of each form and report, by its page's file.
    std::map<std::string, std::vector<DesignSection>> sections;
    // Shown where a form or report has no picture.
    std::string noPicture = "画像はありません。";
    // The header line when the work database holds no print title: the target's file name.
    std::string fileLine;
};

// The diagrams of a site as they go into its pages: the relationships, and per page its
// neighbourhood, or a note on why there is none.
struct SiteDiagrams {
    std::string relationships;
    std::vector<std::string> neighbourhoods;
};

class SiteWriter {
public:
    // Reads every result table it shows once; `work` and `graph` must outlive the writer.
    SiteWriter(const workdb::WorkDatabase& work, const graph::DependencyGraph& graph,
               std::vector<host::dao::Relation> relations);
    ~SiteWriter();
    SiteWriter(const SiteWriter&) = delete;
    SiteWriter& operator=(const SiteWriter&) = delete;

    const std::vector<ObjectPage>& pages() const;
    // Lays out the diagrams (`draw` false: the notes that there are none). Reads only what the
    // writer holds, so it may run on a thread of its own while the pictures are drawn.
    SiteDiagrams layOutDiagrams(bool draw) const;
    // Every page, the stylesheet, the scripts and the search index into `folder`, which exists,
    // with the diagrams laid out by layOutDiagrams.
    void write(const std::filesystem::path& folder, const SiteOptions& options,
               SiteDiagrams diagrams) const;

    struct Data;

private:
    std::unique_ptr<Data> data_;
};

// The file that marks a folder as a site this program wrote, and so one it may replace.
inline constexpr std::string_view kSiteMarker = ".zanfor-site";

// Host error 58 when `folder` is there and is neither empty nor a site of this program's.
void CheckSiteFolder(const std::filesystem::path& folder);
// `fill` writes the site into a new folder beside `folder`, which then takes its place: a run
// that fails leaves no half site, and the site it replaces stays until the new one is complete.
void PublishSite(const std::filesystem::path& folder,
                 const std::function<void(const std::filesystem::path& staging)>& fill);

}  // namespace zanfor::site
