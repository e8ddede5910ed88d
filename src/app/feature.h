// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Features: each part of the program (device presence, profiles, lighting, each page, and
// every part still to come) is one object whose install() registers what it needs — its
// page controllers' bindings with the router, its event subscriptions, its workers — and
// keeps the tokens, so that nothing of it is called after it is gone. kFeatures (features.h)
// lists them in install order; no feature edits the window or another feature.

#include <memory>
#include <vector>

#include "runtime/events.h"
#include "runtime/workers.h"
#include "ui/pages/page_bindings.h"

namespace orvane::runtime {
class Runtime;
}

namespace orvane::app {

class MainWindow;
class Router;

/// What a feature is installed into.
struct FeatureContext {
    runtime::Runtime& runtime;
    MainWindow& window;
};

class Feature {
public:
    virtual ~Feature();
    /// Once, after the skin is loaded and before the window's initialise() starts the workers.
    virtual void install(FeatureContext& context) = 0;

    /// A page controller's table and the name it is bound under (for the skin test).
    struct BoundPage {
        const char* page;
        const ui::pages::PageBindings* bindings;
    };
    const std::vector<BoundPage>& boundPages() const { return bound_; }

protected:
    /// Binds a page controller's table with the router for as long as the feature lives;
    /// `page` names it in logs and tests.
    void bind(FeatureContext& context, const char* page, const ui::pages::PageBindings& bindings);
    /// Plugs a worker into its slot; the slot is emptied again when the feature goes.
    void plug(FeatureContext& context, runtime::WorkerSlot slot, runtime::WorkerBody body);
    runtime::Subscriptions subscriptions_;

private:
    std::vector<BoundPage> bound_;
    runtime::WorkerSet* workers_ = nullptr;
    std::vector<runtime::WorkerSlot> plugged_;
};

}  // namespace orvane::app
