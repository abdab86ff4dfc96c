#pragma once

// The dependency window frmDepend (menu "依存関係"): for the object chosen in its list, what it
// uses and what uses it, to the depth chosen, each with the kind of use and where it was found;
// and on a second page what nothing uses, with why and how sure. A row's object is chosen by
// double-clicking it, so a user walks the graph as far as the question goes. The graph is built
// from the target when the window opens and again on 再読込; nothing of the target is changed.

#include <QDialog>
#include <functional>
#include <optional>

#include "core/run_ui.h"
#include "graph/dependency_graph.h"
#include "program/program.h"

class QComboBox;
class QLabel;
class QSpinBox;
class QTreeWidget;

namespace zanfor::app {

class DependencyWindow : public QDialog {
    Q_OBJECT

public:
    // `host` is the main window, whose message boxes report a target that cannot be read;
    // `exitRequested` is called after an error that ends the program.
    DependencyWindow(Program& program, RunUi& host, std::function<void()> exitRequested,
                     QWidget* parent = nullptr);

    // Builds the graph of the target anew and shows it; false (the error reported) when the
    // target could not be read.
    bool reload();
    // Chooses the object of that node, as double-clicking a row does.
    void choose(std::size_t node);

private:
    void showChosen();
    void fillUnused();

    Program& program_;
    RunUi& host_;
    std::function<void()> exitRequested_;
    std::optional<graph::DependencyGraph> graph_;
    QComboBox* objects_ = nullptr;
    QSpinBox* depth_ = nullptr;
    QTreeWidget* uses_ = nullptr;
    QTreeWidget* usedBy_ = nullptr;
    QTreeWidget* unused_ = nullptr;
    QLabel* summary_ = nullptr;
};

}  // namespace zanfor::app
