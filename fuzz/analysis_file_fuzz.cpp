// Any bytes as an analysis file (.adb): refused with a host error or read, never a crash, and
// the file on disk never written.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

#include "collect/analysis_records.h"
#include "host/error.h"
#include "util/encoding.h"
#include "workdb/work_database.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const auto file = std::filesystem::temp_directory_path() /
                      ("zanfor-fuzz-" + std::to_string(getpid()) + ".adb");
    zanfor::util::WriteFileAtomically(file, bytes);
    try {
        const auto copy = zanfor::workdb::WorkDatabase::openCopy(file);
        zanfor::collect::ReadSaveFlag(copy);
        zanfor::workdb::Query rows(copy, "SELECT * FROM T_AcSaveObject");
        while (rows.next()) {
        }
    } catch (const zanfor::host::Error&) {
        // A refusal is the expected answer to most inputs.
    }
    std::string after;
    {
        std::FILE* f = std::fopen(file.c_str(), "rb");
        char buffer[4096];
        std::size_t n = 0;
        while (f && (n = std::fread(buffer, 1, sizeof buffer, f)) > 0)
            after.append(buffer, n);
        if (f)
            std::fclose(f);
    }
    std::filesystem::remove(file);
    if (after != bytes)
        std::abort();
    return 0;
}
