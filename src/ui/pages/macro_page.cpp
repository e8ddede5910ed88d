// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/pages/macro_page.h"

#include "ui/pages/page_messages.h"

#include <QAbstractButton>
#include <QListWidget>

#include <chrono>

#include "macros/macro_index_check.h"
#include "macros/macro_messages.h"
#include "ui/input_capture.h"
#include "ui/macro_list_model.h"
#include "ui/notify_bridge.h"

namespace orvane::ui::pages {

using macros::MacroSet;

const std::array<MacroPageRow, 2> kMacroPages{{
    {"kb", MacroSet::Keyboard, device::DeviceKind::Keyboard, runtime::CaptureTarget::KeyboardMacro,
     capture_mode::kKeyboardMacro},
    {"ms", MacroSet::Mouse, device::DeviceKind::Mouse, runtime::CaptureTarget::MouseMacro, capture_mode::kMouseMacro},
}};

const MacroPageRow& MacroPageOf(MacroSet set) { return kMacroPages[set == MacroSet::Keyboard ? 0 : 1]; }

namespace {

/// The controls that need a macro: every macro button and the five record options.
constexpr std::array kNeedAMacro{
    "macro_btn_name_sub", "macro_btn_savemacroname", "macro_btn_redio", "macro_btn_up", "macro_btn_down",
    "macro_btn_uptop", "macro_btn_downbottom", "macro_btn_delete", "macro_btn_deleteall", "macro_btn_save",
    "macro_btn_cancel", "macro_btn_shubiao", "MacroMouseEvent", "macro_keyboard_event", "macro_mouse_click",
    "macro_mouse_roller", "macro_mouse_move", "macro_check_time",
};

constexpr char kIndexUnreadableMessage[] = "message_macro_index_unreadable";
constexpr int kFirstRowHeight = 30;  // rows there at the start
constexpr int kAddedRowHeight = 25;  // rows added later

}  // namespace

MacroPage::MacroPage(ControlLookup lookup, runtime::Runtime& runtime, const MacroPageRow& row,
                     MacroPageServices services)
    : controls_(std::move(lookup)), runtime_(runtime), row_(row), services_(std::move(services)) {
    using namespace event;
    if (!services_.clock)
        services_.clock = [] {
            using namespace std::chrono;
            return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
        };
    bindings_.on(name("MacroName_list"), kItemSelect, [this](const Notification&) { openSelected(); })
        .on(name("macro_btn_name_add"), kClick, [this](const Notification&) { newMacro(); })
        .on(name("macro_btn_name_sub"), kClick, [this](const Notification&) { removeMacro(); })
        .on(name("macro_btn_savemacroname"), kClick, [this](const Notification&) { renameFromEdit(); });
    bindEditing();
}

MacroPage::~MacroPage() {
    if (recorder_ && services_.stopCapture) services_.stopCapture();
}

QString MacroPage::name(const char* suffix) const {
    return QLatin1String(row_.prefix) + QLatin1Char('_') + QLatin1String(suffix);
}

QString MacroPage::tr(std::string_view id) const { return TextOfId(services_.translate, id); }

void MacroPage::message(std::string_view id, std::optional<int> number) const {
    ShowIdMessage(services_.dialogs, services_.owner, services_.translate, id, number);
}

bool MacroPage::ask(std::string_view id) const {
    return services_.dialogs && services_.dialogs->showMessage(services_.owner, Utf8(id), true) == 1;
}

void MacroPage::prepare() {
    fillLists();
    const auto names = runtime_.macroStore.ListMacros(row_.set);
    fillNames(names.empty() ? std::nullopt : std::optional<int>(int(names.size()) - 1));
}

// An index that cannot be read lists nothing: say which file, once, rather than let the
// empty list pass for "no macros yet".
void MacroPage::tellIndexProblem() {
    auto problem = macros::IndexProblem(runtime_.macroStore, row_.set);
    if (problem == toldIndexProblem_) return;
    toldIndexProblem_ = problem;
    if (!problem || !services_.dialogs) return;
    const QString text = TextOfId(services_.translate, kIndexUnreadableMessage) + QStringLiteral("\n\n") +
                         QString::fromStdString(*problem);
    services_.dialogs->showMessage(services_.owner, text, false);
}

void MacroPage::fillNames(std::optional<int> select) {
    auto* list = controls_.find<QListWidget>(name("MacroName_list"));
    const auto names = runtime_.macroStore.ListMacros(row_.set);
    if (list) {
        Silently(list, [&](QListWidget* l) {
            l->clear();
            for (const auto& n : names) {
                auto* item = new QListWidgetItem(QString::fromStdString(n), l);
                item->setData(Qt::UserRole, QString::fromStdString(n));
                item->setSizeHint(QSize(0, kFirstRowHeight));
            }
        });
    }
    setMacroControlsEnabled(!names.empty());
    tellIndexProblem();
    if (select && *select >= 0 && *select < int(names.size())) {
        selectName(select);
        openMacro(*select);
    } else {
        selectName(std::nullopt);
        current_.reset();
        document_.load({});
        controls_.setText(name("macro_edit_macroname"), {});
    }
}

void MacroPage::selectName(std::optional<int> row) {
    Silently(controls_.find<QListWidget>(name("MacroName_list")), [&](QListWidget* l) {
        l->setCurrentRow(row.value_or(-1));
    });
}

void MacroPage::setMacroControlsEnabled(bool enabled) {
    for (const char* control : kNeedAMacro) controls_.setEnabled(name(control), enabled);
    for (const char* insert : {"macro_inset_leftkey_btn", "macro_inset_rightkey_btn", "macro_inset_moudlekey_btn",
                               "macro_inset_forwardkey_btn", "macro_inset_backkey_btn"})
        controls_.setEnabled(name(insert), enabled);
}

void MacroPage::openSelected() {
    auto* list = controls_.find<QListWidget>(name("MacroName_list"));
    if (!list) return;
    const int row = list->currentRow();
    if (row < 0 || (current_ && row == *current_)) return;
    if (unsaved()) {
        selectName(current_);  // the list stays on the macro being edited
        message(macros::kUnsavedEditsMessage);
        return;
    }
    openMacro(row);
}

void MacroPage::openMacro(int index) {
    const auto names = runtime_.macroStore.ListMacros(row_.set);
    if (index < 0 || index >= int(names.size())) return;
    current_ = index;
    controls_.setText(name("macro_edit_macroname"), QString::fromStdString(names[size_t(index)]));
    document_.load(runtime_.macroStore.LoadMacro(row_.set, names[size_t(index)]));
    showDetail(0);
    syncSelection();
}

void MacroPage::newMacro() {
    if (unsaved()) return message(macros::kUnsavedEditsMessage);
    if (runtime_.macroStore.ListMacros(row_.set).size() >= size_t(macros::kMaxMacros))
        return message(macros::kTooManyMacrosMessage, macros::kMaxMacros);
    session().addMacro([this](runtime::JobStatus status, const macros::StoreResult& added) {
        if (status != runtime::JobStatus::Done) return;
        if (!added.ok()) {
            if (added.status == macros::StoreStatus::Full)
                return message(macros::kTooManyMacrosMessage, macros::kMaxMacros);
            return message(added.message);
        }
        if (auto* list = controls_.find<QListWidget>(name("MacroName_list"))) {
            Silently(list, [&](QListWidget* l) {
                auto* item = new QListWidgetItem(QString::fromStdString(added.name), l);
                item->setData(Qt::UserRole, QString::fromStdString(added.name));
                item->setSizeHint(QSize(0, kAddedRowHeight));
            });
        }
        setMacroControlsEnabled(true);
        selectName(added.index);
        openMacro(added.index);
    });
}

void MacroPage::removeMacro() {
    if (!current_) return;
    if (unsaved()) return message(macros::kUnsavedEditsMessage);
    const int index = *current_;
    if (session().macroInUse(uint8_t(index)) && !ask(macros::kMacroInUseMessage)) return;
    if (!ask(macros::kConfirmDeleteMacroMessage)) return;
    // The session renumbers the assignments only once the macro is really gone, so that a
    // refusal or a failed write leaves every key pointing at the macro it had.
    session().deleteMacro(index, [this](runtime::JobStatus status, const macros::StoreResult& removed) {
        if (status != runtime::JobStatus::Done) return;
        if (!removed.ok()) return message(removed.message);
        const int left = int(runtime_.macroStore.ListMacros(row_.set).size());
        fillNames(left > 0 ? std::optional<int>(0) : std::nullopt);
    });
}

void MacroPage::renameFromEdit() {
    if (!current_ || renaming_) return;
    const auto names = runtime_.macroStore.ListMacros(row_.set);
    const int index = *current_;
    const QString wanted = controls_.text(name("macro_edit_macroname"));
    const QString old = index < int(names.size()) ? QString::fromStdString(names[size_t(index)]) : QString();
    if (wanted.compare(old, Qt::CaseInsensitive) == 0) return;
    for (int i = 0; i < int(names.size()); ++i) {
        if (i != index && wanted.compare(QString::fromStdString(names[size_t(i)]), Qt::CaseInsensitive) == 0) {
            message(macros::kDuplicateMacroNameMessage);
            controls_.setText(name("macro_edit_macroname"), old);
            return;
        }
    }
    renaming_ = true;  // until the store answers: the edit's second "finished" is no new rename
    session().renameMacro(index, wanted.toStdString(), document_.lines(),
                          [this, index, wanted, old](runtime::JobStatus status, const macros::StoreResult& renamed) {
                              renaming_ = false;
                              if (status != runtime::JobStatus::Done) return;
                              if (!renamed.ok()) {
                                  message(renamed.message);
                                  controls_.setText(name("macro_edit_macroname"), old);
                                  return;
                              }
                              // The file under the new name holds the list as it stands:
                              // nothing is unsaved now.
                              if (auto* list = controls_.find<QListWidget>(name("MacroName_list"));
                                  list && list->item(index)) {
                                  list->item(index)->setText(wanted);
                                  list->item(index)->setData(Qt::UserRole, wanted);
                              }
                              if (!recording()) endEditing();
                          });
}

runtime::KeyDeviceSession& MacroPage::session() { return runtime_.keySession(row_.kind); }


}  // namespace orvane::ui::pages
