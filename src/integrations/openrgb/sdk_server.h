// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The OpenRGB SDK server: other programs (OpenRGB clients, SignalRGB-style tools, scripts)
// see our connected devices as controllers and set their LEDs. It runs on the thread that
// built it (the window's), on Qt's event loop: every socket read is non-blocking and cheap,
// and nothing here talks to a device. LED colours become frames the lighting engine sends
// at the link's pace (newest wins); a mode choice goes through the device's session, as a
// page's would.
//
// A client that breaks the stream (wrong magic, a packet over 1 MB), asks for a controller
// that is not there, leaves half a packet unfinished for `partialTimeout` or stops reading
// its replies is disconnected; a request the devices cannot take (an LED, zone or mode out
// of range, a wrong size) is dropped and logged, and nothing of it is applied. When the
// client that drives a device goes, or sends nothing for `idleReturn`, the device returns to
// its stored effect.

#include <QHostAddress>
#include <QObject>
#include <QString>

#include <array>
#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "device/models.h"
#include "integrations/openrgb/sdk_controller.h"
#include "runtime/events.h"

class QTcpServer;
class QTcpSocket;
class QTimer;

namespace orvane::runtime {
class Runtime;
}

namespace orvane::integrations::openrgb {

inline constexpr uint16_t kDefaultPort = 6742;

struct ServerOptions {
    QHostAddress address{QHostAddress::LocalHost};
    uint16_t port = kDefaultPort;  ///< 0: any free port (tests)
    size_t maxClients = 64;        ///< a client past this is closed at once
    std::chrono::milliseconds idleReturn{5000};
    std::chrono::milliseconds partialTimeout{10000};
    /// Replies a client has not read yet; past this it is closed rather than buffered.
    size_t maxUnsent = 4 * 1024 * 1024;
};

/// What the server has done so far (orvanectl, tests, benchmarks).
struct ServerCounts {
    uint64_t accepted = 0;      ///< connections taken
    uint64_t turnedAway = 0;    ///< connections closed at once (too many clients)
    uint64_t dropped = 0;       ///< connections closed for what they sent or did not read
    uint64_t refused = 0;       ///< requests dropped whole
    uint64_t frames = 0;        ///< LED updates handed to the lighting engine
};

class SdkServer : public QObject {
public:
    SdkServer(runtime::Runtime& runtime, ServerOptions options, QObject* parent = nullptr);
    /// Closes every connection; the devices it drove return to their stored effects.
    ~SdkServer() override;

    /// Starts listening; false with errorString() when the address or port cannot be had.
    bool start();
    QString errorString() const { return error_; }
    bool listening() const;
    uint16_t port() const;
    size_t clientCount() const { return clients_.size(); }
    const ServerCounts& counts() const { return counts_; }

    /// Tells every client that the device list changed (hot-plug); done by itself on the
    /// runtime's deviceConnected and deviceGone.
    void announceDeviceList();

private:
    struct Client;
    struct Driven {
        bool direct = false;  ///< the device shows the client's colours, not its effect
        uint64_t owner = 0;   ///< the client that set them last
        std::chrono::steady_clock::time_point lastFrame;
        std::optional<Controller> controller;  ///< the LEDs as the client set them
        device::DeviceModel model{};
    };

    void accept();
    void readFrom(Client& client);
    void handle(Client& client, uint32_t device, uint32_t id, std::span<const uint8_t> payload);
    void send(Client& client, std::vector<uint8_t> bytes);
    /// Closes the connection for what it did (the client is gone afterwards).
    void drop(Client& client, std::string_view why);
    void remove(uint64_t id);
    void refuse(Client& client, std::string_view request, std::string_view why);
    void sweep();

    /// The connected devices in the order clients see them (keyboard, mouse, mousepad).
    std::vector<device::DeviceKind> controllers() const;
    std::optional<device::DeviceKind> controllerAt(uint32_t index) const;
    device::DeviceModel modelOf(device::DeviceKind kind) const;
    /// The device's controller with its LEDs as last set (built anew when its model changed).
    Controller& controllerOf(device::DeviceKind kind);
    /// The controller as a client sees it now: the current effect or Direct.
    Controller describe(device::DeviceKind kind);

    void showColours(Client& client, device::DeviceKind kind);
    void enterDirect(Client& client, device::DeviceKind kind);
    void chooseEffect(device::DeviceKind kind, const Mode& mode);
    /// The device goes back to its stored effect.
    void release(device::DeviceKind kind);

    runtime::Runtime& rt_;
    ServerOptions options_;
    QTcpServer* server_ = nullptr;
    QTimer* sweeper_ = nullptr;
    QString error_;
    std::map<uint64_t, std::unique_ptr<Client>> clients_;
    uint64_t nextClient_ = 1;
    std::array<Driven, 3> driven_{};
    ServerCounts counts_;
    runtime::Subscriptions subscriptions_;
};

}  // namespace orvane::integrations::openrgb
