// The entry of zanfor-cli-reports.so: what the command line loads when it first needs a report
// or a picture.

#include "cli/report_engine.h"
#include "cli/reports/form_picture_file.h"
#include "cli/reports/gui_application.h"
#include "cli/reports/report_file.h"

namespace {

using namespace zanfor::cli;

constexpr ReportEngineApi kApi{
    .prepare = reports::EnsureGuiApplication,
    .renderReport = reports::WriteReportFile,
    .writeFormPicture = reports::WriteFormPictureFile,
    .queueFormPicture = reports::QueueFormPictureFile,
    .finishFormPictures = reports::FinishFormPictureFiles,
};

}  // namespace

extern "C" __attribute__((visibility("default"))) const ReportEngineApi* zanfor_report_engine() {
    return &kApi;
}
