// SPDX-License-Identifier: GPL-3.0-or-later
#include "integrations/openrgb/sdk_server.h"

#include <QLoggingCategory>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <algorithm>

#include "integrations/openrgb/sdk_devices.h"
#include "integrations/openrgb/sdk_packet.h"
#include "runtime/runtime.h"

Q_LOGGING_CATEGORY(lcSdk, "orvane.sdk", QtInfoMsg)

namespace orvane::integrations::openrgb {

namespace {

using device::DeviceKind;
using device::DeviceModel;
using Clock = std::chrono::steady_clock;

/// How often idle devices and stalled half packets are looked for.
constexpr std::chrono::milliseconds kSweepPeriod{250};

QString Who(const std::string& name, uint64_t id) {
    return name.empty() ? QStringLiteral("client %1").arg(id)
                        : QStringLiteral("client %1 (%2)").arg(id).arg(QString::fromUtf8(name.data(), qsizetype(name.size())));
}

}  // namespace

struct SdkServer::Client {
    uint64_t id = 0;
    QTcpSocket* socket = nullptr;
    PacketReader reader;
    uint32_t protocol = 0;
    std::string name;
    std::optional<Clock::time_point> partialSince;  ///< when an unfinished packet began to wait
    bool refusedBefore = false;                     ///< later refusals are logged at debug level
    QString who() const { return Who(name, id); }
};

SdkServer::SdkServer(runtime::Runtime& runtime, ServerOptions options, QObject* parent)
    : QObject(parent), rt_(runtime), options_(std::move(options)) {
    server_ = new QTcpServer(this);
    connect(server_, &QTcpServer::newConnection, this, &SdkServer::accept);
    sweeper_ = new QTimer(this);
    sweeper_->setInterval(kSweepPeriod);
    connect(sweeper_, &QTimer::timeout, this, &SdkServer::sweep);
    const auto listChanged = [this](DeviceKind kind) {
        // A device that went takes its outside frames with it; one that came starts afresh.
        driven_[runtime::IndexOf(kind)].controller.reset();
        if (!rt_.connected(kind)) release(kind);
        announceDeviceList();
    };
    subscriptions_ += rt_.events.deviceConnected.subscribe(listChanged);
    subscriptions_ += rt_.events.deviceGone.subscribe(listChanged);
}

SdkServer::~SdkServer() {
    subscriptions_.clear();
    for (auto& [id, client] : clients_) {
        client->socket->disconnect(this);
        client->socket->abort();
    }
    clients_.clear();
    for (DeviceKind kind : runtime::kDeviceKinds) release(kind);
}

bool SdkServer::start() {
    if (!server_->listen(options_.address, options_.port)) {
        error_ = server_->errorString();
        qCWarning(lcSdk).noquote() << "SDK server cannot listen on" << options_.address.toString() << options_.port
                                   << ":" << error_;
        return false;
    }
    sweeper_->start();
    qCInfo(lcSdk).noquote() << "SDK server listening on" << server_->serverAddress().toString() << server_->serverPort();
    return true;
}

bool SdkServer::listening() const { return server_->isListening(); }
uint16_t SdkServer::port() const { return server_->serverPort(); }

void SdkServer::accept() {
    while (QTcpSocket* socket = server_->nextPendingConnection()) {
        if (clients_.size() >= options_.maxClients) {
            ++counts_.turnedAway;
            qCWarning(lcSdk) << "SDK server: too many clients, one more closed at once";
            socket->abort();
            socket->deleteLater();
            continue;
        }
        ++counts_.accepted;
        auto client = std::make_unique<Client>();
        client->id = nextClient_++;
        client->socket = socket;
        socket->setParent(this);
        const uint64_t id = client->id;
        connect(socket, &QTcpSocket::readyRead, this, [this, id] {
            if (auto it = clients_.find(id); it != clients_.end()) readFrom(*it->second);
        });
        connect(socket, &QTcpSocket::disconnected, this, [this, id] {
            if (auto it = clients_.find(id); it != clients_.end()) {
                qCInfo(lcSdk).noquote() << it->second->who() << "disconnected";
                remove(id);
            }
        });
        clients_.emplace(id, std::move(client));
    }
}

void SdkServer::readFrom(Client& client) {
    const uint64_t id = client.id;
    const QByteArray bytes = client.socket->readAll();
    client.reader.feed({reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size())});
    Packet packet;
    for (;;) {
        const ReadStatus status = client.reader.next(packet);
        if (status == ReadStatus::NeedMore) break;
        if (status != ReadStatus::Packet) {
            drop(client, Describe(status));
            return;
        }
        handle(client, packet.device, packet.id, packet.payload);
        // A request may have closed this client.
        if (!clients_.contains(id)) return;
    }
    if (client.reader.pending() == 0) {
        client.partialSince.reset();
    } else if (!client.partialSince) {
        client.partialSince = Clock::now();
    }
}

void SdkServer::send(Client& client, std::vector<uint8_t> bytes) {
    client.socket->write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size()));
    if (size_t(client.socket->bytesToWrite()) > options_.maxUnsent) drop(client, "does not read its replies");
}

void SdkServer::drop(Client& client, std::string_view why) {
    ++counts_.dropped;
    qCWarning(lcSdk).noquote() << "SDK server closes" << client.who() << ":" << QString::fromUtf8(why.data(), qsizetype(why.size()));
    const uint64_t id = client.id;
    client.socket->disconnect(this);
    client.socket->abort();
    remove(id);
}

void SdkServer::remove(uint64_t id) {
    auto it = clients_.find(id);
    if (it == clients_.end()) return;
    for (DeviceKind kind : runtime::kDeviceKinds)
        if (driven_[runtime::IndexOf(kind)].owner == id) release(kind);
    it->second->socket->disconnect(this);
    it->second->socket->deleteLater();
    clients_.erase(it);
}

void SdkServer::refuse(Client& client, std::string_view request, std::string_view why) {
    ++counts_.refused;
    const QString line = QStringLiteral("SDK server ignores %1 from %2: %3")
                             .arg(QString::fromLatin1(request.data(), qsizetype(request.size())), client.who(),
                                  QString::fromUtf8(why.data(), qsizetype(why.size())));
    if (client.refusedBefore) {
        qCDebug(lcSdk).noquote() << line;
    } else {
        qCWarning(lcSdk).noquote() << line;
        client.refusedBefore = true;
    }
}

void SdkServer::handle(Client& client, uint32_t device, uint32_t id, std::span<const uint8_t> payload) {
    namespace id_ = packet_id;
    switch (id) {
    case id_::kRequestProtocolVersion: {
        const std::optional<uint32_t> theirs = ParseClientProtocol(payload);
        if (!theirs) return refuse(client, "RequestProtocolVersion", Describe(Refusal::Malformed));
        client.protocol = std::min(*theirs, kNewestProtocol);
        return send(client, EncodeU32Packet(0, id, client.protocol));
    }
    case id_::kSetClientName:
        client.name = ParseClientName(payload);
        qCInfo(lcSdk).noquote() << client.who() << "connected";
        return;
    case id_::kRequestControllerCount:
        return send(client, EncodeU32Packet(0, id, uint32_t(controllers().size())));
    case id_::kRequestControllerData: {
        const std::optional<uint32_t> theirs = ParseClientProtocol(payload);
        const std::optional<DeviceKind> kind = controllerAt(device);
        // The client waits for this reply: one that cannot come closes the connection, so
        // the client is not left waiting for ever.
        if (!kind) return drop(client, "asked for a controller that is not there");
        const uint32_t protocol = std::min(theirs.value_or(client.protocol), kNewestProtocol);
        return send(client, EncodePacket(device, id, EncodeController(describe(*kind), protocol)));
    }
    case id_::kRequestProfileList:
        if (client.protocol >= 2) send(client, EncodePacket(0, id, EncodeProfileList({})));
        return;
    default: break;
    }

    // The requests that change a device.
    const char* name = "request";
    switch (id) {
    case id_::kUpdateLeds: name = "UpdateLEDs"; break;
    case id_::kUpdateZoneLeds: name = "UpdateZoneLEDs"; break;
    case id_::kUpdateSingleLed: name = "UpdateSingleLED"; break;
    case id_::kSetCustomMode: name = "SetCustomMode"; break;
    case id_::kUpdateMode: name = "UpdateMode"; break;
    case id_::kSaveMode: name = "SaveMode"; break;
    default: return;  // profiles, zone resizing and the rest: nothing we offer
    }
    const std::optional<DeviceKind> kind = controllerAt(device);
    if (!kind) return refuse(client, name, "no controller has that index");
    Controller& c = controllerOf(*kind);
    switch (id) {
    case id_::kUpdateLeds: {
        auto colours = ParseUpdateLeds(payload, c);
        if (!colours) return refuse(client, name, Describe(colours.refusal));
        c.colours = std::move(*colours.value);
        return showColours(client, *kind);
    }
    case id_::kUpdateZoneLeds: {
        auto zone = ParseUpdateZoneLeds(payload, c);
        if (!zone) return refuse(client, name, Describe(zone.refusal));
        std::copy(zone.value->colours.begin(), zone.value->colours.end(), c.colours.begin() + ptrdiff_t(c.zoneStart(zone.value->zone)));
        return showColours(client, *kind);
    }
    case id_::kUpdateSingleLed: {
        auto single = ParseUpdateSingleLed(payload, c);
        if (!single) return refuse(client, name, Describe(single.refusal));
        c.colours[single.value->led] = single.value->colour;
        return showColours(client, *kind);
    }
    case id_::kSetCustomMode: return enterDirect(client, *kind);
    default: break;
    }
    // UpdateMode and SaveMode: a choice of the user's, kept as a page's would be.
    auto change = ParseUpdateMode(payload, describe(*kind), client.protocol);
    if (!change) return refuse(client, name, Describe(change.refusal));
    if (change.value->mode.value == kDirectModeValue) return enterDirect(client, *kind);
    chooseEffect(*kind, change.value->mode);
}

std::vector<DeviceKind> SdkServer::controllers() const {
    std::vector<DeviceKind> kinds;
    for (DeviceKind kind : runtime::kDeviceKinds)
        if (rt_.connected(kind)) kinds.push_back(kind);
    return kinds;
}

std::optional<DeviceKind> SdkServer::controllerAt(uint32_t index) const {
    const std::vector<DeviceKind> kinds = controllers();
    if (index >= kinds.size()) return std::nullopt;
    return kinds[index];
}

DeviceModel SdkServer::modelOf(DeviceKind kind) const {
    switch (kind) {
    case DeviceKind::Keyboard: return rt_.keyboard.model.load();
    case DeviceKind::Mouse: return rt_.mouse.model.load();
    default: break;
    }
    return DeviceModel::Mousepad;
}

namespace {
lighting::LightingChoice CurrentChoice(runtime::Runtime& rt, DeviceKind kind) {
    switch (kind) {
    case DeviceKind::Keyboard:
        return rt.keyboard.read([](const keyboard::KeyboardData& d) { return lighting::LightingChoice::Of(d.lighting); });
    case DeviceKind::Mouse: return lighting::LightingChoice::Of(rt.mouse.state());
    default: break;
    }
    return lighting::LightingChoice::Of(rt.pad.state());
}
}  // namespace

Controller& SdkServer::controllerOf(DeviceKind kind) {
    Driven& d = driven_[runtime::IndexOf(kind)];
    const DeviceModel model = modelOf(kind);
    if (!d.controller || d.model != model) {
        d.controller = ControllerOf(model, CurrentChoice(rt_, kind), true);
        d.model = model;
    }
    return *d.controller;
}

Controller SdkServer::describe(DeviceKind kind) {
    const Driven& d = driven_[runtime::IndexOf(kind)];
    Controller c = ControllerOf(modelOf(kind), CurrentChoice(rt_, kind), d.direct);
    c.colours = controllerOf(kind).colours;
    return c;
}

void SdkServer::showColours(Client& client, DeviceKind kind) {
    Driven& d = driven_[runtime::IndexOf(kind)];
    d.direct = true;
    d.owner = client.id;
    d.lastFrame = Clock::now();
    ++counts_.frames;
    rt_.lighting.putOutsideFrame(runtime::LightingDeviceOf(kind), FrameOf(d.model, *d.controller));
}

void SdkServer::enterDirect(Client& client, DeviceKind kind) {
    Driven& d = driven_[runtime::IndexOf(kind)];
    d.direct = true;
    d.owner = client.id;
    d.lastFrame = Clock::now();
    rt_.lighting.beginOutside(runtime::LightingDeviceOf(kind));
}

void SdkServer::chooseEffect(DeviceKind kind, const Mode& mode) {
    const std::optional<lighting::LightingChoice> choice = ChoiceOf(modelOf(kind), mode, CurrentChoice(rt_, kind));
    if (!choice) return;
    release(kind);
    // Through the session, as the page's mode list does it: the effect starts afresh, the
    // synchronised effect ends and the selected lighting profile is saved.
    switch (kind) {
    case DeviceKind::Keyboard:
        rt_.keyboardSession().edit(runtime::kModeEdit, [&](keyboard::KeyboardData& d) { choice->writeTo(d.lighting); });
        break;
    case DeviceKind::Mouse:
        rt_.mouseSession().edit(runtime::kModeEdit, [&](mouse::MouseData& d) { choice->writeTo(d.state); });
        break;
    default:
        rt_.padSession().edit(runtime::kModeEdit, [&](mousepad::PadData& d) { choice->writeTo(d.state); });
        break;
    }
    rt_.events.modelChanged.emit(kind);
}

void SdkServer::release(DeviceKind kind) {
    Driven& d = driven_[runtime::IndexOf(kind)];
    d.direct = false;
    d.owner = 0;
    rt_.lighting.endOutside(runtime::LightingDeviceOf(kind));
}

void SdkServer::announceDeviceList() {
    const std::vector<uint8_t> packet = EncodePacket(0, packet_id::kDeviceListUpdated);
    std::vector<Client*> all;
    for (auto& [id, client] : clients_) all.push_back(client.get());
    for (Client* client : all) send(*client, packet);
}

void SdkServer::sweep() {
    const Clock::time_point now = Clock::now();
    std::vector<Client*> stalled;
    for (auto& [id, client] : clients_)
        if (client->partialSince && now - *client->partialSince > options_.partialTimeout) stalled.push_back(client.get());
    for (Client* client : stalled) drop(*client, "sent half a packet and then nothing");
    for (DeviceKind kind : runtime::kDeviceKinds) {
        const Driven& d = driven_[runtime::IndexOf(kind)];
        if (d.direct && now - d.lastFrame > options_.idleReturn) {
            qCInfo(lcSdk) << "SDK server: no frame for a while, the device returns to its effect";
            release(kind);
        }
    }
}

}  // namespace orvane::integrations::openrgb
