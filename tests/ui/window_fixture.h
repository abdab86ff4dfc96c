#pragma once

// What the window tests share: a program folder of their own, dialogs answered from a script,
// a desktop that records, reports and the program's end recorded instead of shown, and the
// main window over them.

#include <gtest/gtest.h>

#include <QAction>
#include <QMenuBar>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "core/startup.h"
#include "host/memory/memory_target.h"
#include "sample_target.h"
#include "test_support.h"
#include "ui/main_window.h"
#include "util/ini_file.h"
#include "workdb/work_database.h"

namespace zanfor::test {

class WindowFixture : public ::testing::Test {
protected:
    TempProgramFolder home;
    app::ScriptedDialogs dialogs;
    app::RecordingDesktop desktop;
    host::memory::MemoryEngine memory;
    host::memory::MemoryApplicationFactory memoryAccess{memory};
    std::vector<std::pair<std::string, int>> reports;
    int ended = 0;
    std::span<const app::CommandInfo> commandTable = app::CommandTable();
    std::unique_ptr<app::MainWindow> window;

    WindowFixture() { memory.add(SampleTarget()); }
    ~WindowFixture() override { window.reset(); }

    // The main window as the program starts it; over real files when `realFiles`, with the
    // real report preview instead of a record of the reports asked for when `realReports`.
    app::MainWindow& start(bool realFiles = false, bool realReports = false) {
        auto startup = app::StartUp("/nowhere/zanfor", dialogs);
        if (!startup)
            throw std::runtime_error("the program did not start");
        app::MainWindowServices services;
        services.dialogs = &dialogs;
        services.desktop = &desktop;
        if (!realFiles) {
            services.engine = &memory;
            services.accessFactory = &memoryAccess;
        }
        services.today = [] { return std::string("2024/04/01"); };
        if (!realReports) {
            services.showReport = [this](std::string_view name, int mode) {
                reports.emplace_back(std::string(name), mode);
            };
        }
        services.endProgram = [this] { ++ended; };
        services.commandTable = commandTable;
        window = std::make_unique<app::MainWindow>(std::move(*startup), services);
        return *window;
    }

    template <typename T>
    T* find(const QString& name) const {
        auto* found = window->findChild<T*>(name);
        if (!found)
            ADD_FAILURE() << "no control " << name.toStdString();
        return found;
    }
    void trigger(const QString& menu) const { find<QAction>(menu)->trigger(); }
    void openTarget(const std::string& path) {
        dialogs.files = {path};
        trigger("m1a");
    }
    std::vector<std::string> boxTexts() const {
        std::vector<std::string> texts;
        for (const auto& box : dialogs.boxes)
            texts.push_back(box.text);
        return texts;
    }
    std::string ini(const char* section, const char* key) const {
        return util::IniFile(home / "Zanfor.ini").read(section, key, "(absent)");
    }
    std::vector<std::string> titleRows() const {
        auto work = workdb::WorkDatabase::open(home / std::string(workdb::kWorkDatabaseFileName));
        workdb::Query q(work, "SELECT FileName FROM T_AcTitle");
        std::vector<std::string> rows;
        while (q.next())
            rows.push_back(q.value(0).toText());
        return rows;
    }
};

}  // namespace zanfor::test
