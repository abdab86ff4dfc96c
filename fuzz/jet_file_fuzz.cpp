// Any bytes as a whole .mdb file, read as the collectors read it: every table definition,
// query, container, property and the Access project. Seeded with real files, mutations reach
// deep into the structures.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "host/access/access_project.h"
#include "host/error.h"
#include "host/jet/jet_database.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string path = "/tmp/zanfor-fuzz-" + std::to_string(::getpid()) + ".mdb";
    if (FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(data, 1, size, f);
        std::fclose(f);
    }
    try {
        auto db = zanfor::host::jet::JetEngine().openDatabase(path);
        db->tableDefs();
        for (const auto& q : db->queryDefs())
            (void)q.sql();
        db->containers();
        zanfor::host::access::AccessProject::ReadFile(path);
    } catch (const zanfor::host::Error&) {
    }
    return 0;
}
