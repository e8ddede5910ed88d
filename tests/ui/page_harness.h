// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A page controller alone on its own layout file: the .ui loaded by the skin loader, its
// controls found by name, their notifications handed to the page's binding table, and a
// runtime without job threads or devices (jobs run at once; a job that needs the device
// finishes as "not connected"). No window, monitors, threads or emulator.

#include <QTemporaryDir>
#include <QWidget>

#include <filesystem>
#include <memory>
#include <vector>

#include "platform/pointer_settings.h"
#include "runtime/runtime.h"
#include "shell_test_support.h"
#include "support/null_backend.h"
#include "ui/control_index.h"
#include "ui/notify_bridge.h"
#include "ui/pages/page_bindings.h"
#include "ui/pages/page_controls.h"
#include "ui/skin_loader.h"

namespace pagetest {

class PageHarness {
public:
    /// layout: a resource of the skin ("MousePad_deng.ui", ...).
    /// defaultFolders: where the runtime finds the shipped default files (the program's
    /// own places when empty).
    explicit PageHarness(const char* layout, std::vector<std::filesystem::path> defaultFolders = {})
        : skin_(shelltest::SourceSkin()),
          bridge_([this](const orvane::ui::Notification& n) {
              seen.push_back(n.sender);
              if (bindings_) bindings_->dispatch(n);
          }) {
        orvane::runtime::RuntimeOptions o;
        o.backend = &backend_;
        o.dataFolder = std::filesystem::path(scratch_.path().toStdString()) / "data";
        o.defaultFolders = std::move(defaultFolders);
        o.pointerBackend = orvane::platform::MakeFallbackPointerBackend();
        o.pointerLog = [](std::string_view) {};
        o.deliverToCreatingThread = false;
        o.jobThreads = false;
        runtime = std::make_unique<orvane::runtime::Runtime>(std::move(o));
        page_ = skin_.load(QLatin1String(layout), &root_);
        controls_.add(&root_);
        bridge_.attach(&root_);
    }

    bool loaded() const { return page_ != nullptr; }
    /// The widget the layout is loaded into (shown only by tests that need a real window).
    QWidget& root() { return root_; }
    orvane::ui::pages::ControlLookup lookup() {
        return [this](const QString& name) { return controls_.find(name); };
    }
    /// Notifications of the page's controls go to these bindings from now on.
    void bind(const orvane::ui::pages::PageBindings& bindings) { bindings_ = &bindings; }
    template <class T>
    T* control(const char* name) const { return controls_.find<T>(QLatin1String(name)); }

    std::unique_ptr<orvane::runtime::Runtime> runtime;
    std::vector<QString> seen;  ///< the sender of every notification

private:
    QTemporaryDir scratch_;
    testing_support::NullBackend backend_;
    orvane::ui::SkinLoader skin_;
    QWidget root_;
    QWidget* page_ = nullptr;
    orvane::ui::ControlIndex controls_;
    orvane::ui::NotifyBridge bridge_;
    const orvane::ui::pages::PageBindings* bindings_ = nullptr;
};

}  // namespace pagetest
