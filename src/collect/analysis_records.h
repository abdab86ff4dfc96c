#pragma once

// The bookkeeping an analysis file carries besides the results: T_AcSaveFlag (what was
// collected, with which options, and the report-header texts) and T_AcSaveObject (the target's
// objects with their dates), and the object comparison that reads the second list of an older
// file against the target open now.

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "collect/collector_run.h"

namespace zanfor::collect {

// One T_AcSaveFlag row.
struct SavedFlags {
    std::string objName;
    app::LastRunOptions lastRun;
    // mTs, mQs, mFs, mRs, mMs: optTSelect, optQSelect, optFSelect, optRSelect, optMcSelect.
    std::array<std::int16_t, 5> scopes{};
    std::int16_t proc50 = 0;   // mPs
    std::int16_t mod50 = 0;    // mPss
    app::ReportHeader header;  // capTime is not kept
};

SavedFlags FlagsOf(const app::AppState& state);

// Empties T_AcSaveFlag and writes the one row of `flags`.
void WriteSaveFlag(workdb::WorkDatabase& work, const SavedFlags& flags);
// The first row; nothing when the table is empty (a save that did not finish).
std::optional<SavedFlags> ReadSaveFlag(const workdb::WorkDatabase& work);

// Empties T_AcSaveObject and lists the target's objects in it, numbered from 1: tables but
// Access's own, queries but system ones and the hidden "~sq_" ones, then the documents of the
// forms, reports, macros and modules.
void WriteObjectSnapshot(workdb::WorkDatabase& work, host::dao::Database& target);

inline constexpr std::string_view kComparisonPlace = "場所:オブジェクト比較";
inline constexpr std::string_view kComparisonMessage = "オブジェクト更新状況　取得中";

// cmdObjUpdate after its dialog: the target's snapshot, the older file's list and both names
// written, R_AcObjectUpdate previewed. The older file is read from a private copy and never
// written.
RunResult RunObjectComparison(RunContext& ctx, const std::filesystem::path& olderFile);

}  // namespace zanfor::collect
