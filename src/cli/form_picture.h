#pragma once

// zanfor-cli capture: a form drawn by the form renderer into a PNG or BMP file. Builds without
// the report engine (the sanitizer build) have a version that refuses with a clear message.

#include <filesystem>

#include "host/access.h"
#include "host/dao.h"

namespace zanfor::cli {

// The open `form` drawn with its data from `access` and `data`, in design view or form view,
// the client area or `wholeWindow`, written to `file` (BMP for a ".bmp" name in any case, PNG
// otherwise) through a temporary file renamed over it. A file already there is replaced only
// when it is an image of that kind. Host errors: the renderer's (2501, nothing to draw), 58 for
// a file that is not such an image, file errors.
void WriteFormPicture(const host::access::DesignObject& form, host::access::Application& access,
                      host::dao::Database& data, const std::filesystem::path& file, bool designView,
                      bool wholeWindow);

// The same for many pictures: each drawn at the call, its file written by a worker while the
// caller draws the next. FinishFormPictures waits for them all and throws the error of the first
// that could not be written; call it before using the files.
void QueueFormPicture(const host::access::DesignObject& form, host::access::Application& access,
                      host::dao::Database& data, const std::filesystem::path& file, bool designView,
                      bool wholeWindow);
void FinishFormPictures();

}  // namespace zanfor::cli
