// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// ControlIndex: controls found by name without regard to case. A name the skin lacks gives
// null, and every user skips it. Widgets that are deleted drop out by themselves.

#include <QHash>
#include <QPointer>
#include <QString>
#include <QWidget>

namespace orvane::ui {

class ControlIndex {
public:
    /// Indexes root and all its descendants (again after a sub-layout was added).
    void add(QWidget* root);
    void clear() { byName_.clear(); }

    QWidget* find(const QString& name) const;
    template <class T>
    T* find(const QString& name) const { return qobject_cast<T*>(find(name)); }

    qsizetype size() const { return byName_.size(); }

private:
    QHash<QString, QPointer<QWidget>> byName_;  // key: lower-case name
};

}  // namespace orvane::ui
