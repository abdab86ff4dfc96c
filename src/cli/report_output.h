#pragma once

// Reports written to files for the command line, through the report engine module
// (cli/report_engine.h). Builds without it refuse with error 30041.

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace zanfor::workdb {
class WorkDatabase;
}

namespace zanfor::cli {

// Writes one report of the work database to `file`, PDF or HTML by its extension (.pdf or
// .html). Host errors on failure (unknown report, missing work database, an existing file that
// is not such a report, unwritable file, no report engine in this build).
void RenderReportFile(const std::filesystem::path& workDatabase, std::string_view report,
                      const std::filesystem::path& file);

// Reports written on worker threads while the run goes on. Each report shows the work database
// as it was when it was added (a reading connection holds that snapshot), so a later command
// rewriting the same tables does not change it. The engine is loaded with the first report.
class ReportWriter {
public:
    struct Written {
        std::string report;
        std::filesystem::path file;
        std::exception_ptr error;  // null when the file was written
    };

    // `threads` 0: one a processor.
    explicit ReportWriter(std::filesystem::path workDatabase, unsigned threads = 0);
    ~ReportWriter();
    ReportWriter(const ReportWriter&) = delete;
    ReportWriter& operator=(const ReportWriter&) = delete;

    // Errors of loading the engine and of opening the work database are thrown here.
    void add(std::string report, std::filesystem::path file);
    // The reports finished so far, in the order they were added, each given out once; with
    // `wait`, all of them.
    std::vector<Written> take(bool wait);

private:
    struct Job;
    void work();

    std::filesystem::path workDatabase_;
    unsigned threads_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::shared_ptr<Job>> queue_;    // not started
    std::deque<std::shared_ptr<Job>> ordered_;  // every job not yet taken, in order
    bool stopping_ = false;
    std::vector<std::thread> workers_;
};

}  // namespace zanfor::cli
