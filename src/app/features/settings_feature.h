// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Settings: the settings window (the gear button "setbtn"), the version check made once at
// start (an update opens the settings window), and the window's answers to the RGB keyboard
// coming and going and to a language change.

#include <QPointer>

#include <functional>
#include <memory>
#include <mutex>
#include <optional>

#include "app/feature.h"
#include "app/features/settings_window.h"

namespace orvane::app {

class SettingsFeature final : public Feature {
public:
    ~SettingsFeature() override;
    void install(FeatureContext& context) override;

    /// Opens the settings window, or raises the one that is open.
    void open();
    /// The open settings window, or null.
    FunctionSet* window() const { return window_; }

    /// What tests replace; set before the program starts.
    struct Hooks {
        UpdateQueries::MakeClient makeClient;           ///< default: the configured server
        std::function<void(const QString&)> openUrl;    ///< default: the desktop's handler
        std::optional<update::UpdaterProgram> updater;  ///< default: beside the program
    };
    Hooks hooks;

private:
    UpdateQueries::MakeClient clientMaker() const;

    MainWindow* main_ = nullptr;
    runtime::Runtime* runtime_ = nullptr;
    QPointer<FunctionSet> window_;
    /// What the version check reaches: it is left to end by itself at exit (never waited
    /// for), so it holds this and finds it emptied once the feature is gone.
    struct CheckLink {
        std::mutex mutex;
        runtime::Runtime* runtime = nullptr;
        SettingsFeature* feature = nullptr;
    };
    std::shared_ptr<CheckLink> checkLink_ = std::make_shared<CheckLink>();
    ui::pages::PageBindings gear_;
};

}  // namespace orvane::app
