// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The OpenRGB SDK server: off unless main.ini's "SDKSERVER" turns it on (the settings
// window's check box) or the program was started with --sdk-server[=PORT]. A change in the
// settings window (settingsChanged(SdkServer)) starts, stops or moves it.

#include <memory>
#include <optional>

#include "app/feature.h"
#include "integrations/openrgb/sdk_server.h"
#include "integrations/openrgb/server_settings.h"

namespace orvane::app {

class SdkServerFeature final : public Feature {
public:
    ~SdkServerFeature() override;
    void install(FeatureContext& context) override;

    /// The running server, or null (off, or its port could not be had).
    integrations::openrgb::SdkServer* server() const { return server_.get(); }
    /// Why the server is not listening although it is wanted ("" when it is, or is off).
    QString problem() const { return problem_; }

private:
    /// Starts, stops or moves the server to what the settings and the command line want.
    void follow();

    runtime::Runtime* runtime_ = nullptr;
    MainWindow* main_ = nullptr;
    std::optional<integrations::openrgb::ServerSettings> running_;
    std::unique_ptr<integrations::openrgb::SdkServer> server_;
    QString problem_;
};

}  // namespace orvane::app
