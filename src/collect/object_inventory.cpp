#include "collect/object_inventory.h"

#include <filesystem>
#include <optional>
#include <system_error>

#include "collect/table_collector.h"
#include "collect/vocabulary.h"
#include "util/file_size.h"
#include "util/vb_string.h"

namespace zanfor::collect {

namespace {

using host::Value;
using util::LeftRTrim;

constexpr std::size_t kNameLength = 150;
constexpr std::size_t kLinkLength = 140;

struct Kind {
    const char* message;
    const char* className;
};

constexpr Kind kTables{"テーブル情報　取得中", "Table"};
constexpr Kind kQueries{"クエリー情報　取得中", "Query"};
constexpr Kind kForms{"フォーム情報　取得中", "Form"};
constexpr Kind kReports{"レポート情報　取得中", "Report"};
constexpr Kind kPages{"ページ情報　取得中", "Page"};
constexpr Kind kMacros{"マクロ情報　取得中", "Macro"};
constexpr Kind kModules{"モジュール情報　取得中", "Module"};

class Inventory {
public:
    Inventory(RunContext& ctx, std::int16_t selection)
        : ctx_(ctx), selection_(selection), objects_(OpenEmptied(ctx, "T_AcObject")) {}

    void collectKind(const Kind& kind) {
        ctx_.ui.showMessage(kind.message);
        if (&kind == &kTables) {
            tables();
        } else if (&kind == &kQueries) {
            queries();
        } else {
            const char* container = &kind == &kForms     ? "Forms"
                                    : &kind == &kReports ? "Reports"
                                    : &kind == &kPages   ? "DataAccessPages"
                                    : &kind == &kMacros  ? "Scripts"
                                                         : "Modules";
            for (const auto& d : ctx_.target.documents(container)) {
                begin(kind.className, d.name, d.dateCreated, d.lastUpdated);
                objects_.set("Midasi", selection_).set("Description", DescriptionOf(d.properties));
                objects_.update();
            }
        }
    }

private:
    void begin(const char* className, const std::string& name,
               const std::optional<host::Date>& created, const std::optional<host::Date>& updated) {
        objects_.addNew();
        objects_.set("DbNo", 0)
            .set("objectNo", ++objectNo_)
            .set("Class", className)
            .set("ObjectName", LeftRTrim(name, kNameLength))
            .set("DateCreate", workdb::DateOrNull(created))
            .set("DateUpdate", workdb::DateOrNull(updated));
    }

    void tables() {
        for (const auto& t : ctx_.target.tableDefs()) {
            if (IsAccessOwnTable(t))
                continue;
            begin("Table", t.name, t.dateCreated, t.lastUpdated);
            objects_.set("Midasi", selection_).set("Description", DescriptionOf(t.properties));
            if (!t.connect.empty()) {
                objects_.set("QueryType", LinkClass(t.connect))
                    .set("Description", LinkTarget(t.connect));
            }
            objects_.update();
        }
    }

    void queries() {
        for (const auto& q : ctx_.target.queryDefs()) {
            const std::string type = QueryTypeName(std::to_string(q.type));
            if (type == "System" || util::Left(q.name, 4) == "~sq_")
                continue;
            begin("Query", q.name, q.dateCreated, q.lastUpdated);
            objects_.set("QueryType", type)
                .set("Midasi", selection_)
                .set("Description", DescriptionOf(q.properties));
            objects_.update();
        }
    }

    RunContext& ctx_;
    std::int16_t selection_;
    workdb::RowWriter objects_;
    std::int64_t objectNo_ = 0;
};

void writeDatabaseRow(RunContext& ctx) {
    auto& db = ctx.target;
    const auto& values = ctx.state.startupValues;
    const auto& saved = ctx.state.savedStartup;
    const auto bytes = util::TargetSize(ctx.state.targetPath);
    if (!bytes) {
        throw host::Error(host::err::kFileNotFound,
                          "ファイル '" + ctx.state.targetPath + "' が見つかりません。");
    }
    std::string accessVersion;
    const auto& props = db.properties();
    for (std::size_t i = props.count(); i-- > 0;) {
        if (props.at(i).name == "AccessVersion") {
            accessVersion = props.at(i).value.toText();
            break;
        }
    }
    auto row = OpenEmptied(ctx, "T_DataBase");
    row.addNew();
    row.set("DbNo", 0)
        .set("DbName", LeftRTrim(db.name(), kNameLength))
        .set("FileSize", static_cast<double>(*bytes) / 1024.0)
        .set("Version", db.version())
        .set("QueryTimeout", db.queryTimeout())
        .set("Updatable", db.updatable())
        .set("Stitle", values.appTitle)
        .set("sMenuBar", values.startupMenuBar)
        .set("Sformdisp", saved.startupForm)
        .set("Smenudisp", saved.allowFullMenus)
        .set("Sdbdisp", saved.startupShowDbWindow)
        .set("Sstatusbar", values.startupShowStatusBar)
        .set("Sallowshortcutbar", values.allowShortcutMenus)
        .set("Stoolbar", values.allowBuiltinToolbars)
        .set("AccessVersion", accessVersion);
    row.update();
}

}  // namespace

std::string LinkClass(std::string_view connect) {
    if (util::Left(connect, 1) == ";")
        return "Link(Access)";
    if (util::InStr(connect, "ODBC;") > 0)
        return "Link(ODBC)";
    return "Link(その他)";
}

std::string LinkTarget(std::string_view connect) {
    const auto equals = util::InStr(connect, "=");
    if (equals == 0)
        return LeftRTrim(connect, kLinkLength);
    return util::RTrim(util::Mid(connect, equals + 1, kLinkLength));
}

std::string DescriptionOf(const host::Properties& properties) {
    for (std::size_t i = properties.count(); i-- > 0;) {
        if (properties.at(i).name == "Description")
            return properties.at(i).value.toText();
    }
    return {};
}

RunResult RunObjectInventory(RunContext& ctx) {
    const std::int16_t selection = ctx.state.options.object;
    CollectorRun run{.collector = app::Collector::Objects,
                     .option = selection,
                     .skip = selection == ctx.state.lastRun[app::Collector::Objects],
                     .place = "場所:オブジェクト情報",
                     .report = "R_AcObjectAll",
                     .preview = app::PreviewButton::OPre};
    return RunCollection(ctx, run, [selection](RunContext& c) {
        // The object table is opened and emptied first, then the database row is written.
        Inventory inventory(c, selection);
        c.ui.showMessage("データベース情報　取得中");
        writeDatabaseRow(c);
        struct Step {
            const Kind* kind;
            std::int16_t progressAfter;
        };
        static constexpr Step kAll[] = {{&kTables, 20},  {&kQueries, 40}, {&kForms, 60},
                                        {&kReports, 70}, {&kPages, 75},   {&kMacros, 90},
                                        {&kModules, 0}};
        switch (selection) {
            case 1:
                inventory.collectKind(kTables);
                break;
            case 2:
                inventory.collectKind(kQueries);
                break;
            case 3:
                inventory.collectKind(kForms);
                break;
            case 4:
                inventory.collectKind(kReports);
                break;
            case 5:
                inventory.collectKind(kMacros);
                break;
            case 6:
                inventory.collectKind(kModules);
                break;
            case 7:
                for (const auto& step : kAll) {
                    inventory.collectKind(*step.kind);
                    if (step.progressAfter)
                        c.ui.setProgress(step.progressAfter);
                }
                break;
            default:
                inventory.collectKind(kPages);
                break;
        }
        return Finish::Report;
    });
}

}  // namespace zanfor::collect
