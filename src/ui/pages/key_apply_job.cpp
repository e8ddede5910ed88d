// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/pages/key_apply_job.h"

namespace orvane::ui::pages {

using device::DeviceKind;

QString KeyApplyFailureText(const runtime::KeyApplyOutcome& outcome, runtime::JobStatus status, const Translate& translate) {
    if (status == runtime::JobStatus::Done && outcome.applied.ok()) return {};
    const auto& macros = outcome.applied.macros;
    if (status == runtime::JobStatus::Done && !macros.message.empty()) {
        QString text = translate(QString::fromUtf8(macros.message.data(), qsizetype(macros.message.size())));
        return text.replace(QStringLiteral("%d"), QString::number(macros.messageNumber));
    }
    return translate(QLatin1String(kKeyApplyFailedTextId));
}

void SubmitKeyPageApply(runtime::Runtime& rt, DeviceKind kind, KeyEditorView& view, const char* appliedNotice) {
    rt.keySession(kind).applyKeys(
        [&rt, &view, appliedNotice](runtime::JobStatus status, const runtime::KeyApplyOutcome& outcome) {
            const QString failure = KeyApplyFailureText(outcome, status, view.env().translate);
            if (!failure.isEmpty()) {
                if (view.env().show) view.env().show(failure);
                return;
            }
            view.setApplyPending(false);
            rt.events.notice.emit(appliedNotice);
        });
}

}  // namespace orvane::ui::pages
