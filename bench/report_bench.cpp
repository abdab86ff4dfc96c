// report_bench: how fast a long module listing becomes a PDF and how much memory it takes.
// Fills a work database with a module listing (100,000 lines unless a count is given), then
// writes the one-column and the two-column listing as PDF and reports, for each, the pages,
// the seconds, pages per second, the processor seconds and the peak resident memory while it
// was written (the database filling before it does not count).
//
//   report_bench [lines] [--keep FILE]    --keep: the work database is made anew as FILE and kept

#include <malloc.h>
#include <time.h>

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "host/error.h"
#include "report/report_catalog.h"
#include "report/report_fixture.h"
#include "workdb/work_database.h"

namespace {

// The peak resident memory of the process, in MB, since the last reset.
long PeakMb() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0)
            return std::atol(line.c_str() + 6) / 1024;
    }
    return -1;
}

// Processor time of every thread of the process: on a shared machine the wall time also
// counts what other programs took.
double CpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

// Memory freed by the filling goes back to the system first; then Linux resets the peak to the
// current size on "5".
void ResetPeak() {
    malloc_trim(0);
    std::ofstream("/proc/self/clear_refs") << "5";
}

}  // namespace

int main(int argc, char** argv) {
    // Nothing is shown: without a chosen platform the program runs offscreen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    int lines = 100000;
    std::filesystem::path keep;
    for (int i = 1; i < argc; ++i) {
        if (std::string(argv[i]) == "--keep" && i + 1 < argc)
            keep = argv[++i];
        else
            lines = std::atoi(argv[i]);
    }
    QTemporaryDir temp;
    if (!temp.isValid()) {
        std::fprintf(stderr, "no temporary folder\n");
        return 1;
    }
    const std::filesystem::path folder = temp.path().toStdString();
    const std::filesystem::path database = keep.empty() ? folder / "bench.db" : keep;
    try {
        QElapsedTimer timer;
        timer.start();
        if (!keep.empty())
            std::filesystem::remove(keep);
        {
            auto db = zanfor::workdb::WorkDatabase::open(database);
            zanfor::test::FillModuleListing(db, lines);
        }
        std::printf("work database: %d module lines written in %.2f s\n", lines,
                    static_cast<double>(timer.nsecsElapsed()) / 1e9);
        const auto db = zanfor::workdb::WorkDatabase::openForReading(database);
        std::printf("%-14s %7s %9s %10s %8s %8s\n", "report", "pages", "total s", "pages/s",
                    "cpu s", "peak MB");
        for (const char* name : {"R_AcModule", "R_AcModule2"}) {
            const auto pdf = folder / (std::string(name) + ".pdf");
            ResetPeak();
            timer.restart();
            const double cpuBefore = CpuSeconds();
            zanfor::report::RenderReportToFile(db, name, pdf, zanfor::report::OutputFormat::Pdf);
            const double seconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;
            const double cpu = CpuSeconds() - cpuBefore;
            const long peak = PeakMb();
            const int pages = zanfor::test::PdfPageCount(pdf);
            std::printf("%-14s %7d %9.2f %10.1f %8.2f %8ld\n", name, pages, seconds,
                        static_cast<double>(pages) / seconds, cpu, peak);
        }
    } catch (const zanfor::host::Error& e) {
        std::fprintf(stderr, "%d: %s\n", e.number(), e.description().c_str());
        return 1;
    }
    return 0;
}
