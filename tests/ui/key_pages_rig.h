// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The whole program on an emulated keyboard and mouse with the key pages, worked through
// their controls as the user does, and what the models, the devices and the key profiles hold.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include <QComboBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QWindow>

#include "device/models.h"
#include "mouse/button_editor.h"
#include "profiles/profile_file.h"
#include "program_rig.h"

namespace keypagestest {

using namespace orvane;
using device::DeviceModel;
using functions::FunctionCode;
using profiles::ListId;

class KeyPagesRig : public programtest::ProgramRig {
public:
    explicit KeyPagesRig(DeviceModel keyboard = DeviceModel::RgbKeyboard) : ProgramRig(Options(keyboard)) {
        EXPECT_TRUE(waitForTab(device::RowOf(keyboard).singleColour() ? "kb_onecolor_tab" : "kb_tab"));
        EXPECT_TRUE(waitForTab("ms_tab"));
        settle();
    }

    static programtest::RigOptions Options(DeviceModel keyboard) {
        programtest::RigOptions o;
        o.models = {keyboard, DeviceModel::Mouse};
        o.features = std::vector<std::string_view>{"presence", "profiles", "mouse page", "key capture", "key pages"};
        return o;
    }

    // ---- working the controls as the user does ----
    void click(const QString& name) {
        auto* b = control<QPushButton>(name);
        ASSERT_NE(b, nullptr) << name.toStdString();
        b->click();
    }
    void click(const char* name) { click(QLatin1String(name)); }
    void pick(const char* combo, int item) {
        auto* c = control<QComboBox>(combo);
        ASSERT_NE(c, nullptr) << combo;
        c->setCurrentIndex(item);
    }
    void type(const char* edit, const QString& text) {
        auto* e = control<QLineEdit>(edit);
        ASSERT_NE(e, nullptr) << edit;
        e->setText(text);
        Q_EMIT e->textEdited(text);
    }
    QString text(const char* name) {
        if (auto* e = control<QLineEdit>(name)) return e->text();
        if (auto* b = control<QPushButton>(name)) return b->text();
        return {};
    }
    int item(const char* combo) { return control<QComboBox>(combo)->currentIndex(); }
    /// A key as the windowing system hands it to the window (xkb keycode = Linux code + 8).
    void press(uint16_t linuxKey, int qtKey) {
        key(linuxKey, qtKey, true);
        key(linuxKey, qtKey, false);
    }
    /// One key going down or up, with the modifiers the toolkit reports as held.
    void key(uint16_t linuxKey, int qtKey, bool down, Qt::KeyboardModifiers held = Qt::NoModifier) {
        QKeyEvent e(down ? QEvent::KeyPress : QEvent::KeyRelease, qtKey, held, linuxKey + 8u, 0, 0, {});
        QCoreApplication::sendEvent(window().windowHandle(), &e);
    }

    // ---- what the models and the devices hold ----
    size_t keyAt(size_t position) {
        return size_t(runtime().keyboard.read([&](const auto& d) { return d.positionMap[position]; }));
    }
    FunctionCode bankCode(size_t key) {
        return runtime().keyboard.read([&](const auto& d) { return d.banks[d.activeBank()].code(key); });
    }
    FunctionCode buttonCode(size_t button) {
        return runtime().mouse.read([&](const auto& d) {
            return mouse::ButtonCode(d.block.pages[mouse::ActiveKeyPage(d)], button);
        });
    }
    void setButtonCode(size_t button, FunctionCode code) {
        runtime().mouse.update([&](auto& d) {
            auto& page = d.block.pages[mouse::ActiveKeyPage(d)];
            page.bytes[3 * button] = code.type;
            page.bytes[3 * button + 1] = code.b1;
            page.bytes[3 * button + 2] = code.b2;
        });
    }
    std::vector<uint8_t> keyProfile(ListId id, size_t n) {
        const auto list = runtime().store.list(id);
        EXPECT_TRUE(list.hasSelection());
        const auto body = profiles::ReadProfileFile(*runtime().store.profilePath(id, list.names[size_t(list.selection)]), 512);
        return {body.bytes.begin(), body.bytes.begin() + std::ptrdiff_t(n)};
    }
    QString translated(const char* id) { return window().language().text(QLatin1String(id)); }
    bool said(const QString& text) {
        for (const auto& s : dialogs.shown)
            if (s.text == text) return true;
        return false;
    }
};

}  // namespace keypagestest
