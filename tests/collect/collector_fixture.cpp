#include "collect/collector_fixture.h"

#include "util/encoding.h"
#include "util/vb_string.h"

namespace zanfor::test {

CollectorFixture::CollectorFixture(std::unique_ptr<host::dao::Database> target)
    : work(workdb::WorkDatabase::open(":memory:")), target_(std::move(target)) {
    state.openMode = app::OpenMode::Target;
    state.targetPath = target_->name();
    // What opening the target counts for the pickers.
    for (const auto& t : target_->tableDefs()) {
        if (util::Left(t.name, 4) != "MSys")
            ++state.counts.tables;
        if (!t.connect.empty())
            ++state.counts.linkedTables;
    }
    for (const auto& q : target_->queryDefs()) {
        if (util::Left(q.name, 4) != "~sq_")
            ++state.counts.queries;
    }
    state.counts.forms = static_cast<long>(target_->documents("Forms").size());
    state.counts.reports = static_cast<long>(target_->documents("Reports").size());
    state.counts.macros = static_cast<long>(target_->documents("Scripts").size());
    state.counts.modules = static_cast<long>(target_->documents("Modules").size());
}

CollectorFixture CollectorFixture::ForMemory(host::memory::MemoryTargetBuilder& builder) {
    auto dir = std::make_unique<TempDir>();
    const auto file = *dir / "target.mdb";
    util::WriteFileAtomically(file, std::string(10240, 'x'));
    auto target = builder.build();
    auto copy = std::make_shared<host::memory::MemoryTarget>(*target);
    copy->path = file.string();
    CollectorFixture fixture(std::make_unique<host::memory::MemoryDatabase>(copy));
    fixture.dir_ = std::move(dir);
    return fixture;
}

collect::RunContext CollectorFixture::context() { return {state, work, *target_, ui, nullptr}; }

std::vector<std::string> CollectorFixture::rows(const std::string& sql) {
    std::vector<std::string> out;
    workdb::Query q(work, sql);
    while (q.next()) {
        std::string row;
        for (int i = 0; i < q.columnCount(); ++i)
            row += (i ? "|" : "") + q.value(i).toText();
        out.push_back(row);
    }
    return out;
}

}  // namespace zanfor::test
