// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A notification: what happened (the event type, compared exactly) and to which control
// (the sender's name, compared without regard to case).

#include <QPointer>
#include <QString>
#include <QWidget>

#include <cstdint>

namespace orvane::ui {

namespace event {
inline const QString WindowInit = QStringLiteral("windowinit");
inline const QString Click = QStringLiteral("click");
inline const QString SelectChanged = QStringLiteral("selectchanged");
inline const QString ItemSelect = QStringLiteral("itemselect");
inline const QString ItemClick = QStringLiteral("itemclick");
inline const QString ValueChanged = QStringLiteral("valuechanged");
inline const QString MoveValueChanged = QStringLiteral("movevaluechanged");
inline const QString TextChanged = QStringLiteral("textchanged");
/// An edit's typing is done: Return pressed or the focus gone.
inline const QString EditDone = QStringLiteral("editdone");
inline const QString ColorChanged = QStringLiteral("colorchanged");
inline const QString MouseEnter = QStringLiteral("msenter");
inline const QString MouseLeave = QStringLiteral("msleave");

/// Event types as bits, for tables that take several.
enum Bit : uint16_t {
    kClick = 1 << 0,
    kSelectChanged = 1 << 1,
    kItemSelect = 1 << 2,
    kItemClick = 1 << 3,
    kValueChanged = 1 << 4,
    kMoveValueChanged = 1 << 5,
    kTextChanged = 1 << 6,
    kColorChanged = 1 << 7,
    kMouseEnter = 1 << 8,
    kMouseLeave = 1 << 9,
    kEditDone = 1 << 10,
};
/// The bit of an event type (compared exactly), or 0 for a type no table takes.
uint16_t BitOf(const QString& type);
}  // namespace event

struct Notification {
    QString type;
    QString sender;             ///< the control's name as the skin spells it
    QPointer<QWidget> control;  ///< null for notifications without a control
};

}  // namespace orvane::ui
