// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Program: the whole program as main() runs it and the window tests build it. It builds the
// runtime first, then the window, then installs the features of kFeatures (all, or the ones
// named) in table order; initialise() starts it; shutdown() stops it once; destruction takes
// the features, then the window, then the runtime down, in that order. Should a worker
// ignore its stop past the bound, the runtime it may still use is kept alive (reachable)
// until the process ends.

#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "app/feature.h"
#include "app/main_window.h"
#include "runtime/runtime.h"

namespace orvane::app {

struct ProgramOptions {
    runtime::RuntimeOptions runtime;  ///< its backend must be set
    MainWindow::Options window;
    /// Names from kFeatures to install; nullopt: all of them.
    std::optional<std::vector<std::string_view>> features;
};

class Program {
public:
    explicit Program(ProgramOptions options);
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    /// The window's "windowinit": starts the workers and timers.
    void initialise();
    runtime::StopOutcome shutdown();

    runtime::Runtime& runtime() { return *runtime_; }
    MainWindow& window() { return *window_; }
    const std::vector<std::unique_ptr<Feature>>& features() const { return features_; }
    /// The installed feature of that type, or null.
    template <class F>
    F* feature() const {
        for (const auto& f : features_)
            if (auto* wanted = dynamic_cast<F*>(f.get())) return wanted;
        return nullptr;
    }

private:
    std::unique_ptr<runtime::Runtime> runtime_;
    std::unique_ptr<MainWindow> window_;
    std::vector<std::unique_ptr<Feature>> features_;
};

}  // namespace orvane::app
