#pragma once

// zanfor-cli site: a static HTML site of the whole target, one page per object and every use a
// link, that opens from the file system with no server. The target (an .mdb file or an object
// export folder) is collected into a work database of its own in a temporary folder removed
// afterwards; it is never written.
//
// Exit status: 0 the site was written, 1 a reported error (in the system's words, with its
// number, on standard error), 2 bad usage (the reason on standard error; the caller prints the
// usage).

#include <filesystem>
#include <string>
#include <vector>

namespace zanfor::cli {

// The arguments after "site": TARGET --out DIR [--no-pictures].
int RunSite(const std::vector<std::string>& args, const std::filesystem::path& executable);

}  // namespace zanfor::cli
