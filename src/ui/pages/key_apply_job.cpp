#include "ui/pages/key_apply_job.h"

#include "keyboard/keyboard_apply.h"
#include "macros/macro_transfer.h"
#include "mouse/button_apply.h"

namespace orvane::ui::pages {

using device::DeviceKind;

namespace {

functions::MacroUploadResult UploadOf(const macros::UploadResult& u) {
    functions::MacroUploadResult r;
    if (u.ok()) return r;
    r.result = u.outcome == macros::UploadResult::Outcome::DeviceFailed ? u.deviceResult : protocol::kNoReply;
    if (r.result == protocol::kOk) r.result = protocol::kNoReply;  // a failure never reads as success
    r.message = u.message;
    r.messageNumber = u.excess;
    return r;
}

}  // namespace

KeyApplyOutcome RunKeyPageApply(runtime::Runtime& rt, DeviceKind kind) {
    const bool keyboard = kind == DeviceKind::Keyboard;
    const auto set = keyboard ? macros::MacroSet::Keyboard : macros::MacroSet::Mouse;
    const size_t capacity = keyboard ? rt.keyboard.read([](const auto& d) { return d.info.macroCapacity(); })
                                     : rt.mouse.read([](const auto& d) { return d.info.macroCapacity(); });
    const functions::MacroUpload upload = [&rt, set, capacity](protocol::DeviceConnection& c) {
        return UploadOf(macros::UploadMacros(c, rt.macros, set, capacity));
    };
    KeyApplyOutcome outcome;
    auto& c = rt.connection(kind);
    outcome.applied = keyboard ? keyboard::ApplyKeyboard(c, rt.keyboard, upload) : mouse::ApplyMouseKeys(c, rt.mouse, upload);
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
