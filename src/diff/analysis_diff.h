#pragma once

// Two versions of a target compared through their work databases: what a run collected from the
// older one against what it collected from the newer. Objects are matched by kind and name; an
// object gone on one side and a new one of the same kind with the very same content on the other
// is a rename. For an object on both sides the comparison says which of its properties, parts
// (fields, indexes, controls, group levels) and lines (code, macro actions) changed. Values Access
// rewrites without a change of design are left out (see kNoise in analysis_diff.cpp).

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zanfor::workdb {
class WorkDatabase;
}

namespace zanfor::diff {

// An object as T_AcObject names it: its Class ("Table", "Query", "Form", "Report", "Macro",
// "Module", "Page") and its name.
struct ObjectName {
    std::string kind;
    std::string name;
    friend bool operator==(const ObjectName&, const ObjectName&) = default;
};

struct Renamed {
    std::string kind;
    std::string before;
    std::string after;
};

// A value on one side or both; nothing where that side does not have it.
struct ValueChange {
    std::string name;
    std::optional<std::string> before;
    std::optional<std::string> after;
};

enum class Change { Added, Removed, Changed };

// A field, index, control or group level: every value when it came or went, the differing
// ones when it changed.
struct PartChange {
    std::string kind;  // "フィールド", "インデックス", "コントロール", "グループ"
    std::string name;
    Change change = Change::Changed;
    std::vector<ValueChange> values;
};

// One line of a unified diff: ' ' kept, '-' removed, '+' added, '@' a hunk's heading.
struct DiffLine {
    char mark = ' ';
    std::string text;
    friend bool operator==(const DiffLine&, const DiffLine&) = default;
};

struct ObjectChange {
    ObjectName object;
    std::vector<ValueChange> properties;
    std::vector<PartChange> parts;
    // The SQL as runs of tokens kept (' '), lost ('-') and gained ('+'), when it differs after
    // normalising.
    std::vector<DiffLine> sql;
    // The code of a module, form or report, or the actions of a macro.
    std::vector<DiffLine> lines;
};

struct AnalysisDiff {
    std::vector<ObjectName> added;
    std::vector<ObjectName> removed;
    std::vector<Renamed> renamed;
    std::vector<ObjectChange> changed;

    bool empty() const {
        return added.empty() && removed.empty() && renamed.empty() && changed.empty();
    }
};

AnalysisDiff CompareAnalyses(const workdb::WorkDatabase& before, const workdb::WorkDatabase& after);

// The Japanese name of an object kind ("Table" is "テーブル"); an unknown kind as it is.
std::string_view KindLabel(std::string_view kind);

// Access SQL with its layout taken out: tokens separated by one blank, keywords in capitals,
// a closing ";" dropped. Literals and bracketed names keep their case.
std::string NormaliseSql(std::string_view sql);
// The normalised SQL as runs of tokens: kept ones (' '), those of `before` that `after` lost
// ('-') and those it gained ('+'), each run's tokens separated by one blank.
std::vector<DiffLine> SqlTokenDiff(std::string_view before, std::string_view after);

// A line of code or a macro action with its line number and procedure, for the hunk headings.
struct NumberedLine {
    std::int64_t number = 0;
    std::string procedure;
    std::string text;
};

// Hunks of a unified diff with `context` lines around each change; nothing when equal.
std::vector<DiffLine> UnifiedDiff(const std::vector<NumberedLine>& before,
                                  const std::vector<NumberedLine>& after, int context = 3);

}  // namespace zanfor::diff
