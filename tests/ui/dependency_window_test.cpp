#include "ui/dependency_window.h"

#include <QComboBox>
#include <QTreeWidget>

#include "graph/graph_output.h"
#include "graph/unused.h"
#include "window_fixture.h"

namespace {

using namespace zanfor;
using graph::NodeKind;

QString Title(NodeKind kind, const char* name) {
    graph::Node node;
    node.kind = kind;
    node.name = name;
    return QString::fromStdString(graph::NodeTitle(node));
}

QStringList Column(const QTreeWidget* list, int column) {
    QStringList texts;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        texts << list->topLevelItem(i)->text(column);
    return texts;
}

class DependencyWindowTest : public test::WindowFixture {};

TEST_F(DependencyWindowTest, walksFromAnObjectToWhatItUsesAndBackAndListsWhatNothingUses) {
    start();
    trigger("m10");
    EXPECT_EQ(boxTexts(), std::vector<std::string>{"データベースを選択して下さい。"});
    EXPECT_EQ(window->findChild<app::DependencyWindow*>("frmDepend"), nullptr);

    openTarget(test::kMemoryTarget);
    trigger("m10");
    auto* w = window->findChild<app::DependencyWindow*>("frmDepend");
    ASSERT_NE(w, nullptr);
    auto* objects = w->findChild<QComboBox*>("cboDepObject");
    auto* uses = w->findChild<QTreeWidget*>("lstUses");
    auto* usedBy = w->findChild<QTreeWidget*>("lstUsedBy");
    objects->setCurrentIndex(objects->findText(Title(NodeKind::Query, "顧客一覧")));
    ASSERT_EQ(Column(uses, 0), QStringList{Title(NodeKind::Table, "顧客")});
    EXPECT_EQ(Column(uses, 3), QStringList{"1"});

    // A row's object becomes the chosen one: the table is used by the query.
    emit uses->itemDoubleClicked(uses->topLevelItem(0), 0);
    EXPECT_EQ(objects->currentText(), Title(NodeKind::Table, "顧客"));
    EXPECT_EQ(Column(usedBy, 0), QStringList{Title(NodeKind::Query, "顧客一覧")});
    EXPECT_TRUE(Column(uses, 0).isEmpty());

    const auto* unused = w->findChild<QTreeWidget*>("lstUnused");
    const auto names = Column(unused, 0);
    const auto row = names.indexOf(Title(NodeKind::Table, "商品"));
    ASSERT_GE(row, 0) << names.join(", ").toStdString();
    EXPECT_EQ(unused->topLevelItem(row)->text(1),
              QString::fromStdString(std::string(graph::SurenessLabel(true))));
    EXPECT_FALSE(names.contains(Title(NodeKind::Form, "メニュー"))) << "the startup form";
}

}  // namespace
