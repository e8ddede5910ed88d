// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/program.h"

#include <algorithm>

#include "app/features.h"
#include "device/protocol/window_thread_guard.h"

namespace orvane::app {

Program::Program(ProgramOptions options)
    : runtime_(std::make_unique<runtime::Runtime>(std::move(options.runtime))),
      window_(std::make_unique<MainWindow>(*runtime_, std::move(options.window))) {
    // This is the window's thread: device work is submitted as jobs, never done here.
    protocol::ForbidExchangesOnThisThread();
    FeatureContext context{*runtime_, *window_};
    for (const auto& row : kFeatures) {
        if (options.features && std::find(options.features->begin(), options.features->end(), row.name) ==
                                    options.features->end())
            continue;
        features_.push_back(row.make());
        features_.back()->install(context);
    }
}

Program::~Program() {
    const runtime::StopOutcome outcome = shutdown();
    features_.clear();
    window_.reset();
    protocol::AllowExchangesOnAnyThread();
    if (outcome == runtime::StopOutcome::TimedOut) {
        // A worker still runs and may use the runtime: keep it until the process ends.
        // (Never destroyed, not even at exit; reachable, so not a leak.)
        static auto* keptForStragglers = new std::vector<std::unique_ptr<runtime::Runtime>>;
        keptForStragglers->push_back(std::move(runtime_));
    }
    runtime_.reset();
}

void Program::initialise() { window_->initialise(); }

runtime::StopOutcome Program::shutdown() { return window_->shutdown(); }

}  // namespace orvane::app
