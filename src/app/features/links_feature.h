// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Application-linked profiles: the link controls of the five profile lists and the five
// watchers that switch a list to the profile linked to the application in front.
//
// A watcher's selection is a job of the list's device (the profile is loaded and sent there,
// never on the window's thread); the watcher waits for it, and the list's panel shows the
// result (profileChosen). The watchers run whether or not the device is connected.

#include <array>
#include <memory>
#include <optional>

#include "app/feature.h"
#include "platform/foreground.h"
#include "profiles/app_watchers.h"
#include "ui/language.h"
#include "ui/pages/profile_link_controls.h"

namespace orvane::app {

class LinksFeature final : public Feature {
public:
    LinksFeature();
    ~LinksFeature() override;
    void install(FeatureContext& context) override;

    /// Where the watchers see the application in front (the session's compositor or X
    /// display by default). Set it before the workers start.
    void setForegroundQuery(profiles::ForegroundQuery query) { query_ = std::move(query); }
    ui::pages::ProfileLinkControls& controls(profiles::ListId id) { return *controls_[size_t(id)]; }
    /// Whether the hint that switching cannot see every window was shown (it is shown once).
    bool limitsTold() const { return limitsTold_; }
    /// Tests: how far the foreground can be seen (what the hint depends on).
    void setCoverage(platform::ForegroundApp::Coverage coverage) { coverage_ = coverage; }

private:
    void tellLimits(QWidget* near, const ui::Language& language);

    platform::Foreground foreground_;
    profiles::ForegroundQuery query_;
    std::optional<platform::ForegroundApp::Coverage> coverage_;
    std::array<std::unique_ptr<ui::pages::ProfileLinkControls>, profiles::kLists.size()> controls_;
    std::array<std::unique_ptr<profiles::ProfileWatcher>, profiles::kLists.size()> watchers_;
    bool limitsTold_ = false;
};

}  // namespace orvane::app
