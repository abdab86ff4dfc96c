#include "ui/dependency_window.h"

#include <QApplication>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QSplitter>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <numeric>
#include <tuple>

#include "core/error_report.h"
#include "graph/graph_output.h"
#include "graph/unused.h"
#include "report/qt_text.h"
#include "report/report_fonts.h"

namespace zanfor::app {

using report::ToQString;

namespace {

constexpr char kPlace[] = "場所:依存関係";

QTreeWidget* List(const char* name, const QStringList& headings) {
    auto* list = new QTreeWidget;
    list->setObjectName(name);
    list->setRootIsDecorated(false);
    list->setHeaderLabels(headings);
    list->setAlternatingRowColors(true);
    list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    return list;
}

QWidget* Titled(const QString& title, QWidget* content) {
    auto* box = new QWidget;
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new QLabel(title));
    layout->addWidget(content);
    return box;
}

}  // namespace

DependencyWindow::DependencyWindow(Program& program, RunUi& host,
                                   std::function<void()> exitRequested, QWidget* parent)
    : QDialog(parent), program_(program), host_(host), exitRequested_(std::move(exitRequested)) {
    setObjectName("frmDepend");
    setWindowTitle(QStringLiteral("依存関係"));
    setFont(report::ReportFont(report::FontRole::Text, 9));
    resize(900, 560);

    objects_ = new QComboBox;
    objects_->setObjectName("cboDepObject");
    objects_->setMinimumContentsLength(30);
    depth_ = new QSpinBox;
    depth_->setObjectName("spnDepth");
    depth_->setRange(1, 9);
    auto* reloadButton = new QPushButton(QStringLiteral("再読込"));
    reloadButton->setObjectName("cmdDepReload");
    reloadButton->setAutoDefault(false);
    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("オブジェクト:")));
    top->addWidget(objects_, 1);
    top->addWidget(new QLabel(QStringLiteral("段数:")));
    top->addWidget(depth_);
    top->addWidget(reloadButton);

    const QStringList headings{QStringLiteral("オブジェクト"), QStringLiteral("関係"),
                               QStringLiteral("場所"), QStringLiteral("段")};
    uses_ = List("lstUses", headings);
    usedBy_ = List("lstUsedBy", headings);
    auto* split = new QSplitter(Qt::Vertical);
    split->addWidget(Titled(QStringLiteral("使用しているもの"), uses_));
    split->addWidget(Titled(QStringLiteral("使用されているもの"), usedBy_));
    auto* depends = new QWidget;
    auto* dependsLayout = new QVBoxLayout(depends);
    dependsLayout->addLayout(top);
    dependsLayout->addWidget(split, 1);

    unused_ = List("lstUnused", {QStringLiteral("オブジェクト"), QStringLiteral("確かさ"),
                                 QStringLiteral("理由")});
    auto* pages = new QTabWidget;
    pages->setObjectName("tabDepend");
    pages->addTab(depends, QStringLiteral("使用関係"));
    pages->addTab(unused_, QStringLiteral("未使用"));

    summary_ = new QLabel;
    summary_->setObjectName("lblDepSummary");
    auto* closeButton = new QPushButton(QStringLiteral("閉じる"));
    closeButton->setObjectName("cmdDepClose");
    closeButton->setAutoDefault(false);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(summary_, 1);
    bottom->addWidget(closeButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pages, 1);
    layout->addLayout(bottom);

    connect(objects_, &QComboBox::currentIndexChanged, this, [this] { showChosen(); });
    connect(depth_, &QSpinBox::valueChanged, this, [this] { showChosen(); });
    connect(reloadButton, &QPushButton::clicked, this, [this] { reload(); });
    connect(closeButton, &QPushButton::clicked, this, &QDialog::close);
    for (auto* list : {uses_, usedBy_, unused_}) {
        connect(list, &QTreeWidget::itemDoubleClicked, this, [this, pages](QTreeWidgetItem* item) {
            pages->setCurrentIndex(0);
            choose(item->data(0, Qt::UserRole).value<qulonglong>());
        });
    }
}

bool DependencyWindow::reload() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    try {
        graph_ = program_.dependencyGraph();
    } catch (const std::exception& e) {
        QApplication::restoreOverrideCursor();
        const auto report = BuildErrorReport(kPlace, e, WindowKind::Main);
        host_.messageBox(report.text(), report.title, MsgButtons::Ok, MsgIcon::Critical);
        if (report.shutdown && exitRequested_)
            exitRequested_();
        return false;
    }
    QApplication::restoreOverrideCursor();
    const auto& nodes = graph_->nodes();
    // Objects by kind, then by name; the missing ones, which are named but not there, last.
    std::vector<std::size_t> order(nodes.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        const auto& x = nodes[a];
        const auto& y = nodes[b];
        return std::tie(x.missing, x.kind, x.name) < std::tie(y.missing, y.kind, y.name);
    });
    const QSignalBlocker quiet(objects_);
    const QString was = objects_->currentText();
    objects_->clear();
    for (const auto node : order)
        objects_->addItem(ToQString(graph::NodeTitle(nodes[node])), qulonglong{node});
    objects_->setCurrentIndex(std::max(0, objects_->findText(was)));
    showChosen();
    fillUnused();
    summary_->setText(
        QStringLiteral("オブジェクト %1 件、参照 %2 件、実行時に組み立てる名前 %3 件、"
                       "読めなかったもの %4 件")
            .arg(nodes.size())
            .arg(graph_->edges().size())
            .arg(graph_->dynamics().size())
            .arg(graph_->problems().size()));
    QStringList problems;
    for (const auto& p : graph_->problems()) {
        problems << ToQString(p.object + ": " + ErrorSummary(p.number, p.description));
    }
    summary_->setToolTip(problems.join(u'\n'));
    return true;
}

void DependencyWindow::choose(std::size_t node) {
    const int at = objects_->findData(qulonglong{node});
    if (at >= 0)
        objects_->setCurrentIndex(at);
}

void DependencyWindow::showChosen() {
    for (auto* list : {uses_, usedBy_})
        list->clear();
    if (!graph_ || objects_->currentIndex() < 0)
        return;
    const auto node = objects_->currentData().value<qulonglong>();
    for (const bool forward : {true, false}) {
        auto* list = forward ? uses_ : usedBy_;
        for (const auto& reach : graph::Walk(*graph_, node, depth_->value(), forward)) {
            const auto& edge = graph_->edges()[reach.edge];
            const auto other = forward ? edge.to : edge.from;
            auto* item = new QTreeWidgetItem(
                list, {ToQString(graph::NodeTitle(graph_->nodes()[other])),
                       ToQString(graph::EdgeLabel(edge.kind)),
                       ToQString(graph::LocationText(edge.where)), QString::number(reach.depth)});
            item->setData(0, Qt::UserRole, qulonglong{other});
        }
    }
}

void DependencyWindow::fillUnused() {
    unused_->clear();
    for (const auto& entry : graph::FindUnused(*graph_)) {
        auto* item = new QTreeWidgetItem(
            unused_, {ToQString(graph::NodeTitle(graph_->nodes()[entry.node])),
                      ToQString(graph::SurenessLabel(entry.sure)), ToQString(entry.why)});
        item->setData(0, Qt::UserRole, qulonglong{entry.node});
    }
}

}  // namespace zanfor::app
