// report_bench: how fast a long module listing becomes a PDF. Fills a work database with a
// module listing (100,000 lines unless a count is given), then times, for the one-column and
// the two-column listing, reading and grouping the rows, laying out the pages and writing the
// PDF, and reports pages per second.
//
//   report_bench [lines]

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "host/error.h"
#include "report/page_layout.h"
#include "report/report_catalog.h"
#include "report/report_fixture.h"
#include "workdb/work_database.h"

namespace {

double Seconds(QElapsedTimer& timer) {
    const double s = static_cast<double>(timer.nsecsElapsed()) / 1e9;
    timer.restart();
    return s;
}

}  // namespace

int main(int argc, char** argv) {
    // Nothing is shown: without a chosen platform the program runs offscreen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const int lines = argc > 1 ? std::atoi(argv[1]) : 100000;
    QTemporaryDir temp;
    if (!temp.isValid()) {
        std::fprintf(stderr, "no temporary folder\n");
        return 1;
    }
    const std::filesystem::path folder = temp.path().toStdString();
    try {
        auto db = zanfor::workdb::WorkDatabase::open(folder / "bench.db");
        QElapsedTimer timer;
        timer.start();
        zanfor::test::FillModuleListing(db, lines);
        std::printf("work database: %d module lines written in %.2f s\n", lines, Seconds(timer));
        std::printf("%-14s %7s %9s %9s %9s %9s %10s\n", "report", "pages", "read s", "layout s",
                    "pdf s", "total s", "pages/s");
        for (const char* name : {"R_AcModule", "R_AcModule2"}) {
            timer.restart();
            const auto report = zanfor::report::PrepareReport(db, name);
            const double read = Seconds(timer);
            const auto& document = report.layout(zanfor::report::A4Twips(report.orientation()));
            const double layout = Seconds(timer);
            zanfor::report::SaveReport(report, folder / (std::string(name) + ".pdf"),
                                       zanfor::report::OutputFormat::Pdf);
            const double pdf = Seconds(timer);
            const double total = read + layout + pdf;
            const auto pages = document.pages.size();
            std::printf("%-14s %7zu %9.2f %9.2f %9.2f %9.2f %10.1f\n", name, pages, read, layout,
                        pdf, total, static_cast<double>(pages) / total);
        }
    } catch (const zanfor::host::Error& e) {
        std::fprintf(stderr, "%d: %s\n", e.number(), e.description().c_str());
        return 1;
    }
    return 0;
}
