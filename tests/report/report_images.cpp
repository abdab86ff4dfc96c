// report_images: renders every report of a fixture work database to PDF and HTML in a folder,
// for reviewers to look at (the report-images build target turns the first pages into PNG).

#include <QGuiApplication>
#include <filesystem>
#include <iostream>

#include "host/error.h"
#include "report/report_catalog.h"
#include "report/report_fixture.h"
#include "workdb/work_database.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: report_images FOLDER\n";
        return 2;
    }
    // Nothing is shown: without a chosen platform the program runs offscreen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const std::filesystem::path folder = argv[1];
    std::filesystem::create_directories(folder);
    const auto database = folder / "fixture.db";
    std::filesystem::remove(database);
    try {
        auto db = zanfor::workdb::WorkDatabase::open(database);
        zanfor::test::FillReportFixture(db);
        for (const auto& name : zanfor::report::ReportNames()) {
            const auto prepared = zanfor::report::PrepareReport(db, name);
            zanfor::report::SaveReport(prepared, folder / (name + ".pdf"),
                                       zanfor::report::OutputFormat::Pdf);
            zanfor::report::SaveReport(prepared, folder / (name + ".html"),
                                       zanfor::report::OutputFormat::Html);
            std::cout << name << '\n';
        }
    } catch (const zanfor::host::Error& e) {
        std::cerr << e.number() << ": " << e.description() << '\n';
        return 1;
    }
    return 0;
}
