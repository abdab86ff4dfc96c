#pragma once

// The Access-like application over real files: opening a target as the current database gives
// its DAO side (host/jet) and its Access project (modules, which forms and reports have code,
// their control lists). Nothing is ever written to the target.

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "host/access.h"
#include "host/access/access_project.h"

namespace zanfor::host::access {

class FileApplication : public Application {
public:
    // Host errors of opening: those of JetEngine, 7866 for an Access 97 (Jet 3) file, whose
    // project Access 2000 could not open either, 30010/30011 for a damaged project.
    void openCurrentDatabase(const std::string& path) override;
    void closeCurrentDatabase() override;
    dao::Database& currentDb() override;
    void setVisible(bool visible) override { visible_ = visible; }
    bool visible() const override { return visible_; }
    DesignObject& openForm(const std::string& name, View view) override;
    DesignObject& openReport(const std::string& name, View view) override;
    const Module& openModule(const std::string& name) override;
    void close(ObjectType type, const std::string& name) override;
    void selectObject(ObjectType type, const std::string& name) override;
    void runCommand(int command) override;
    void deleteObject(ObjectType type, const std::string& name) override;

    const AccessProject& project() const;

private:
    DesignObject& open(bool report, const std::string& name);

    std::unique_ptr<dao::Database> db_;
    std::shared_ptr<const AccessProject> project_;
    bool visible_ = false;
    std::map<std::string, std::unique_ptr<DesignObject>> openObjects_;
};

class FileApplicationFactory : public ApplicationFactory {
public:
    std::unique_ptr<Application> createApplication() override {
        return std::make_unique<FileApplication>();
    }
};

}  // namespace zanfor::host::access
