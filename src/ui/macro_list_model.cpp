// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/macro_list_model.h"

namespace orvane::ui {

using Change = macros::MacroDocument::Change;

namespace {

QString Text(std::string_view s) { return QString::fromUtf8(s.data(), qsizetype(s.size())); }

}  // namespace

MacroListModel::MacroListModel(macros::MacroDocument& document, Translate translate, QObject* parent)
    : QAbstractListModel(parent), document_(document), translate_(std::move(translate)) {
    document_.setObserver(this);
}

MacroListModel::~MacroListModel() { document_.setObserver(nullptr); }

int MacroListModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : document_.size(); }

QVariant MacroListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() < 0 || index.row() >= document_.size()) return {};
    const macros::MacroRow& row = document_.row(index.row());
    if (role == LineRole) return Text(macros::FormatActionLine(row.action));
    if (role == RecordedMouseRole) return row.recordedMouse;
    const macros::RowCells cells = macros::DescribeRow(row);
    switch (role) {
    case Qt::DisplayRole:
    case NameRole: return translate_ ? translate_(Text(cells.name)) : Text(cells.name);
    case NameStyleRole: return Text(cells.nameStyle);
    case StateRole: return Text(cells.state);
    case StateStyleRole: return Text(cells.stateStyle);
    case DelayRole: return Text(cells.delay);
    case DelayStyleRole: return Text(cells.delayStyle);
    default: return {};
    }
}

QHash<int, QByteArray> MacroListModel::roleNames() const {
    auto names = QAbstractListModel::roleNames();
    const std::pair<int, const char*> roles[] = {
        {NameRole, "name"},   {NameStyleRole, "nameStyle"}, {StateRole, "state"}, {StateStyleRole, "stateStyle"},
        {DelayRole, "delay"}, {DelayStyleRole, "delayStyle"}, {LineRole, "line"}, {RecordedMouseRole, "recordedMouse"}};
    for (const auto& [role, name] : roles) names.insert(role, name);
    return names;
}

void MacroListModel::aboutToChange(const Change& c) {
    switch (c.kind) {
    case Change::Kind::Reset: beginResetModel(); break;
    case Change::Kind::Inserted: beginInsertRows({}, c.first, c.last); break;
    case Change::Kind::Removed: beginRemoveRows({}, c.first, c.last); break;
    case Change::Kind::Moved:
        // Qt names the row the moved one goes before, counted before the move.
        beginMoveRows({}, c.first, c.last, {}, c.to > c.first ? c.to + 1 : c.to);
        break;
    case Change::Kind::Changed: break;
    }
}

void MacroListModel::changed(const Change& c) {
    switch (c.kind) {
    case Change::Kind::Reset: endResetModel(); break;
    case Change::Kind::Inserted: endInsertRows(); break;
    case Change::Kind::Removed: endRemoveRows(); break;
    case Change::Kind::Moved: endMoveRows(); break;
    case Change::Kind::Changed: Q_EMIT dataChanged(index(c.first), index(c.last)); break;
    }
}

}  // namespace orvane::ui
