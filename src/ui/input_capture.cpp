// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/input_capture.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>

#include <chrono>

#include "functions/capture_keys.h"
#include "functions/linux_keys.h"

namespace orvane::ui {

namespace {

int64_t MonotonicMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

CapturedInput::Button ButtonOf(Qt::MouseButton button) {
    switch (button) {
    case Qt::LeftButton: return CapturedInput::Button::Left;
    case Qt::RightButton: return CapturedInput::Button::Right;
    case Qt::MiddleButton: return CapturedInput::Button::Middle;
    case Qt::BackButton: return CapturedInput::Button::Back;
    case Qt::ForwardButton: return CapturedInput::Button::Forward;
    default: return CapturedInput::Button::None;
    }
}

}  // namespace

int KeyMessageOf(int mode) {
    switch (mode) {
    case capture_mode::kKeyboardKey: return 2049;
    case capture_mode::kKeyboardMacro: return 2051;
    case capture_mode::kMouseKey: return 2064;
    case capture_mode::kMouseMacro: return 2066;
    default: return 0;
    }
}

int MouseMessageOf(int mode) {
    switch (mode) {
    case capture_mode::kKeyboardMacro: return 2052;
    case capture_mode::kMouseMacro: return 2067;
    default: return 0;
    }
}

uint16_t LinuxKeyOfScanCode(uint32_t nativeScanCode) {
    if (nativeScanCode <= functions::kXkbKeycodeOffset || nativeScanCode > 0xFFFF) return 0;
    return static_cast<uint16_t>(nativeScanCode - functions::kXkbKeycodeOffset);
}

InputCapture::InputCapture(Sink sink, QObject* parent) : QObject(parent), sink_(std::move(sink)) {}

InputCapture::~InputCapture() { removeAll(); }

bool InputCapture::install(int mode, bool wantKeyboard, bool wantMouse) {
    removeAll();
    if (KeyMessageOf(mode) == 0) return false;
    mode_ = mode;
    keys_ = wantKeyboard;
    heldModifiers_ = 0;
    mouse_ = wantMouse;
    if ((keys_ || mouse_) && QCoreApplication::instance()) {
        QCoreApplication::instance()->installEventFilter(this);
        filtering_ = true;
    }
    return true;
}

void InputCapture::removeAll() {
    if (filtering_ && QCoreApplication::instance()) QCoreApplication::instance()->removeEventFilter(this);
    filtering_ = false;
    keys_ = false;
    mouse_ = false;
}

void InputCapture::deliver(CapturedInput input) {
    input.mode = mode_;
    input.timeMs = MonotonicMs();
    if (sink_) sink_(input);
}

uint8_t InputCapture::trackModifiers(uint16_t linuxKey, bool pressed, Qt::KeyboardModifiers reported) {
    using namespace functions::modifier;
    const uint8_t own = functions::ModifierBitOfLinuxKey(linuxKey);
    // A release missed while another window had the focus must not leave a key held: the
    // toolkit's own modifier state drops what it no longer reports.
    uint8_t known = 0;
    if (reported & Qt::ControlModifier) known |= kLeftCtrl | kRightCtrl;
    if (reported & Qt::ShiftModifier) known |= kLeftShift | kRightShift;
    if (reported & Qt::AltModifier) known |= kLeftAlt | kRightAlt;
    if (reported & Qt::MetaModifier) known |= kLeftWin | kRightWin;
    heldModifiers_ &= known | own;
    if (pressed) heldModifiers_ |= own;
    else heldModifiers_ &= static_cast<uint8_t>(~own);
    return heldModifiers_ & static_cast<uint8_t>(~own);
}

bool InputCapture::eventFilter(QObject* watched, QEvent* event) {
    // A native event reaches a window first and is then passed from widget to widget; only
    // the window's delivery is taken, so that each event is reported once.
    if (!watched || !watched->isWindowType()) return false;
    CapturedInput input;
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        if (!keys_) return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        input.kind = CapturedInput::Kind::Key;
        input.message = KeyMessageOf(mode_);
        input.pressed = event->type() == QEvent::KeyPress;
        input.autoRepeat = key->isAutoRepeat();
        input.eventTime = key->timestamp();
        input.linuxKey = LinuxKeyOfScanCode(key->nativeScanCode());
        input.extended = functions::IsExtendedKey(input.linuxKey);
        input.heldModifiers = trackModifiers(input.linuxKey, input.pressed, key->modifiers());
        break;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseMove: {
        if (!mouse_ || MouseMessageOf(mode_) == 0) return false;
        const auto* mouse = static_cast<QMouseEvent*>(event);
        input.kind = event->type() == QEvent::MouseMove ? CapturedInput::Kind::Move : CapturedInput::Kind::MouseButton;
        input.pressed = event->type() == QEvent::MouseButtonPress;
        input.button = ButtonOf(mouse->button());
        input.x = qRound(mouse->globalPosition().x());
        input.y = qRound(mouse->globalPosition().y());
        input.message = MouseMessageOf(mode_);
        break;
    }
    case QEvent::Wheel: {
        if (!mouse_ || MouseMessageOf(mode_) == 0) return false;
        const auto* wheel = static_cast<QWheelEvent*>(event);
        input.kind = CapturedInput::Kind::Wheel;
        input.wheelDelta = wheel->angleDelta().y();
        input.wheelHorizontal = wheel->angleDelta().x();
        input.x = qRound(wheel->globalPosition().x());
        input.y = qRound(wheel->globalPosition().y());
        input.message = MouseMessageOf(mode_);
        break;
    }
    default:
        return false;
    }
    deliver(input);
    return false;  // never swallowed
}

}  // namespace orvane::ui
