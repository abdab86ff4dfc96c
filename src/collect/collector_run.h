#pragma once

// The frame every collection runs in: the skip test's outcome, the busy pointer and gauge, one
// transaction on the work database (committed also when the collection fails, so the rows
// written before an error stay), the error report, and the finishing steps: "終了しました",
// 100 %, the report preview, the last-run option, the preview button, the closing message and
// the clear timer.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/app_state.h"
#include "core/error_report.h"
#include "core/run_ui.h"
#include "host/access.h"
#include "host/dao.h"
#include "host/error.h"
#include "workdb/work_database.h"

namespace zanfor::collect {

// What a collection works with.
struct RunContext {
    app::AppState& state;
    workdb::WorkDatabase& work;
    host::dao::Database& target;
    app::RunUi& ui;
    host::access::Application* access = nullptr;  // for the collections that need Access
    // The objects this collection could not read, in the order met; see NoteUnreadable.
    std::vector<std::string> unreadable{};
};

enum class RunResult {
    Collected,           // collected and previewed
    Previewed,           // the skip test held: previewed what the tables hold
    EndedWithoutReport,  // the collection ended early by its own rule (its message shown)
    Failed,              // an error was reported
    ShutdownRequested,   // an error of Access's unstable range: the program must end
};

// How a collection's body ended.
enum class Finish { Report, NoReport };

struct CollectorRun {
    app::Collector collector = app::Collector::Objects;
    std::int16_t option = 0;  // stored as the last-run option after a completed run
    bool skip = false;        // the skip test said the tables already hold this result
    std::string place{};      // the error report's place label, "場所:..."
    std::string report{};     // previewed at the end; none when empty
    app::PreviewButton preview = app::PreviewButton::OPre;
    app::WindowKind window = app::WindowKind::Main;
    // The lines of a collection's own error messages (3044, ...), when it has one for the
    // error; the common report otherwise.
    std::function<std::optional<std::vector<std::string>>(const host::Error&)> specialLines{};
    // The collections that read designs or code through Access first make the target the
    // current database of the analysis Access instance again.
    bool attachAccess = false;
    // A tool of another window finishes its own way: when set, this runs after the preview in
    // place of the main window's steps (last-run option, preview button, closing message).
    std::function<void(RunContext&)> finished{};
};

// While a batch step runs (the state's `batch.running` is set; the command table's runs see only
// the shared state, so the batch marks it there), the collection ignores the skip test, reports
// an error under the step's place label with the batch's lines and marks the step failed, and
// hands its report to the batch instead of opening it; the last-run option and the preview
// button are set as usual, the closing message and the clear timer are the batch's.
RunResult RunCollection(RunContext& ctx, const CollectorRun& run,
                        const std::function<Finish(RunContext&)>& body);

// Closes the database the analysis Access instance has open (none open, 2467, is no concern)
// and opens the target shown in the main window in it.
void AttachAccess(RunContext& ctx);
// The same for any Access instance and target.
void MakeCurrent(host::access::Application& access, const std::string& target);

// An object (or a part of the database) that could not be read costs that object alone: the
// collection goes on with the others, the caller writes the object's row saying so, and the run
// ends with one error listing every such object, so a partial listing never passes for a whole
// one. `why` is the reader's error, its number and text.
void NoteUnreadable(RunContext& ctx, std::string_view object, const host::Error& why);

// What a row prints in place of an object's details it could not read.
std::string UnreadableNote(const host::Error& why);

// Closes an object opened in Access by close(), or on the way out when the reader or Access
// failed, so that no later command finds it still open.
class ClosingGuard {
public:
    ClosingGuard(host::access::Application& access, host::access::ObjectType type, std::string name)
        : access_(access), type_(type), name_(std::move(name)) {}
    ClosingGuard(const ClosingGuard&) = delete;
    ClosingGuard& operator=(const ClosingGuard&) = delete;
    ~ClosingGuard();
    void close();

private:
    host::access::Application& access_;
    host::access::ObjectType type_;
    std::string name_;
    bool closed_ = false;
};

// A form or report opened in design view for as long as this lives (see ClosingGuard).
class OpenDesign {
public:
    OpenDesign(host::access::Application& access, host::access::ObjectType type,
               const std::string& name);
    const host::access::DesignObject& design() const { return design_; }
    void close() { guard_.close(); }

private:
    const host::access::DesignObject& design_;
    ClosingGuard guard_;
};

// The percentage of `done` out of `total`, shown on the gauge.
void ShowProgress(RunContext& ctx, long done, long total);

// Opens a result table for writing after emptying it with Jet's statement, as every writer
// empties its tables before it writes.
workdb::RowWriter OpenEmptied(RunContext& ctx, std::string_view table);

inline constexpr std::string_view kFinished = "終了しました";
inline constexpr std::string_view kPrintThenClose = "印刷後、印刷ﾌﾟﾚﾋﾞｭｰを終了して下さい。";
inline constexpr int kClearAfterMilliseconds = 5000;

}  // namespace zanfor::collect
