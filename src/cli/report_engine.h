#pragma once

// The report engine and the form renderer need Qt and its graphics stack, which take longer to
// load than most commands take to run. They live in a module beside the program
// (zanfor-cli-reports.so), loaded the first time a report or a picture is asked for, so that
// `inspect`, `init`, `--help` and runs without reports never load Qt.

#include <filesystem>
#include <string>
#include <string_view>

#include "host/access.h"
#include "host/dao.h"

namespace zanfor::workdb {
class WorkDatabase;
}

namespace zanfor::cli {

// What the module gives. Built with the program from the same sources: the types cross as they
// are.
struct ReportEngineApi {
    // The Qt application object, made on the calling thread; call before any other entry.
    void (*prepare)();
    // One report of `db` to `file` (.pdf or .html). Safe on worker threads, each with its own
    // connection.
    // `dbFile` is where `db` lives, which `file` must never be.
    void (*renderReport)(const workdb::WorkDatabase& db, const std::filesystem::path& dbFile,
                         std::string_view report, const std::filesystem::path& file);
    void (*writeFormPicture)(const host::access::DesignObject& form,
                             host::access::Application& access, host::dao::Database& data,
                             const std::filesystem::path& file, bool designView, bool wholeWindow);
    void (*queueFormPicture)(const host::access::DesignObject& form,
                             host::access::Application& access, host::dao::Database& data,
                             const std::filesystem::path& file, bool designView, bool wholeWindow);
    void (*finishFormPictures)();
};

// The module's entry, looked up by this name.
inline constexpr const char* kReportEngineEntry = "zanfor_report_engine";
using ReportEngineEntry = const ReportEngineApi* (*)();

// The module's file name, and where the program looks for it: beside `program` (the build
// tree) or in lib/zanfor of its prefix (installed). Empty when neither has it; `tried` gets the
// places looked at, for the message.
inline constexpr const char* kReportModuleName = "zanfor-cli-reports.so";
std::filesystem::path FindReportModule(const std::filesystem::path& program, std::string& tried);

// Loaded once; host error 30041 when this build has no report engine or it cannot be loaded.
const ReportEngineApi& ReportEngine();

}  // namespace zanfor::cli
