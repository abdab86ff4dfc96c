#include "workdb/work_database_lock.h"

#include <gtest/gtest.h>

#include <optional>

#include "host/error.h"
#include "test_support.h"
#include "workdb/other_process.h"
#include "workdb/work_database.h"

namespace {

using namespace zanfor::workdb;
using zanfor::host::Error;
using zanfor::test::InOtherProcess;
using zanfor::test::TempDir;
namespace fs = std::filesystem;

constexpr int kOpened = 0;
constexpr int kRefused = 1;  // error 3045 naming the file as it was given
constexpr int kOtherFailure = 2;

int openInOtherProcess(const fs::path& file) {
    return InOtherProcess([&] {
        try {
            WorkDatabase::open(file);
            return kOpened;
        } catch (const Error& e) {
            const bool named = e.description().find("'" + file.string() + "'") != std::string::npos;
            return e.number() == 3045 && named ? kRefused : kOtherFailure;
        }
    });
}

// A run renders its reports over a second connection while its own is open; the preview window
// does the same in the desktop program.
TEST(WorkDatabaseLock, anotherProcessIsRefusedWith3045UntilTheHoldersLastConnectionCloses) {
    TempDir dir;
    const auto file = dir / "w.db";
    std::optional<WorkDatabase> run(WorkDatabase::open(file));
    std::optional<WorkDatabase> report(WorkDatabase::open(file));
    EXPECT_EQ(report->rowCount("T_AcObject"), 0);
    run.reset();
    EXPECT_EQ(openInOtherProcess(file), kRefused);
    report.reset();
    EXPECT_EQ(openInOtherProcess(file), kOpened);
}

TEST(WorkDatabaseLock, everySpellingOfTheFileMeetsTheSameHold) {
    TempDir dir;
    const auto file = dir / "w.db";
    fs::create_directory(dir / "sub");
    fs::create_symlink(file, dir / "link.db");
    auto held = WorkDatabase::open(file);
    for (const auto& spelling : {dir / "link.db", dir / "sub" / ".." / "w.db"})
        EXPECT_EQ(openInOtherProcess(spelling), kRefused) << spelling;
}

TEST(WorkDatabaseLock, aProcessThatDiesWithoutClosingBlocksNothing) {
    TempDir dir;
    const auto file = dir / "w.db";
    EXPECT_EQ(InOtherProcess([&] {
                  auto* neverClosed = new WorkDatabase(WorkDatabase::open(file));
                  return neverClosed ? kOpened : kOtherFailure;
              }),
              kOpened);
    EXPECT_NO_THROW(WorkDatabase::open(file));
}

TEST(WorkDatabaseLock, whereNoLockFileCanBeMadeNothingIsGuarded) {
    EXPECT_FALSE(WorkDatabaseLock::acquire("/proc/definitely/not/here/w.db").guards());
    TempDir dir;
    EXPECT_TRUE(WorkDatabaseLock::acquire(dir / "w.db").guards());
    EXPECT_TRUE(fs::exists(dir / "w.db-lock"));
}

}  // namespace
