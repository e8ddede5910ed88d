// SPDX-License-Identifier: GPL-3.0-or-later
// The macro editor's action list: recording, inserting, moving, deleting, the detail panel,
// save and cancel.

#include <QAbstractButton>
#include <QComboBox>
#include <QEvent>
#include <QHeaderView>
#include <QListView>
#include <QTableView>
#include <QListWidget>
#include <QStackedWidget>
#include <QTimer>

#include "macros/action_tables.h"
#include "macros/cursor_steps.h"
#include "macros/macro_messages.h"
#include "ui/macro_list_model.h"
#include "ui/notify_bridge.h"
#include "ui/pages/macro_action_delegate.h"
#include "ui/pages/macro_page.h"

namespace orvane::ui::pages {

using macros::MacroDocument;
using macros::MoveTo;

namespace {

/// The insert panel's button kinds: the tab button, its sub-panel, and the press and release
/// buttons with their event-table rows.
struct InsertKind {
    const char* tab;
    const char* panel;
    const char* press;
    const char* release;
    size_t pressRow, releaseRow;
};
constexpr std::array<InsertKind, 5> kInsertKinds{{
    {"macro_inset_leftkey_btn", "macro_inset_leftkey_tab", "macro_inset_leftkeydown_btn", "macro_inset_leftkeyup_btn", 0, 1},
    {"macro_inset_rightkey_btn", "macro_inset_rightkey_tab", "macro_inset_rightkeydown_btn", "macro_inset_rightkeyup_btn", 2, 3},
    {"macro_inset_moudlekey_btn", "macro_inset_moudlekey_tab", "macro_inset_moudlekeydown_btn", "macro_inset_moudlekeyup_btn", 4, 5},
    {"macro_inset_forwardkey_btn", "macro_inset_forwardkey_tab", "macro_inset_forwardkeydown_btn", "macro_inset_forwardkeyup_btn", 6, 7},
    {"macro_inset_backkey_btn", "macro_inset_backkey_tab", "macro_inset_backkeydown_btn", "macro_inset_backkeyup_btn", 8, 9},
}};

/// The four moves: button, distance edit, event-table row.
struct InsertMove {
    const char* button;
    const char* distance;
    size_t row;
};
constexpr std::array<InsertMove, 4> kInsertMoves{{
    {"macro_inset_moveleftkey_btn", "mouse_x_left_edit", 10},
    {"macro_inset_moverightkey_btn", "mouse_x_right_edit", 11},
    {"macro_inset_moveupkey_btn", "mouse_y_up_edit", 12},
    {"macro_inset_movedownkey_btn", "mouse_y_down_edit", 13},
}};

constexpr std::array<std::pair<const char*, MoveTo>, 4> kMoveButtons{{
    {"macro_btn_up", MoveTo::Up},
    {"macro_btn_down", MoveTo::Down},
    {"macro_btn_uptop", MoveTo::Top},
    {"macro_btn_downbottom", MoveTo::Bottom},
}};

/// The record options, in the order of RecordOptions' fields.
constexpr std::array kRecordOptions{"macro_keyboard_event", "macro_mouse_click", "macro_mouse_roller", "macro_mouse_move",
                                    "macro_check_time"};

/// Everything recording locks, besides the lists and the options.
constexpr std::array kActionButtons{
    "macro_btn_name_add", "macro_btn_name_sub", "macro_btn_savemacroname", "macro_btn_up", "macro_btn_down",
    "macro_btn_uptop", "macro_btn_downbottom", "macro_btn_delete", "macro_btn_deleteall", "macro_btn_save",
    "macro_btn_cancel", "macro_btn_shubiao", "MacroMouseEvent", "tab_macro_edit",
};

constexpr int kActionRowHeight = 30;

}  // namespace

void MacroPage::bindEditing() {
    using namespace event;
    bindings_.on(name("Macro_list"), kItemClick, [this](const Notification&) { showAction(); })
        .on(name("macro_btn_redio"), kClick, [this](const Notification&) { toggleRecording(); })
        .on(name("macro_btn_delete"), kClick, [this](const Notification&) {
            if (document_.removeSelected()) markUnsaved();
            syncSelection();
        })
        .on(name("macro_btn_deleteall"), kClick, [this](const Notification&) {
            if (!current_) return;
            document_.removeAll();
            markUnsaved();
            showDetail(0);
        })
        .on(name("macro_btn_save"), kClick, [this](const Notification&) { saveEdits(); })
        .on(name("macro_btn_cancel"), kClick, [this](const Notification&) { discardEdits(); })
        .on(name("macro_combo_keyselect"), kItemSelect, [this](const Notification&) { editKey(); })
        .on(name("macro_combo_upordown"), kItemSelect, [this](const Notification&) { editUpDown(); })
        .on(name("macro_combo_mouselect"), kItemSelect, [this](const Notification&) { editMouseEvent(); })
        .on(name("_macro_edit_ActionDelay"), kTextChanged,
            [this](const Notification&) { editDelay("_macro_edit_ActionDelay"); })
        .on(name("_macro_edit_mou_action_delay"), kTextChanged,
            [this](const Notification&) { editDelay("_macro_edit_mou_action_delay"); })
        .on(name("_macro_edit_ActionDelay"), kEditDone,
            [this](const Notification&) { showStoredDelay("_macro_edit_ActionDelay"); })
        .on(name("_macro_edit_mou_action_delay"), kEditDone,
            [this](const Notification&) { showStoredDelay("_macro_edit_mou_action_delay"); })
        .on(name("macro_edit_mou_pointer_skewing"), kTextChanged, [this](const Notification&) { editDistance(); })
        .on(name("macro_btn_shubiao"), kSelectChanged, [this](const Notification&) {
            const bool inserting = controls_.checked(name("macro_btn_shubiao"));
            controls_.setVisible(name("MacroMouseEvent"), inserting);
            controls_.setVisible(name("MacroName"), !inserting);
        });
    for (const auto& [button, where] : kMoveButtons)
        bindings_.on(name(button), kClick, [this, where = where](const Notification&) { moveSelected(where); });
    for (size_t i = 0; i < kInsertKinds.size(); ++i) {
        const InsertKind& k = kInsertKinds[i];
        bindings_.on(name(k.tab), kClick, [this, i](const Notification&) { showInsertTab(int(i)); })
            .on(name(k.press), kClick, [this, row = k.pressRow](const Notification&) { insertMouseAction(row, nullptr); })
            .on(name(k.release), kClick,
                [this, row = k.releaseRow](const Notification&) { insertMouseAction(row, nullptr); });
    }
    for (const InsertMove& m : kInsertMoves)
        bindings_.on(name(m.button), kClick, [this, m](const Notification&) { insertMouseAction(m.row, m.distance); });
}

void MacroPage::fillLists() {
    if (auto* view = controls_.find<QAbstractItemView>(name("Macro_list"))) {
        if (!model_) model_ = std::make_unique<MacroListModel>(document_, services_.translate);
        view->setModel(model_.get());
        view->setItemDelegate(new MacroActionDelegate(kActionRowHeight, view));
        view->setSelectionMode(QAbstractItemView::SingleSelection);
        view->setSelectionBehavior(QAbstractItemView::SelectRows);
        view->setEditTriggers(QAbstractItemView::NoEditTriggers);
        // A table places its rows by a header of equal sections, so a row added to a long
        // macro costs the same as one added to a short one; a list lays every row out again.
        if (auto* table = qobject_cast<QTableView*>(view)) {
            table->horizontalHeader()->hide();
            table->horizontalHeader()->setStretchLastSection(true);
            table->verticalHeader()->hide();
            table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
            table->verticalHeader()->setDefaultSectionSize(kActionRowHeight);
            table->setShowGrid(false);
            table->setWordWrap(false);
        } else if (auto* list = qobject_cast<QListView*>(view)) {
            list->setUniformItemSizes(true);
        }
    }
    retranslate();
}

void MacroPage::retranslate() {
    fillCombos();
    controls_.setText(name("macro_btn_redio"), tr(recording() ? "macro_btn_stop_redio_text" : "macro_btn_star_redio_text"));
    if (model_ && document_.size() > 0)
        Q_EMIT model_->dataChanged(model_->index(0), model_->index(document_.size() - 1));
}

/// The key, mouse-event and up/down lists in the current language.
void MacroPage::fillCombos() {
    Silently(controls_.find<QComboBox>(name("macro_combo_keyselect")), [&](QComboBox* c) {
        const int keep = c->currentIndex();
        c->clear();
        for (const auto& key : macros::MacroKeys()) c->addItem(tr(key.name));
        c->setCurrentIndex(keep);
    });
    Silently(controls_.find<QComboBox>(name("macro_combo_mouselect")), [&](QComboBox* c) {
        const int keep = c->currentIndex();
        c->clear();
        for (const auto& row : macros::kMouseEventTable) {
            const bool press = (row.kind & macros::kind::kDirectionBit) != 0;
            c->addItem((row.kind & 0x7F) == macros::kind::kMouseButton
                           ? tr(row.label) + QString::fromUtf8(press ? " ▼" : " ▲")
                           : tr(row.label));
        }
        c->setCurrentIndex(keep);
    });
    Silently(controls_.find<QComboBox>(name("macro_combo_upordown")), [&](QComboBox* c) {
        const int keep = c->currentIndex();
        c->clear();
        c->addItem(tr("macro_state_up_text"));
        c->addItem(tr("macro_state_down_text"));
        c->setCurrentIndex(keep);
    });
}

void MacroPage::markUnsaved() {
    document_.markUnsaved();
    controls_.setEnabled(name("MacroName_list"), false);
    controls_.setEnabled(name("macro_btn_name_sub"), false);
    if (current_) controls_.setVisible(name("macro_tab_saveorcancel"), true);
}

/// Back from editing: the bar hidden, the detail panel empty, the name list free.
void MacroPage::endEditing() {
    document_.markSaved();
    controls_.setVisible(name("macro_tab_saveorcancel"), false);
    showDetail(0);
    controls_.setEnabled(name("MacroName_list"), true);
    controls_.setEnabled(name("macro_btn_name_sub"), current_.has_value());
}

void MacroPage::saveEdits() {
    if (recording()) stopRecording();
    if (!current_) return endEditing();
    const auto names = runtime_.macroStore.ListMacros(row_.set);
    if (*current_ >= int(names.size())) return;
    session().saveMacro(names[size_t(*current_)], document_.lines(),
                        [this](runtime::JobStatus status, const macros::StoreResult& saved) {
                            if (status != runtime::JobStatus::Done) return;
                            if (!saved.ok()) return message(saved.message);  // the edits stay, unsaved
                            endEditing();
                        });
}

void MacroPage::discardEdits() {
    if (recording()) stopRecording();
    endEditing();
    document_.load({});
    if (current_) openMacro(*current_);
}

namespace {

/// Notes whether a control was last pressed with the mouse or a key.
class PressKindWatch : public QObject {
public:
    PressKindWatch(QObject* parent, std::optional<functions::CapturedInput::Kind>& kind) : QObject(parent), kind_(kind) {}
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::MouseButtonPress) kind_ = functions::CapturedInput::Kind::MouseButton;
        else if (e->type() == QEvent::KeyPress) kind_ = functions::CapturedInput::Kind::Key;
        return false;
    }

private:
    std::optional<functions::CapturedInput::Kind>& kind_;
};

}  // namespace

void MacroPage::toggleRecording() {
    if (!current_) return;
    if (recording()) stopRecording(std::exchange(stopPressKind_, std::nullopt));
    else startRecording();
}

void MacroPage::startRecording() {
    macros::RecordOptions o;
    o.keyboard = controls_.checked(name(kRecordOptions[0]));
    o.mouseClick = controls_.checked(name(kRecordOptions[1]));
    o.mouseWheel = controls_.checked(name(kRecordOptions[2]));
    o.mouseMove = controls_.checked(name(kRecordOptions[3]));
    o.fixedDelay = controls_.checked(name(kRecordOptions[4]));
    markUnsaved();
    showDetail(0);
    recorder_.emplace(o, macros::LinuxKeyResolver(), services_.clock());
    stopPressKind_.reset();
    if (auto* stop = controls_.find(name("macro_btn_redio")); stop && !stopPressWatch_) {
        // The press that works the stop control is recorded before the control acts on it.
        stopPressWatch_ = new PressKindWatch(&lifetime_, stopPressKind_);
        stop->installEventFilter(stopPressWatch_);
    }
    for (const char* option : kRecordOptions) controls_.setEnabled(name(option), false);
    for (const char* control : kActionButtons) controls_.setEnabled(name(control), false);
    controls_.setEnabled(name("Macro_list"), false);
    controls_.setText(name("macro_btn_redio"), tr("macro_btn_stop_redio_text"));
    if (auto* b = controls_.find(name("macro_btn_redio"))) b->setProperty("textId", QStringLiteral("macro_btn_stop_redio_text"));
    if (services_.startCapture) services_.startCapture(row_.captureMode, o.wantKeyboard(), o.wantMouse());
}

void MacroPage::stopRecording(std::optional<functions::CapturedInput::Kind> endedBy) {
    if (!recorder_) return;
    if (services_.stopCapture) services_.stopCapture();
    if (releaseWait_) releaseWait_->stop();
    recorder_->finish(document_, endedBy);
    recorder_.reset();
    for (const char* option : kRecordOptions) controls_.setEnabled(name(option), true);
    for (const char* control : kActionButtons) controls_.setEnabled(name(control), true);
    controls_.setEnabled(name("Macro_list"), true);
    controls_.setEnabled(name("MacroName_list"), !document_.unsaved());
    controls_.setEnabled(name("macro_btn_name_sub"), !document_.unsaved());
    controls_.setText(name("macro_btn_redio"), tr("macro_btn_star_redio_text"));
    if (auto* b = controls_.find(name("macro_btn_redio"))) b->setProperty("textId", QStringLiteral("macro_btn_star_redio_text"));
}

void MacroPage::record(const runtime::CapturedInput& input) {
    if (!recorder_) return;
    const bool added = recorder_->feed(input, document_);
    if (recorder_->holdsRelease()) {
        if (!releaseWait_) {
            releaseWait_ = new QTimer(&lifetime_);
            releaseWait_->setSingleShot(true);
            QObject::connect(releaseWait_, &QTimer::timeout, &lifetime_, [this] {
                if (recorder_ && recorder_->flushRelease(document_)) scrollToNewest();
            });
        }
        releaseWait_->start(macros::MacroRecorder::kRepeatWaitMs);
    }
    if (added) scrollToNewest();
}

void MacroPage::scrollToNewest() {
    if (scrollPending_) return;
    // The list shows the newest row; one scroll for a burst of events, once they are in.
    scrollPending_ = true;
    QTimer::singleShot(0, &lifetime_, [this] {
        scrollPending_ = false;
        if (auto* view = controls_.find<QAbstractItemView>(name("Macro_list"))) view->scrollToBottom();
    });
}

void MacroPage::captureEnded() { stopRecording(); }

void MacroPage::showDetail(int item) {
    if (auto* stack = controls_.find<QStackedWidget>(name("tab_macro_edit")))
        stack->setCurrentIndex(std::clamp(item, 0, stack->count() - 1));
}

/// The view's selection follows the document's.
void MacroPage::syncSelection() {
    auto* view = controls_.find<QAbstractItemView>(name("Macro_list"));
    if (!view || !model_ || !view->selectionModel()) return;
    const auto row = document_.selected();
    if (!row) {
        view->selectionModel()->clearSelection();
        view->selectionModel()->setCurrentIndex({}, QItemSelectionModel::NoUpdate);
        return;
    }
    const QModelIndex index = model_->index(*row);
    view->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    view->scrollTo(index);
}

void MacroPage::showAction() {
    auto* view = controls_.find<QAbstractItemView>(name("Macro_list"));
    if (!view || !current_ || recording()) return;
    const int row = view->currentIndex().isValid() ? view->currentIndex().row() : -1;
    if (row < 0 || row >= document_.size()) return;
    // Showing a row changes nothing: the save bar waits for an edit.
    document_.select(row);
    fillCombos();  // the language may have changed since
    const auto detail = macros::DetailOf(document_.row(row).action);
    const QString delay = QString::number(detail.delayUnits * macros::kDelayUnitMs);
    if (detail.panel == macros::ActionDetail::Panel::Key) {
        showDetail(1);
        if (detail.keyIndex) controls_.setComboIndex(name("macro_combo_keyselect"), int(*detail.keyIndex));
        controls_.setComboIndex(name("macro_combo_upordown"), detail.pressed ? 1 : 0);
        controls_.setText(name("_macro_edit_ActionDelay"), delay);
    } else {
        showDetail(2);
        if (detail.mouseRow) controls_.setComboIndex(name("macro_combo_mouselect"), int(*detail.mouseRow));
        const bool move = detail.distance.has_value();
        controls_.setVisible(name("macro_tab_mou_pointer_skewing"), move);
        if (move) controls_.setText(name("macro_edit_mou_pointer_skewing"), QString::number(*detail.distance));
        controls_.setText(name("_macro_edit_mou_action_delay"), delay);
    }
}

void MacroPage::insertMouseAction(size_t tableRow, const char* distanceEdit) {
    if (!current_ || recording()) return;
    int distance = 0;
    if (distanceEdit) {
        const auto number = macros::ClampEditNumber(controls_.text(name(distanceEdit)).toStdString(), macros::kMaxDistance);
        if (number.replacement) controls_.setText(name(distanceEdit), QString::fromStdString(*number.replacement));
        distance = number.value;
    }
    if (!document_.insertMouseAction(tableRow, uint8_t(distance)))
        return message(macros::kMacroTooLongMessage, MacroDocument::kMaxRows);
    markUnsaved();
    syncSelection();
}

void MacroPage::showInsertTab(int which) {
    for (size_t i = 0; i < kInsertKinds.size(); ++i) {
        controls_.setVisible(name(kInsertKinds[i].panel), int(i) == which);
        controls_.setChecked(name(kInsertKinds[i].tab), int(i) == which);
    }
}

void MacroPage::moveSelected(MoveTo where) {
    if (document_.moveSelected(where)) markUnsaved();
    syncSelection();
}

void MacroPage::editKey() {
    const auto row = document_.selected();
    const int key = controls_.comboIndex(name("macro_combo_keyselect"));
    if (!row || key < 0) return;
    if (document_.setKey(*row, size_t(key))) markUnsaved();
}

void MacroPage::editUpDown() {
    const auto row = document_.selected();
    const int item = controls_.comboIndex(name("macro_combo_upordown"));
    if (!row || item < 0) return;
    if (document_.setPressed(*row, item == 1)) markUnsaved();
}

void MacroPage::editMouseEvent() {
    const auto row = document_.selected();
    const int item = controls_.comboIndex(name("macro_combo_mouselect"));
    if (!row || item < 0) return;
    if (document_.setMouseEvent(*row, size_t(item))) markUnsaved();
    const bool move = size_t(item) >= macros::kFirstMoveRow;
    controls_.setVisible(name("macro_tab_mou_pointer_skewing"), move);
    if (move) controls_.setText(name("macro_edit_mou_pointer_skewing"), QString::number(document_.row(*row).action.code));
}

void MacroPage::editDelay(const char* edit) {
    // Typed in ms, kept in 10 ms units; the edit keeps what is typed until the typing ends.
    const auto number = macros::ClampEditNumber(controls_.text(name(edit)).toStdString(), macros::kMaxDelayMs);
    if (number.replacement) controls_.setText(name(edit), QString::fromStdString(*number.replacement));
    if (const auto row = document_.selected())
        if (document_.setDelayUnits(*row, macros::DelayUnitsOf(number.value))) markUnsaved();
}

void MacroPage::showStoredDelay(const char* edit) {
    const auto row = document_.selected();
    if (!row) return;
    controls_.setText(name(edit), QString::number(document_.row(*row).action.delayUnits() * macros::kDelayUnitMs));
}

void MacroPage::editDistance() {
    const char* edit = "macro_edit_mou_pointer_skewing";
    const auto number = macros::ClampEditNumber(controls_.text(name(edit)).toStdString(), macros::kMaxDistance);
    if (number.replacement) controls_.setText(name(edit), QString::fromStdString(*number.replacement));
    if (const auto row = document_.selected())
        if (document_.setDistance(*row, number.value)) markUnsaved();
}

}  // namespace orvane::ui::pages
