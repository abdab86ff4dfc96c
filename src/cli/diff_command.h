#pragma once

// zanfor-cli diff: what changed between two versions. Each side is a target (an .mdb file or an
// object export folder), collected as `zanfor-cli run TARGET --no-reports` collects it into a
// work database of its own in a temporary folder removed afterwards, or a saved analysis file
// (.adb), read from a private copy. Neither side is ever written.
//
// Exit status: 0 whether or not the versions differ (the differences are the output, not a
// failure), 1 a reported error (in the system's words, with its number, on standard error), 2
// bad usage (the reason on standard error; the caller prints the usage).

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace zanfor::cli {

// A folder of its own under the system's temporary folder ("PREFIX-XXXXXX"), removed with
// everything in it.
class ScratchFolder {
public:
    explicit ScratchFolder(std::string_view prefix);
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

// The arguments after "diff": OLD NEW [--html FILE] [--json]. The comparison goes to standard
// output as text, or as JSON with --json; --html writes it as one page as well.
int RunDiff(const std::vector<std::string>& args, const std::filesystem::path& executable);

// Fills `workDatabase` from `target` with everything the comparison reads, by the runs
// `zanfor-cli run TARGET --no-reports` would make; their progress is not shown. False when a run
// failed, its messages written on standard error. Starting the program makes its folder the
// current directory: pass absolute paths.
bool CollectForComparison(const std::filesystem::path& target,
                          const std::filesystem::path& workDatabase,
                          const std::filesystem::path& executable);

// The same with the given runs, each the arguments of `zanfor-cli run` after the target
// ("--only", "tables", "--option", "table=1"), made one after the other into one work database.
bool CollectRuns(const std::filesystem::path& target, const std::filesystem::path& workDatabase,
                 const std::filesystem::path& executable,
                 const std::vector<std::vector<std::string>>& runs);

}  // namespace zanfor::cli
