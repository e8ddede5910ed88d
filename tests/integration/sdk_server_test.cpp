// SPDX-License-Identifier: GPL-3.0-or-later
// The OpenRGB SDK server against clients on loopback and the three emulated devices with
// their lighting workers running: negotiation, the controller list and data, LED updates
// reaching the devices as frames, effect modes through the sessions, the return to the
// stored effect when a client goes or falls silent, hot-plug notices, and hostile clients
// that are closed or ignored while the others are still served.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTcpSocket>

#include <chrono>
#include <functional>
#include <memory>
#include <thread>

#include "integration/runtime_rig.h"
#include "integrations/openrgb/sdk_devices.h"
#include "integrations/openrgb/sdk_packet.h"
#include "integrations/openrgb/sdk_server.h"
#include "sim/firmware_device.h"

namespace orvane {
namespace {

using namespace std::chrono_literals;
namespace sdk = integrations::openrgb;
namespace id = sdk::packet_id;
using lighting::LightingDevice;

void EnsureApplication() {
    if (QCoreApplication::instance()) return;
    static int argc = 1;
    static char name[] = "orvane_integration_tests";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
}

// Runs the event loop (the server's and the clients' sockets) until pred holds or the
// generous bound passes.
bool PumpUntil(const std::function<bool()>& pred, std::chrono::milliseconds bound = 10s) {
    const auto end = std::chrono::steady_clock::now() + bound;
    while (!pred()) {
        if (std::chrono::steady_clock::now() > end) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        std::this_thread::sleep_for(1ms);
    }
    return true;
}

struct Client {
    explicit Client(uint16_t port) { socket.connectToHost(QHostAddress::LocalHost, port); }
    bool connected() { return PumpUntil([&] { return socket.state() == QAbstractSocket::ConnectedState; }); }
    void send(uint32_t device, uint32_t packet, std::span<const uint8_t> payload = {}) {
        const auto bytes = sdk::EncodePacket(device, packet, payload);
        socket.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size()));
    }
    void sendRaw(std::span<const uint8_t> bytes) {
        socket.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size()));
    }
    /// The next packet the server sends, or nullopt when none comes.
    std::optional<sdk::Packet> next() {
        sdk::Packet p;
        const bool got = PumpUntil([&] {
            const QByteArray in = socket.readAll();
            reader.feed({reinterpret_cast<const uint8_t*>(in.constData()), size_t(in.size())});
            return reader.next(p) == sdk::ReadStatus::Packet;
        });
        if (!got) return std::nullopt;
        return p;
    }
    std::optional<uint32_t> u32Reply(uint32_t device, uint32_t packet, std::span<const uint8_t> payload = {}) {
        send(device, packet, payload);
        const auto p = next();
        if (!p || p->id != packet || p->payload.size() != 4) return std::nullopt;
        return uint32_t(p->payload[0]) | uint32_t(p->payload[1]) << 8 | uint32_t(p->payload[2]) << 16 |
               uint32_t(p->payload[3]) << 24;
    }
    std::optional<sdk::Controller> controller(uint32_t index, uint32_t protocol = sdk::kNewestProtocol) {
        const uint8_t version[4]{uint8_t(protocol), 0, 0, 0};
        send(index, id::kRequestControllerData, version);
        const auto p = next();
        if (!p || p->id != id::kRequestControllerData) return std::nullopt;
        return sdk::DecodeController(p->payload, protocol);
    }
    bool closedByServer() { return PumpUntil([&] { return socket.state() == QAbstractSocket::UnconnectedState; }); }

    QTcpSocket socket;
    sdk::PacketReader reader;
};

std::vector<uint8_t> U32(uint32_t v) { return {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)}; }

struct SdkRig {
    explicit SdkRig(sdk::ServerOptions options = Quick()) {
        EnsureApplication();
        for (DeviceKind k : runtime::kDeviceKinds) EXPECT_EQ(rig.arrive(k).readBack, protocol::kOk);
        auto& engine = rig.rt->lighting;
        workers.emplace_back([&engine](std::stop_token s) { engine.runKeyboard(s); });
        workers.emplace_back([&engine](std::stop_token s) { engine.runMouse(s); });
        workers.emplace_back([&engine](std::stop_token s) { engine.runPad(s); });
        server = std::make_unique<sdk::SdkServer>(*rig.rt, options);
        EXPECT_TRUE(server->start()) << server->errorString().toStdString();
    }
    ~SdkRig() {
        server.reset();
        workers.clear();
    }
    static sdk::ServerOptions Quick() {
        sdk::ServerOptions o;
        o.port = 0;
        o.idleReturn = 400ms;
        o.partialTimeout = 400ms;
        return o;
    }
    std::vector<uint8_t> lastFrame(DeviceModel m) {
        std::vector<uint8_t> frame;
        rig.device(m).withFirmware([&](sim::Firmware& f) {
            const auto bytes = static_cast<sim::DeviceFirmware&>(f).lastFrame();
            frame.assign(bytes.begin(), bytes.end());
        });
        return frame;
    }
    std::unique_ptr<Client> client(std::string_view name = "test") {
        auto c = std::make_unique<Client>(server->port());
        EXPECT_TRUE(c->connected());
        EXPECT_EQ(c->u32Reply(0, id::kRequestProtocolVersion, U32(sdk::kNewestProtocol)), sdk::kNewestProtocol);
        c->send(0, id::kSetClientName, std::vector<uint8_t>(name.begin(), name.end()));
        return c;
    }

    RuntimeRig rig{{DeviceModel::RgbKeyboard, DeviceModel::Mouse, DeviceModel::Mousepad}};
    std::vector<std::jthread> workers;
    std::unique_ptr<sdk::SdkServer> server;
};

constexpr DeviceModel kModels[] = {DeviceModel::RgbKeyboard, DeviceModel::Mouse, DeviceModel::Mousepad};

TEST(SdkServer, NegotiatesAndDescribesEveryConnectedDevice) {
    SdkRig s;
    Client c(s.server->port());
    ASSERT_TRUE(c.connected());
    // A newer client gets our newest version; an older one keeps its own.
    EXPECT_EQ(c.u32Reply(0, id::kRequestProtocolVersion, U32(5)), sdk::kNewestProtocol);
    EXPECT_EQ(c.u32Reply(0, id::kRequestProtocolVersion, U32(1)), 1u);
    EXPECT_EQ(c.u32Reply(0, id::kRequestControllerCount), 3u);
    for (uint32_t index = 0; index < 3; ++index) {
        for (uint32_t protocol : {0u, sdk::kNewestProtocol}) {
            SCOPED_TRACE(::testing::Message() << "controller " << index << " protocol " << protocol);
            const auto controller = c.controller(index, protocol);
            ASSERT_TRUE(controller);
            const auto& row = device::RowOf(kModels[index]);
            EXPECT_EQ(controller->name, row.displayName);
            EXPECT_EQ(controller->leds.size(), controller->colours.size());
            EXPECT_EQ(controller->modes.front().name, "Direct");
        }
    }
    EXPECT_EQ(s.server->counts().dropped, 0u);
}

TEST(SdkServer, LedUpdatesReachTheDevicesAndTheEffectComesBackWhenTheClientGoes) {
    SdkRig s;
    auto c = s.client();
    for (uint32_t index = 0; index < 3; ++index) {
        SCOPED_TRACE(index);
        auto controller = c->controller(index);
        ASSERT_TRUE(controller);
        // Every LED, then the one zone with another colour, then a single LED.
        controller->colours.assign(controller->leds.size(), sdk::Colour{10, 20, uint8_t(30 + index)});
        c->send(index, id::kUpdateLeds, sdk::EncodeUpdateLeds(controller->colours));
        const auto all = sdk::FrameOf(kModels[index], *controller);
        EXPECT_TRUE(PumpUntil([&] { return s.lastFrame(kModels[index]) == all; }));

        controller->colours.assign(controller->leds.size(), sdk::Colour{200, 0, 0});
        c->send(index, id::kUpdateZoneLeds, sdk::EncodeUpdateZoneLeds(0, controller->colours));
        const auto zone = sdk::FrameOf(kModels[index], *controller);
        EXPECT_TRUE(PumpUntil([&] { return s.lastFrame(kModels[index]) == zone; }));

        controller->colours[2] = {0, 0, 255};
        c->send(index, id::kUpdateSingleLed, sdk::EncodeUpdateSingleLed(2, {0, 0, 255}));
        const auto single = sdk::FrameOf(kModels[index], *controller);
        EXPECT_TRUE(PumpUntil([&] { return s.lastFrame(kModels[index]) == single; }));
        EXPECT_TRUE(s.rig.rt->lighting.drivenFromOutside(runtime::LightingDeviceOf(runtime::kDeviceKinds[index])));
    }
    c.reset();  // disconnects
    for (auto device : {LightingDevice::Keyboard, LightingDevice::Mouse, LightingDevice::Pad})
        EXPECT_TRUE(PumpUntil([&] { return !s.rig.rt->lighting.drivenFromOutside(device); }));
}

TEST(SdkServer, AClientThatFallsSilentGivesTheDeviceBackToItsEffect) {
    SdkRig s;
    auto c = s.client();
    const auto mouse = c->controller(1);
    ASSERT_TRUE(mouse);
    c->send(1, id::kUpdateLeds, sdk::EncodeUpdateLeds(mouse->colours));
    ASSERT_TRUE(PumpUntil([&] { return s.rig.rt->lighting.drivenFromOutside(LightingDevice::Mouse); }));
    // No frame for longer than the idle bound: the stored effect runs again, the client stays.
    EXPECT_TRUE(PumpUntil([&] { return !s.rig.rt->lighting.drivenFromOutside(LightingDevice::Mouse); }));
    EXPECT_EQ(c->socket.state(), QAbstractSocket::ConnectedState);
}

TEST(SdkServer, AnEffectModeIsTheUsersChoiceAndDirectHandsTheDeviceToTheClient) {
    SdkRig s;
    auto c = s.client();
    auto mouse = c->controller(1);
    ASSERT_TRUE(mouse);
    size_t breathing = 0;
    for (size_t i = 0; i < mouse->modes.size(); ++i)
        if (mouse->modes[i].name == "Breathing") breathing = i;
    ASSERT_NE(breathing, 0u);
    sdk::Mode mode = mouse->modes[breathing];
    mode.speed = mode.speedMax;
    mode.colours = {{1, 2, 3}};
    c->send(1, id::kUpdateMode, sdk::EncodeUpdateMode(uint32_t(breathing), mode, sdk::kNewestProtocol));
    EXPECT_TRUE(PumpUntil([&] {
        const auto choice = lighting::LightingChoice::Of(s.rig.rt->mouse.state());
        return choice.mode == uint8_t(mode.value) && choice.colour == device::Rgb{1, 2, 3};
    }));
    mouse = c->controller(1);
    ASSERT_TRUE(mouse);
    EXPECT_EQ(mouse->activeMode, int32_t(breathing));

    c->send(1, id::kSetCustomMode);
    EXPECT_TRUE(PumpUntil([&] { return s.rig.rt->lighting.drivenFromOutside(LightingDevice::Mouse); }));
    mouse = c->controller(1);
    ASSERT_TRUE(mouse);
    EXPECT_EQ(mouse->activeMode, 0);
}

TEST(SdkServer, HostileClientsAreClosedOrIgnoredAndTheOthersAreStillServed) {
    struct Case {
        const char* what;
        std::function<void(Client&, const sdk::Controller& mouse)> send;
        bool closed;
    };
    const std::vector<Case> cases{
        {"wrong magic", [](Client& c, const sdk::Controller&) { c.sendRaw(std::vector<uint8_t>(16, 'X')); }, true},
        {"over 1 MB",
         [](Client& c, const sdk::Controller&) {
             auto header = sdk::EncodePacket(1, id::kUpdateLeds);
             header[12] = 0, header[13] = 0, header[14] = 0x20, header[15] = 0;  // 2 MB
             c.sendRaw(header);
         },
         true},
        {"half a packet, then silence",
         [](Client& c, const sdk::Controller&) {
             const auto packet = sdk::EncodePacket(1, id::kUpdateLeds, std::vector<uint8_t>(40, 0));
             c.sendRaw(std::span(packet).first(24));
         },
         true},
        {"data of a controller that is not there",
         [](Client& c, const sdk::Controller&) { c.send(7, id::kRequestControllerData, U32(3)); }, true},
        {"LEDs for a controller that is not there",
         [](Client& c, const sdk::Controller& m) { c.send(7, id::kUpdateLeds, sdk::EncodeUpdateLeds(m.colours)); }, false},
        {"one LED too few",
         [](Client& c, const sdk::Controller& m) {
             c.send(1, id::kUpdateLeds, sdk::EncodeUpdateLeds(std::span(m.colours).first(m.colours.size() - 1)));
         },
         false},
        {"an LED out of range",
         [](Client& c, const sdk::Controller& m) {
             c.send(1, id::kUpdateSingleLed, sdk::EncodeUpdateSingleLed(uint32_t(m.leds.size()), {1, 1, 1}));
         },
         false},
        {"a zone out of range",
         [](Client& c, const sdk::Controller& m) { c.send(1, id::kUpdateZoneLeds, sdk::EncodeUpdateZoneLeds(1, m.colours)); },
         false},
        {"a mode out of range",
         [](Client& c, const sdk::Controller& m) {
             c.send(1, id::kUpdateMode, sdk::EncodeUpdateMode(uint32_t(m.modes.size()), m.modes[1], sdk::kNewestProtocol));
         },
         false},
    };
    SdkRig s;
    auto bystander = s.client("bystander");
    const auto mouse = bystander->controller(1);
    ASSERT_TRUE(mouse);
    const auto mouseState = s.rig.rt->mouse.state();
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        auto hostile = s.client("hostile");
        const auto before = s.server->counts();
        k.send(*hostile, *mouse);
        if (k.closed) {
            EXPECT_TRUE(hostile->closedByServer());
            EXPECT_EQ(s.server->counts().dropped, before.dropped + 1);
        } else {
            EXPECT_TRUE(PumpUntil([&] { return s.server->counts().refused == before.refused + 1; }));
            EXPECT_EQ(hostile->socket.state(), QAbstractSocket::ConnectedState);
        }
        // Nothing reached a device or its record, and the others are still served.
        EXPECT_EQ(s.server->counts().frames, before.frames);
        EXPECT_FALSE(s.rig.rt->lighting.drivenFromOutside(LightingDevice::Mouse));
        EXPECT_EQ(s.rig.rt->mouse.state().bytes, mouseState.bytes);
        EXPECT_EQ(bystander->u32Reply(0, id::kRequestControllerCount), 3u);
    }
}

TEST(SdkServer, ManyClientsAtOnceAreServedUpToTheCapAndTheRestClosed) {
    auto options = SdkRig::Quick();
    options.maxClients = 64;
    SdkRig s(options);
    std::vector<std::unique_ptr<Client>> clients;
    for (int i = 0; i < 100; ++i) clients.push_back(std::make_unique<Client>(s.server->port()));
    ASSERT_TRUE(PumpUntil([&] { return s.server->counts().accepted + s.server->counts().turnedAway == 100; }));
    EXPECT_EQ(s.server->counts().accepted, 64u);
    size_t served = 0;
    for (auto& c : clients) {
        if (c->socket.state() != QAbstractSocket::ConnectedState) continue;
        if (c->u32Reply(0, id::kRequestControllerCount) == 3u) ++served;
    }
    EXPECT_EQ(served, 64u);
    // A place that comes free is taken again.
    clients.clear();
    ASSERT_TRUE(PumpUntil([&] { return s.server->clientCount() == 0; }));
    EXPECT_TRUE(s.client());
}

TEST(SdkServer, AFloodOfFramesIsCoalescedAndEndsWithTheNewest) {
    SdkRig s;
    s.rig.device(DeviceModel::Mouse).setLink({std::chrono::microseconds(2000)});  // slower than the client
    auto c = s.client();
    auto mouse = c->controller(1);
    ASSERT_TRUE(mouse);
    for (int i = 0; i < 2000; ++i) {
        mouse->colours.assign(mouse->colours.size(), sdk::Colour{uint8_t(i), uint8_t(i >> 8), 7});
        c->send(1, id::kUpdateLeds, sdk::EncodeUpdateLeds(mouse->colours));
    }
    const auto newest = sdk::FrameOf(DeviceModel::Mouse, *mouse);
    EXPECT_TRUE(PumpUntil([&] { return s.lastFrame(DeviceModel::Mouse) == newest; }));
    EXPECT_EQ(s.server->counts().frames, 2000u);
    EXPECT_GT(s.rig.rt->lighting.outsideFrames().skipped(LightingDevice::Mouse), 0u);
    EXPECT_EQ(c->u32Reply(0, id::kRequestControllerCount), 3u);
}

TEST(SdkServer, ClientsHearOfDevicesComingAndGoing) {
    SdkRig s;
    auto c = s.client();
    s.rig.rt->connection(DeviceKind::Mouse).connected = false;
    s.rig.rt->events.deviceGone.emit(DeviceKind::Mouse);
    const auto notice = c->next();
    ASSERT_TRUE(notice);
    EXPECT_EQ(notice->id, id::kDeviceListUpdated);
    EXPECT_EQ(c->u32Reply(0, id::kRequestControllerCount), 2u);
    const auto second = c->controller(1);
    ASSERT_TRUE(second);
    EXPECT_EQ(second->name, device::RowOf(DeviceModel::Mousepad).displayName);
}

}  // namespace
}  // namespace orvane
