// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// MacroListModel: the macro editor's action list for a Qt item view. A thin adapter over
// macros::MacroDocument, which the page edits; the model only turns the document's change
// notices into the begin/end calls of QAbstractListModel and its rows into cell data, so
// a list of thousands of actions is one view, not one widget per row.

#include <QAbstractListModel>

#include <functional>

#include "macros/macro_document.h"

namespace orvane::ui {

class MacroListModel final : public QAbstractListModel, private macros::MacroDocument::Observer {
    Q_OBJECT
public:
    enum Role {
        NameRole = Qt::UserRole + 1,  ///< the action's label translated (also Qt::DisplayRole)
        NameStyleRole,                ///< "macro_label_keyboard_style" / "macro_label_mouse_style"
        StateRole,                    ///< a move's distance, "▼"/"▲" of a recorded mouse row
        StateStyleRole,
        DelayRole,                    ///< the delay in ms, as text
        DelayStyleRole,
        LineRole,                     ///< the stored action line
        RecordedMouseRole,            ///< bool: a recorded mouse row (plain text row)
    };
    /// Turns a language id into the shown text; the id itself when not given.
    using Translate = std::function<QString(const QString& id)>;

    explicit MacroListModel(macros::MacroDocument& document, Translate translate = {}, QObject* parent = nullptr);
    ~MacroListModel() override;

    macros::MacroDocument& document() { return document_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QHash<int, QByteArray> roleNames() const override;

private:
    void aboutToChange(const macros::MacroDocument::Change& change) override;
    void changed(const macros::MacroDocument::Change& change) override;

    macros::MacroDocument& document_;
    Translate translate_;
};

}  // namespace orvane::ui
