#pragma once

// A code reader's surroundings: the collector fixture (state, work database, recording window)
// and an Access application with the same target open, built in code or read from a real file.

#include <filesystem>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "collect/collector_fixture.h"
#include "host/access.h"
#include "host/memory/memory_target.h"

namespace zanfor::test {

class VbaFixture {
public:
    static VbaFixture ForTarget(std::shared_ptr<const host::memory::MemoryTarget> target);
    static VbaFixture ForFile(const std::filesystem::path& file);

    collect::RunContext context();
    std::vector<std::string> rows(const std::string& sql) { return collector.rows(sql); }
    // The recorded window events that begin with `prefix`, without it.
    std::vector<std::string> events(std::string_view prefix) const;

    app::AppState& state() { return collector.state; }

    CollectorFixture collector;
    std::unique_ptr<host::memory::MemoryEngine> engine;  // what the memory application reads
    std::unique_ptr<host::access::Application> access;

private:
    explicit VbaFixture(CollectorFixture fixture);
};

// Module text from its lines, each ended with CR LF.
std::string Code(std::initializer_list<std::string_view> lines);

std::string Repeat(std::string_view text, int times);

}  // namespace zanfor::test
