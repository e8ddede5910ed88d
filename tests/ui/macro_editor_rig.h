// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A macro editor alone on its layout, with scripted dialogs, a fixed clock and a record of
// what it asked of the capture service; shared by the offscreen and the X11 tests.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QLineEdit>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "macros/macro_store.h"
#include "page_harness.h"
#include "ui/dialogs.h"
#include "ui/language.h"
#include "ui/pages/macro_page.h"

namespace macrotest {

using orvane::macros::MacroSet;
using orvane::ui::ScriptedDialogs;
using orvane::ui::pages::MacroPage;
using orvane::ui::pages::MacroPageOf;
using orvane::ui::pages::MacroPageServices;

/// One editor on its layout, with scripted dialogs, a fixed clock and a record of what it
/// asked of the capture service.
struct EditorRig {
    explicit EditorRig(MacroSet set, const std::function<void(orvane::macros::MacroStore&)>& seed = {})
        : set(set), h(set == MacroSet::Keyboard ? "keyboard_macro.ui" : "Mouse_macro.ui") {
        if (seed) seed(store());
        language.load(shelltest::SourceSkin() + QStringLiteral("/lan_en.xml"), QStringLiteral("en"));
        MacroPageServices s;
        s.dialogs = &dialogs;
        s.translate = [this](const QString& id) { return language.text(id); };
        s.startCapture = [this](int mode, bool keyboard, bool mouse) {
            captures.push_back({mode, keyboard, mouse});
            return true;
        };
        s.stopCapture = [this] { ++stops; };
        s.clock = [this] { return now; };
        page = std::make_unique<MacroPage>(h.lookup(), *h.runtime, MacroPageOf(set), s);
        page->prepare();
        h.bind(page->bindings());
        changed = h.runtime->events.macrosChanged.subscribe([this](const orvane::device::DeviceKind&) { ++setChanges; });
    }

    orvane::macros::MacroStore& store() { return h.runtime->macroStore; }
    std::string n(const char* suffix) const { return std::string(set == MacroSet::Keyboard ? "kb_" : "ms_") + suffix; }
    template <class T>
    T* control(const char* suffix) { return h.control<T>(n(suffix).c_str()); }
    void click(const char* suffix) { control<QAbstractButton>(suffix)->click(); }
    void setChecked(const char* suffix, bool on) { control<QAbstractButton>(suffix)->setChecked(on); }
    void type(const char* suffix, const QString& text) {
        auto* e = control<QLineEdit>(suffix);
        e->setText(text);
        Q_EMIT e->textEdited(text);
    }
    void clickRow(int row) {
        auto* view = control<QAbstractItemView>("Macro_list");
        const QModelIndex index = view->model()->index(row, 0);
        view->setCurrentIndex(index);
        Q_EMIT view->clicked(index);
    }
    std::vector<std::string> lines() const { return page->document().lines(); }
    bool barShown() { return !control<QWidget>("macro_tab_saveorcancel")->isHidden(); }
    std::vector<QString> shownIds() const {
        std::vector<QString> out;
        for (const auto& s : dialogs.shown) out.push_back(s.text);
        return out;
    }

    struct Capture {
        int mode;
        bool keyboard, mouse;
    };
    MacroSet set;
    pagetest::PageHarness h;
    ScriptedDialogs dialogs;
    orvane::ui::Language language;
    std::vector<Capture> captures;
    int stops = 0;
    int64_t now = 1000;
    int setChanges = 0;
    std::unique_ptr<MacroPage> page;
    orvane::runtime::Subscription changed;
};

inline void Seed(orvane::macros::MacroStore& store, MacroSet set, int count, const std::vector<std::string>& lines = {}) {
    for (int i = 0; i < count; ++i) {
        const auto added = store.AddMacro(set);
        ASSERT_TRUE(added.ok());
        if (!lines.empty()) {
            ASSERT_TRUE(store.SaveMacro(set, added.name, lines).ok());
        }
    }
}

}  // namespace macrotest
