// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/pages/cursor_page.h"

#include "ui/pages/page_messages.h"

#include <QAbstractButton>
#include <QFileInfo>

#include <utility>

#include "macros/cursor_store.h"
#include "macros/macro_messages.h"
#include "macros/macro_transfer.h"
#include "ui/notify_bridge.h"

namespace orvane::ui::pages {

namespace {

const QString kSequencePrefix = QStringLiteral("ms_gun_op_");
const QString kStepPrefix = QStringLiteral("ms_bullet_op_");
const QString kEditor = QStringLiteral("cursor_edit_layout");
const QString kStepIndex = QStringLiteral("bullet_select_index");
constexpr const char* kDelayEdit = "ms_cursor_delay_eidt";
constexpr const char* kXEdit = "ms_cursor_x_eidt";
constexpr const char* kYEdit = "ms_cursor_y_eidt";
const QString kXCheck = QStringLiteral("ms_cursor_x_check");
const QString kYCheck = QStringLiteral("ms_cursor_y_check");
/// The confirmation before an export replaces a file.
constexpr std::string_view kReplaceFileMessage = "message_cursor_export_replace";

FileChoice SequenceFile(bool save) {
    return {.save = save,
            .defaultExtension = QStringLiteral("cur"),
            .initialName = QStringLiteral("*.cur"),
            .filter = QStringLiteral("(*.cur)|*.cur||"),
            .confirmOverwrite = false};
}

QString StepName(int step) { return kStepPrefix + QString::number(step); }

}  // namespace

CursorPage::CursorPage(ControlLookup lookup, runtime::Runtime& runtime, CursorPageServices services)
    : controls_(std::move(lookup)), runtime_(runtime), services_(std::move(services)) {
    using namespace event;
    auto call = [](auto handler) { return [handler](const Notification&) { handler(); }; };
    bindings_
        .onFamily("ms_gun_op_", kCursorSequences, kSelectChanged,
                  [this](const Notification&, int k) {
                      if (controls_.checked(kSequencePrefix + QString::number(k))) showSequence(k);
                  })
        .onFamily("ms_bullet_op_", kCursorSteps, kSelectChanged,
                  [this](const Notification&, int step) { stepToggled(step); })
        .on("bullet_selected_prev", kClick, call([this] {
                if (const auto to = macros::PreviousStep(step_.value_or(0)); to && step_) selectStep(*to);
            }))
        .on("bullet_selected_next", kClick, call([this] {
                if (const auto to = macros::NextStep(step_.value_or(0)); to && step_) selectStep(*to);
            }))
        .on(kDelayEdit, kTextChanged, call([this] { clampEdit(kDelayEdit, macros::kMaxStepDelay); }))
        .on(kXEdit, kTextChanged, call([this] { clampEdit(kXEdit, macros::kMaxDistance); }))
        .on(kYEdit, kTextChanged, call([this] { clampEdit(kYEdit, macros::kMaxDistance); }))
        .on(kXCheck, kSelectChanged, call([this] { directionChanged(); }))
        .on(kYCheck, kSelectChanged, call([this] { directionChanged(); }))
        .on("ms_bulletdate_save_btn", kClick, call([this] { upload(); }))
        .on("ms_bulletdate_reset_btn", kClick, call([this] { reset(); }))
        .on("ms_bulletdate_import_btn", kClick, call([this] { importSequence(); }))
        .on("ms_bulletdate_export_btn", kClick, call([this] { exportSequence(); }));
}

QString CursorPage::tr(std::string_view id) const { return TextOfId(services_.translate, id); }

void CursorPage::message(std::string_view id, std::optional<int> number) const {
    ShowIdMessage(services_.dialogs, services_.owner, services_.translate, id, number);
}

void CursorPage::prepare() {
    runtime_.mouseSession().setUpCursors([this](runtime::JobStatus, const macros::CursorResult&) { showSequence(0); });
}

void CursorPage::showSequence(int k) {
    if (k < 0 || k >= kCursorSequences) return;
    sequence_ = k;
    for (int i = 0; i < kCursorSequences; ++i) controls_.setChecked(kSequencePrefix + QString::number(i), i == k);
    selectStep(0);
}

void CursorPage::selectStep(int step) {
    if (step < 0 || step >= kCursorSteps) return;
    step_ = step;
    for (int i = 0; i < kCursorSteps; ++i) controls_.setChecked(StepName(i), i == step);
    controls_.setEnabled(kEditor, true);
    controls_.setText(kStepIndex, QString::number(step + 1));
    showStep();
}

/// A step option was clicked: a newly chosen step is shown; the chosen one clicked again is
/// let go, and the editor waits for another.
void CursorPage::stepToggled(int step) {
    if (controls_.checked(StepName(step))) return selectStep(step);
    if (step_ != step) return;
    step_.reset();
    controls_.setEnabled(kEditor, false);
}

void CursorPage::showStep() {
    if (!step_) return;
    const auto view = macros::ShowCursorStep(runtime_.macroStore, sequence_, *step_);
    controls_.setText(kDelayEdit, QString::number(view.delay));
    if (view.horizontal) {
        controls_.setText(kXEdit, QString::number(view.horizontal->distance));
        controls_.setChecked(kXCheck, view.horizontal->checked);
    }
    if (view.vertical) {
        controls_.setText(kYEdit, QString::number(view.vertical->distance));
        controls_.setChecked(kYCheck, view.vertical->checked);
    }
    controls_.setText(kXCheck, tr(macros::HorizontalCheckText(controls_.checked(kXCheck))));
    controls_.setText(kYCheck, tr(macros::VerticalCheckText(controls_.checked(kYCheck))));
    for (const auto& [check, id] : {std::pair{kXCheck, macros::HorizontalCheckText(controls_.checked(kXCheck))},
                                    std::pair{kYCheck, macros::VerticalCheckText(controls_.checked(kYCheck))}})
        if (auto* w = controls_.find(check)) w->setProperty("textId", Utf8(id));
}

void CursorPage::clampEdit(const char* edit, int max) {
    const auto number = macros::ClampEditNumber(controls_.text(QLatin1String(edit)).toStdString(), max);
    if (number.replacement) controls_.setText(QLatin1String(edit), QString::fromStdString(*number.replacement));
    storeStep();
}

void CursorPage::directionChanged() {
    const bool left = controls_.checked(kXCheck), up = controls_.checked(kYCheck);
    controls_.setText(kXCheck, tr(macros::HorizontalCheckText(left)));
    controls_.setText(kYCheck, tr(macros::VerticalCheckText(up)));
    if (auto* w = controls_.find(kXCheck)) w->setProperty("textId", Utf8(macros::HorizontalCheckText(left)));
    if (auto* w = controls_.find(kYCheck)) w->setProperty("textId", Utf8(macros::VerticalCheckText(up)));
    storeStep();
}

void CursorPage::storeStep() {
    if (!step_) return;
    auto value = [this](const char* edit, int max) {
        return macros::ClampEditNumber(controls_.text(QLatin1String(edit)).toStdString(), max).value;
    };
    macros::StepEdit edit;
    edit.delay = value(kDelayEdit, macros::kMaxStepDelay);
    edit.horizontal = {uint8_t(value(kXEdit, macros::kMaxDistance)), controls_.checked(kXCheck)};
    edit.vertical = {uint8_t(value(kYEdit, macros::kMaxDistance)), controls_.checked(kYCheck)};
    // Jobs keep the order of the edits (and of an upload that follows them). Typing sends one
    // edit per key: while the folder stays unwritable, its reason is told once.
    runtime_.mouseSession().storeCursorStep(sequence_, *step_, edit,
            [this](runtime::JobStatus status, const macros::CursorResult& r) {
                if (status != runtime::JobStatus::Done) return;
                if (r.ok()) toldStoreFailure_ = false;
                else if (!std::exchange(toldStoreFailure_, true)) message(r.message);
            });
}

void CursorPage::upload() {
    runtime_.mouseSession().uploadCursors(
            [this](runtime::JobStatus status, const macros::UploadResult& r) {
                if (status != runtime::JobStatus::Done) return;
                if (r.ok()) return runtime_.events.notice.emit("notice_cursors_uploaded");
                // Too large says by how many bytes; the other failures have their own text.
                if (r.outcome == macros::UploadResult::Outcome::TooLarge) message(r.message, r.excess);
                else message(r.message);
            });
}

void CursorPage::readFromMouse() {
    runtime_.mouseSession().readCursors(
            [this](runtime::JobStatus status, const macros::CursorReadResult& r) {
                if (status == runtime::JobStatus::Done && r.stored.accepted) showSequence(0);
            });
}

void CursorPage::reset() {
    runtime_.mouseSession().resetCursorSequence(sequence_, [this](runtime::JobStatus status, const macros::CursorResult& r) {
        if (status == runtime::JobStatus::Done && !r.ok()) message(r.message);
        selectStep(0);
    });
}

void CursorPage::importSequence() {
    if (!services_.dialogs) return;
    const QString file = services_.dialogs->chooseFile(services_.owner, SequenceFile(false));
    if (file.isEmpty()) return;
    runtime_.mouseSession().importCursorSequence(sequence_, std::filesystem::path(file.toStdString()),
            [this](runtime::JobStatus status, const macros::CursorResult& r) {
                if (status != runtime::JobStatus::Done) return;
                if (!r.ok()) return message(r.message);
                if (step_) showStep();
            });
}

void CursorPage::exportSequence() {
    if (!services_.dialogs) return;
    const QString file = services_.dialogs->chooseFile(services_.owner, SequenceFile(true));
    if (file.isEmpty()) return;
    const std::filesystem::path target(file.toStdString());
    bool replace = false;
    if (QFileInfo::exists(file)) {
        if (services_.dialogs->showMessage(services_.owner, Utf8(kReplaceFileMessage), true) != 1) return;
        replace = true;
    }
    runtime_.mouseSession().exportCursorSequence(sequence_, target, replace,
            [this](runtime::JobStatus status, const macros::CursorResult& r) {
                if (status == runtime::JobStatus::Done && !r.ok()) message(r.message);
            });
}

}  // namespace orvane::ui::pages
