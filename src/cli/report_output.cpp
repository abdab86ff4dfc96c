#include "cli/report_output.h"

#include <algorithm>

#include "cli/form_picture.h"
#include "cli/report_engine.h"
#include "workdb/work_database.h"

namespace zanfor::cli {

void RenderReportFile(const std::filesystem::path& workDatabase, std::string_view report,
                      const std::filesystem::path& file) {
    const auto& engine = ReportEngine();
    engine.prepare();
    const auto db = workdb::WorkDatabase::openForReading(workDatabase);
    engine.renderReport(db, workDatabase, report, file);
}

void WriteFormPicture(const host::access::DesignObject& form, host::access::Application& access,
                      host::dao::Database& data, const std::filesystem::path& file, bool designView,
                      bool wholeWindow) {
    const auto& engine = ReportEngine();
    engine.prepare();
    engine.writeFormPicture(form, access, data, file, designView, wholeWindow);
}

void QueueFormPicture(const host::access::DesignObject& form, host::access::Application& access,
                      host::dao::Database& data, const std::filesystem::path& file, bool designView,
                      bool wholeWindow) {
    const auto& engine = ReportEngine();
    engine.prepare();
    engine.queueFormPicture(form, access, data, file, designView, wholeWindow);
}

void FinishFormPictures() { ReportEngine().finishFormPictures(); }

struct ReportWriter::Job {
    std::string report;
    std::filesystem::path file;
    std::unique_ptr<workdb::WorkDatabase> snapshot;
    std::exception_ptr error;
    bool done = false;
};

ReportWriter::ReportWriter(std::filesystem::path workDatabase, unsigned threads)
    : workDatabase_(std::move(workDatabase)),
      threads_(threads ? threads : std::max(1u, std::thread::hardware_concurrency())) {}

ReportWriter::~ReportWriter() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
        queue_.clear();
    }
    changed_.notify_all();
    for (auto& worker : workers_)
        worker.join();
}

void ReportWriter::add(std::string report, std::filesystem::path file) {
    const auto& engine = ReportEngine();
    engine.prepare();
    auto job = std::make_shared<Job>();
    job->report = std::move(report);
    job->file = std::move(file);
    // The read transaction begun here is the snapshot the report shows; the writer goes on.
    job->snapshot =
        std::make_unique<workdb::WorkDatabase>(workdb::WorkDatabase::openForReading(workDatabase_));
    job->snapshot->execute("BEGIN");
    job->snapshot->execute("SELECT count(*) FROM sqlite_master");
    {
        const std::lock_guard lock(mutex_);
        queue_.push_back(job);
        ordered_.push_back(job);
        if (workers_.size() < threads_ && workers_.size() < queue_.size())
            workers_.emplace_back([this] { work(); });
    }
    changed_.notify_one();
}

void ReportWriter::work() {
    const auto& engine = ReportEngine();
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [&] { return stopping_ || !queue_.empty(); });
        if (queue_.empty())
            return;
        auto job = queue_.front();
        queue_.pop_front();
        lock.unlock();
        try {
            engine.renderReport(*job->snapshot, workDatabase_, job->report, job->file);
        } catch (...) {
            job->error = std::current_exception();
        }
        job->snapshot.reset();  // ends the read transaction
        lock.lock();
        job->done = true;
        changed_.notify_all();
    }
}

std::vector<ReportWriter::Written> ReportWriter::take(bool wait) {
    std::vector<Written> written;
    std::unique_lock lock(mutex_);
    for (;;) {
        while (!ordered_.empty() && ordered_.front()->done) {
            auto& job = *ordered_.front();
            written.push_back({std::move(job.report), std::move(job.file), job.error});
            ordered_.pop_front();
        }
        if (!wait || ordered_.empty())
            return written;
        changed_.wait(lock);
    }
}

}  // namespace zanfor::cli
