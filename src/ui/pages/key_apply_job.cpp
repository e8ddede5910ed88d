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

void SubmitKeyPageApply(runtime::Runtime& rt, DeviceKind kind, Translate translate, ShowText show,
                        std::function<void(bool)> done) {
    rt.keySession(kind).applyKeys(
        [translate = std::move(translate), show = std::move(show), done = std::move(done)](
            runtime::JobStatus status, const runtime::KeyApplyOutcome& outcome) {
            const QString failure = KeyApplyFailureText(outcome, status, translate);
            if (!failure.isEmpty() && show) show(failure);
            if (done) done(failure.isEmpty());
        });
}

}  // namespace orvane::ui::pages
