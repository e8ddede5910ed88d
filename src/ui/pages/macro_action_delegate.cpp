// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/pages/macro_action_delegate.h"

#include <QPainter>

#include <array>
#include <string_view>

#include "ui/macro_list_model.h"

namespace orvane::ui::pages {

namespace {

/// The looks of the row styles: text colour, and the glyph a state cell without text shows.
struct CellLook {
    std::string_view style;
    QColor colour;
    const char* glyph;
};
const std::array<CellLook, 5> kLooks{{
    {"macro_label_keyboard_style", QColor(0x2f, 0xb8, 0xd6), ""},
    {"macro_label_mouse_style", QColor(0xf0, 0xa8, 0x3c), ""},
    {"macro_label_down_style", QColor(0xff, 0x7a, 0x80), "▼"},  // the accent, lighter: readable on the rows
    {"macro_label_up_style", QColor(0x6f, 0xcf, 0x7f), "▲"},
    {"macro_label_text_style", QColor(0xe4, 0xe7, 0xec), ""},
}};

const CellLook* LookOf(const QVariant& style) {
    const QByteArray name = style.toString().toUtf8();
    for (const auto& look : kLooks)
        if (std::string_view(name.constData(), size_t(name.size())) == look.style) return &look;
    return nullptr;
}

const QColor kAccent(0xe0, 0x32, 0x3c);
constexpr int kSelectionBarWidth = 3;

}  // namespace

QColor MacroCellColour(const QString& style) {
    const CellLook* look = LookOf(style);
    return look ? look->colour : QColor();
}

QColor MacroSelectedRowColour() { return {0x2a, 0x30, 0x3a}; }

void MacroActionDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
    painter->save();
    const QRect r = option.rect;
    if (option.state & QStyle::State_Selected) {
        painter->fillRect(r, MacroSelectedRowColour());
        painter->fillRect(QRect(r.left(), r.top(), kSelectionBarWidth, r.height()), kAccent);
    } else if (index.row() % 2) painter->fillRect(r, QColor(255, 255, 255, 8));
    const bool plain = index.data(MacroListModel::RecordedMouseRole).toBool();
    const int nameWidth = r.width() * 45 / 100, stateWidth = r.width() * 20 / 100;
    const std::array<QRect, 3> cells{QRect(r.left() + 8, r.top(), nameWidth - 8, r.height()),
                                     QRect(r.left() + nameWidth, r.top(), stateWidth, r.height()),
                                     QRect(r.left() + nameWidth + stateWidth, r.top(),
                                           r.width() - nameWidth - stateWidth - 8, r.height())};
    const std::array<std::pair<int, int>, 3> roles{{{MacroListModel::NameRole, MacroListModel::NameStyleRole},
                                                    {MacroListModel::StateRole, MacroListModel::StateStyleRole},
                                                    {MacroListModel::DelayRole, MacroListModel::DelayStyleRole}}};
    for (size_t i = 0; i < cells.size(); ++i) {
        QString text = index.data(roles[i].first).toString();
        const CellLook* look = plain ? nullptr : LookOf(index.data(roles[i].second));
        if (text.isEmpty() && look) text = QString::fromUtf8(look->glyph);
        painter->setPen(look ? look->colour : option.palette.color(QPalette::Text));
        const int align = (i == 0 ? Qt::AlignLeft : i == 1 ? Qt::AlignHCenter : Qt::AlignRight) | Qt::AlignVCenter;
        painter->drawText(cells[i], align, painter->fontMetrics().elidedText(text, Qt::ElideRight, cells[i].width()));
    }
    painter->restore();
}

QSize MacroActionDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const {
    return {option.rect.width(), rowHeight_};
}

}  // namespace orvane::ui::pages
