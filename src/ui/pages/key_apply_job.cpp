// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/pages/key_apply_job.h"

#include "macros/macro_key_apply.h"

namespace orvane::ui::pages {

using device::DeviceKind;

KeyApplyOutcome RunKeyPageApply(runtime::Runtime& rt, DeviceKind kind) {
    KeyApplyOutcome outcome;
    outcome.applied = macros::ApplyKeysWithMacros(rt.connection(kind), kind, rt.keyboard, rt.mouse, rt.macroStore);
    // A failure to save is told by the runtime itself (the message event).
    if (outcome.applied.ok()) outcome.saved = rt.saveSelected(kind, false);
    return outcome;
}

QString KeyApplyFailureText(const KeyApplyOutcome& outcome, runtime::JobStatus status, const Translate& translate) {
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
    const char* name = kind == DeviceKind::Keyboard ? "keyboard key apply" : "mouse key apply";
    rt.jobs(kind).submit<KeyApplyOutcome>(
        {.name = name, .progress = true}, [&rt, kind] { return RunKeyPageApply(rt, kind); },
        [translate = std::move(translate), show = std::move(show), done = std::move(done)](
            runtime::JobStatus status, const KeyApplyOutcome& outcome) {
            const QString failure = KeyApplyFailureText(outcome, status, translate);
            if (!failure.isEmpty() && show) show(failure);
            if (done) done(failure.isEmpty());
        });
}

}  // namespace orvane::ui::pages
