#pragma once

// A collection's surroundings for tests: an in-memory target (or a real file), the shared
// state as opening the target leaves it, an in-memory work database and a recording window.

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "collect/collector_run.h"
#include "core/app_state.h"
#include "core/run_ui.h"
#include "host/dao.h"
#include "host/memory/memory_target.h"
#include "test_support.h"
#include "workdb/work_database.h"

namespace zanfor::test {

class CollectorFixture {
public:
    // The target's DAO database; the state's path names a real file so its size can be read.
    explicit CollectorFixture(std::unique_ptr<host::dao::Database> target);
    static CollectorFixture ForMemory(host::memory::MemoryTargetBuilder& builder);

    collect::RunContext context();
    // Each row of the query as its values' texts, columns joined with "|".
    std::vector<std::string> rows(const std::string& sql);
    std::int64_t count(const std::string& table) { return work.rowCount(table); }

    app::AppState state;
    app::RecordingUi ui;
    workdb::WorkDatabase work;

private:
    std::unique_ptr<TempDir> dir_;
    std::unique_ptr<host::dao::Database> target_;
};

}  // namespace zanfor::test
