// SPDX-License-Identifier: GPL-3.0-or-later
// The action list model over the macro document: rows, cell roles and the view's
// notifications for each kind of change (a view stays in step without rebuilding).

#include <gtest/gtest.h>

#include <QAbstractItemModel>

#include "macros/action_tables.h"
#include "macros/macro_document.h"
#include "ui/macro_list_model.h"

namespace orvane::ui {
namespace {

using macros::MacroDocument;

TEST(MacroListModel, ShowsTheDocumentsRowsAndFollowsEveryChange) {
    MacroDocument doc;
    MacroListModel model(doc, [](const QString& id) { return id == "keyboard_key_A" ? QString("A") : id; });
    QStringList events;
    QObject::connect(&model, &QAbstractItemModel::modelReset, [&] { events << "reset"; });
    QObject::connect(&model, &QAbstractItemModel::rowsInserted,
                     [&](const QModelIndex&, int a, int b) { events << QString("insert %1-%2").arg(a).arg(b); });
    QObject::connect(&model, &QAbstractItemModel::rowsRemoved,
                     [&](const QModelIndex&, int a, int b) { events << QString("remove %1-%2").arg(a).arg(b); });
    QObject::connect(&model, &QAbstractItemModel::rowsMoved,
                     [&](const QModelIndex&, int a, int, const QModelIndex&, int to) { events << QString("move %1>%2").arg(a).arg(to); });
    QObject::connect(&model, &QAbstractItemModel::dataChanged,
                     [&](const QModelIndex& a, const QModelIndex& b) { events << QString("change %1-%2").arg(a.row()).arg(b.row()); });

    doc.load(std::vector<std::string>{"12,1,138,4,1,keyboard_key_A", "5,0,132,20,1,mouse_move_to_left_text"});
    ASSERT_EQ(model.rowCount(), 2);
    const auto cell = [&](int row, int role) { return model.data(model.index(row), role); };
    EXPECT_EQ(cell(0, Qt::DisplayRole).toString(), "A");
    EXPECT_EQ(cell(0, MacroListModel::NameStyleRole).toString(), "macro_label_keyboard_style");
    EXPECT_EQ(cell(0, MacroListModel::StateStyleRole).toString(), "macro_label_down_style");
    EXPECT_EQ(cell(0, MacroListModel::DelayRole).toString(), "2680");
    EXPECT_EQ(cell(1, MacroListModel::StateRole).toString(), "20");
    EXPECT_EQ(cell(1, MacroListModel::LineRole).toString(), "5,0,132,20,1,mouse_move_to_left_text");
    EXPECT_FALSE(cell(2, Qt::DisplayRole).isValid());

    doc.select(0);
    doc.moveSelected(macros::MoveTo::Down);
    EXPECT_EQ(cell(1, MacroListModel::DelayRole).toString(), "2680");
    doc.moveSelected(macros::MoveTo::Up);
    doc.insertMouseAction(2);
    doc.setDelayUnits(1, 3);
    doc.removeSelected();
    doc.appendRecorded(macros::MouseEventAction(3), true, 40);
    EXPECT_EQ(cell(model.rowCount() - 1, MacroListModel::StateRole).toString(), QString::fromUtf8("\u25B2"));
    EXPECT_TRUE(cell(model.rowCount() - 1, MacroListModel::RecordedMouseRole).toBool());
    EXPECT_EQ(events, (QStringList{"reset", "move 0>2", "move 1>0", "insert 1-1", "change 1-1", "remove 0-0",
                                   "change 1-1", "insert 2-2"}));
    EXPECT_EQ(model.rowCount(), doc.size());
}

}  // namespace
}  // namespace orvane::ui
