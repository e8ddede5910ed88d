#pragma once
// A notification: what happened (the event type, compared exactly) and to which control
// (the sender's name, compared without regard to case).

#include <QPointer>
#include <QString>
#include <QWidget>

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
inline const QString ColorChanged = QStringLiteral("colorchanged");
inline const QString MouseEnter = QStringLiteral("msenter");
inline const QString MouseLeave = QStringLiteral("msleave");
}  // namespace event

struct Notification {
    QString type;
    QString sender;             ///< the control's name as the skin spells it
    QPointer<QWidget> control;  ///< null for notifications without a control
};

}  // namespace orvane::ui
