// Any bytes as a whole .mdb or .accdb file, read as the collectors read it: every table
// definition, query, container, property and the Access project. Seeded with real files,
// mutations reach deep into the structures. A Jet 4 input is read a second time under an ACE
// (Access 2007+) header, so every Jet 4 seed also drives the paths only ACE files take: complex
// and calculated columns, the ACE types, the encryption check.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "host/access/access_project.h"
#include "host/error.h"
#include "host/jet/jet_database.h"

namespace {

void readAll(const std::string& path, std::string_view bytes) {
    if (FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(bytes.data(), 1, bytes.size(), f);
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
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string path = "/tmp/zanfor-fuzz-" + std::to_string(::getpid()) + ".mdb";
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    readAll(path, bytes);

    constexpr std::string_view kJet4("\x00\x01\x00\x00Standard Jet DB\x00\x01", 21);
    if (bytes.substr(0, kJet4.size()) == kJet4) {
        std::string ace(bytes);
        ace.replace(4, 15, "Standard ACE DB");
        // Access 2007 to 2016, chosen by a byte the mutations reach.
        ace[0x14] = static_cast<char>(2 + (size > 0x15 ? data[0x15] % 4 : 0));
        readAll(path, ace);
    }
    return 0;
}
