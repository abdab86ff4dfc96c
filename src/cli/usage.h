#pragma once

// What zanfor-cli says about itself, as data: `--help` prints it, and the build turns the same
// rows into the manual pages and the shell completion, so that none of them can drift from the
// program.

#include <iosfwd>
#include <span>
#include <string_view>

namespace zanfor::cli {

// One form of a command, in the order --help lists them. A command may have several forms
// (`run` with --only or with --pattern).
struct UsageEntry {
    // After "zanfor-cli "; the lines after the first are continuations of the synopsis.
    std::span<const std::string_view> synopsis;
    std::span<const std::string_view> description;
};

// One option as the manual explains it; the synopses above say which commands take it.
struct OptionHelp {
    std::string_view name;  // "--workdb"
    std::string_view argument;
    std::string_view description;
};

std::span<const UsageEntry> UsageEntries();
std::span<const OptionHelp> OptionHelps();
// The command a form belongs to: the first word of its synopsis ("run", "--help").
std::string_view CommandOf(const UsageEntry& entry);

// The --help text.
void WriteUsage(std::ostream& out);

}  // namespace zanfor::cli
