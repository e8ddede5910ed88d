// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Paints one action of the macro editor's list as its three cells — name, state, delay —
// each in the look its style names (ui::MacroListModel's roles). A delegate draws every
// visible row on demand, so a macro of thousands of actions costs no widgets.

#include <QStyledItemDelegate>

namespace orvane::ui::pages {

/// The text colour of a cell style (invalid for a style the list does not know).
QColor MacroCellColour(const QString& style);
/// The background of the selected row: neutral, so that every cell colour stays readable
/// on it; a bar in the accent colour at its left edge marks the selection.
QColor MacroSelectedRowColour();

class MacroActionDelegate final : public QStyledItemDelegate {
public:
    explicit MacroActionDelegate(int rowHeight, QObject* parent = nullptr)
        : QStyledItemDelegate(parent), rowHeight_(rowHeight) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    int rowHeight_;
};

}  // namespace orvane::ui::pages
