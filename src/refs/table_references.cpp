#include "refs/table_references.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "collect/vocabulary.h"
#include "host/access.h"
#include "host/error.h"
#include "refs/name_match.h"
#include "util/vb_string.h"

namespace zanfor::refs {

namespace {

using collect::RunContext;
using host::access::Control;
using host::access::DesignObject;
using host::access::ObjectType;
using util::LeftRTrim;

constexpr std::size_t kNameLength = 150;
constexpr std::string_view kQuery = "クエリ";
constexpr std::string_view kRecordSource = "ﾚｺｰﾄﾞｿｰｽ";

// The controls whose settings can name a table, with the label of their rows. Every other kind
// (text boxes included, whose expressions may use a table in a domain function) is not searched.
struct SearchedControl {
    std::string_view type;
    std::string_view property;
    std::string_view label;
};

constexpr SearchedControl kSearchedControls[] = {
    {"Subform", "SourceObject", "ｿｰｽｵﾌﾞｼﾞｪｸﾄ"},
    {"ComboBox", "RowSource", "値集合ｿｰｽ"},
    {"ListBox", "RowSource", "値集合ｿｰｽ"},
};

struct DesignKind {
    ObjectType type;
    std::string_view container;
    std::string_view bunrui;
    std::string_view message;
};

constexpr DesignKind kForms{ObjectType::Form, "Forms", "フォーム",
                            "テーブル参照情報(フォーム検索中...)"};
constexpr DesignKind kReports{ObjectType::Report, "Reports", "レポート",
                              "テーブル参照情報(レポート検索中...)"};

const SearchedControl* searchedKind(const Control& control) {
    const std::string name = collect::ControlTypeName(std::to_string(control.controlType()));
    for (const auto& searched : kSearchedControls) {
        if (searched.type == name)
            return &searched;
    }
    return nullptr;
}

class Search {
public:
    explicit Search(RunContext& ctx)
        : ctx_(ctx),
          rows_(collect::OpenEmptied(ctx, "T_AcLinkObject")),
          table_(ctx.state.support.tableText) {}

    void queries() {
        for (const auto& q : ctx_.target.queryDefs()) {
            const std::string type = collect::QueryTypeName(std::to_string(q.type));
            if (type == "System" || q.name.starts_with("~sq_"))
                continue;
            ++objectNo_;
            const std::string* sql = sqlOf(q);
            if (sql != nullptr && NamesWhole(*sql, table_))
                write(kQuery, q.name, type, {});
        }
    }

    void designs(const DesignKind& kind) {
        ctx_.ui.showMessage(kind.message);
        for (const auto& document : ctx_.target.documents(kind.container)) {
            // A design that does not open keeps its number, so that the numbers of the others
            // do not depend on it.
            ++objectNo_;
            std::optional<collect::OpenDesign> open;
            try {
                open.emplace(*ctx_.access, kind.type, document.name);
            } catch (const host::Error& e) {
                collect::NoteUnreadable(ctx_, document.name, e);
                continue;
            }
            search(kind, open->design(), LeftRTrim(document.name, kNameLength));
            open->close();
        }
    }

private:
    // Jet cannot give the SQL of a query whose outer joins are ambiguous (3258): such a query is
    // passed over. Any other failure leaves the query unsearched, which the run's end reports.
    const std::string* sqlOf(const host::dao::QueryDef& q) {
        try {
            return &q.sql();
        } catch (const host::Error& e) {
            if (e.number() != host::err::kAmbiguousOuterJoins)
                collect::NoteUnreadable(ctx_, q.name, e);
            return nullptr;
        }
    }

    void search(const DesignKind& kind, const DesignObject& design, const std::string& name) {
        bool noted = false;
        if (names(design.properties, design.isUnknown("RecordSource"), "RecordSource", name, noted))
            write(kind.bunrui, name, {}, kRecordSource);
        for (const auto& control : design.controls) {
            const SearchedControl* searched = searchedKind(control);
            if (searched == nullptr)
                continue;
            if (names(control.properties, control.isUnknown(searched->property), searched->property,
                      name, noted)) {
                write(kind.bunrui, name, LeftRTrim(control.name(), kNameLength), searched->label);
            }
        }
    }

    // Whether the property names the table. A property the object does not have names nothing
    // and the search goes on; one whose value the design does not tell might, so the object is
    // reported at the end as not wholly searched (once, however many such properties it has).
    bool names(const host::Properties& properties, bool unknown, std::string_view property,
               const std::string& object, bool& noted) {
        if (unknown) {
            if (!noted) {
                collect::NoteUnreadable(
                    ctx_, object,
                    host::Error(host::err::kDatabaseDamaged,
                                std::string(property) + " の値を読み取れません"));
            }
            noted = true;
            return false;
        }
        const auto* found = properties.find(property);
        return found != nullptr && NamesWhole(found->value.toText(), table_);
    }

    void write(std::string_view bunrui, const std::string& object, const std::string& control,
               std::string_view property) {
        rows_.addNew();
        rows_.set("objectNo", objectNo_)
            .set("Bunrui", std::string(bunrui))
            .set("ObjectName", object);
        if (!control.empty())
            rows_.set("ControlName", control);
        if (!property.empty())
            rows_.set("PropertyName", std::string(property));
        rows_.set("MotoName", table_);
        rows_.update();
    }

    RunContext& ctx_;
    workdb::RowWriter rows_;
    std::string table_;
    std::int64_t objectNo_ = 0;
};

}  // namespace

collect::RunResult RunTableReferences(RunContext& ctx) {
    // The target is made current in Access again: when the initial processing had no module to
    // open (or was never run), nothing else has opened it there, and every design would fail.
    const collect::CollectorRun run{.place = "場所:テーブル引用先情報",
                                    .report = "R_AcLinkTable",
                                    .window = app::WindowKind::DeveloperSupport,
                                    .attachAccess = true,
                                    .finished = [](RunContext&) {}};
    return collect::RunCollection(ctx, run, [](RunContext& c) {
        c.ui.showMessage("テーブル参照情報(クエリ検索中...)");
        Search search(c);
        search.queries();
        search.designs(kForms);
        search.designs(kReports);
        return collect::Finish::Report;
    });
}

}  // namespace zanfor::refs
