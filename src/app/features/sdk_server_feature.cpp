// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/features/sdk_server_feature.h"

#include "app/main_window.h"
#include "runtime/runtime.h"

namespace orvane::app {

namespace openrgb = integrations::openrgb;

SdkServerFeature::~SdkServerFeature() = default;

void SdkServerFeature::install(FeatureContext& context) {
    runtime_ = &context.runtime;
    main_ = &context.window;
    subscriptions_ += runtime_->events.settingsChanged.subscribe([this](runtime::Setting setting) {
        if (setting == runtime::Setting::SdkServer) follow();
    });
    follow();
}

void SdkServerFeature::follow() {
    openrgb::ServerSettings wanted = openrgb::ReadServerSettings(main_->mainIni().path());
    if (const auto port = main_->options().sdkServerPort) {
        wanted.enabled = true;
        wanted.port = *port;
    }
    if (!wanted.enabled) {
        runtime_->sdkServerPort.reset();
        server_.reset();
        running_.reset();
        problem_.clear();
        return;
    }
    if (server_ && running_ == wanted) return;
    server_.reset();  // the old port is free before the new one is taken
    openrgb::ServerOptions options;
    options.address = QHostAddress(QString::fromStdString(wanted.address));
    options.port = wanted.port;
    auto server = std::make_unique<openrgb::SdkServer>(*runtime_, options);
    runtime_->sdkServerPort.reset();
    if (!server->start()) {
        problem_ = server->errorString();
        running_.reset();
        return;
    }
    runtime_->sdkServerPort = server->port();
    problem_.clear();
    running_ = wanted;
    server_ = std::move(server);
}

}  // namespace orvane::app
