#pragma once

// A form picture written to a file, inside the report engine module (cli/form_picture.h says
// what it does).

#include <filesystem>

#include "host/access.h"
#include "host/dao.h"

namespace zanfor::cli::reports {

void WriteFormPictureFile(const host::access::DesignObject& form, host::access::Application& access,
                          host::dao::Database& data, const std::filesystem::path& file,
                          bool designView, bool wholeWindow);

// The same, drawn now and written by a worker while the caller goes on.
void QueueFormPictureFile(const host::access::DesignObject& form, host::access::Application& access,
                          host::dao::Database& data, const std::filesystem::path& file,
                          bool designView, bool wholeWindow);
// Waits for the queued pictures; the first that could not be written throws its error.
void FinishFormPictureFiles();

}  // namespace zanfor::cli::reports
