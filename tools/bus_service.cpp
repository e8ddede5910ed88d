// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/bus_service.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>

#include "device/log.h"
#include "platform/machine_settings.h"
#include "profiles/profile_lists.h"
#include "runtime/runtime.h"
#include "tools/bus_names.h"
#include "tools/command_host.h"
#include "update/settings_view.h"

namespace orvane::cli {

namespace {

using device::DeviceKind;

QString Text(const std::string& s) { return QString::fromStdString(s); }

/// The command's first error line without orvanectl's prefix: the D-Bus error's message.
QString ErrorLine(const std::string& err) {
    std::string line = err.substr(0, err.find('\n'));
    constexpr std::string_view prefix = "orvanectl: ";
    if (line.rfind(prefix, 0) == 0) line.erase(0, prefix.size());
    return Text(line.empty() ? std::string("the command failed") : line);
}

QStringList Names(const profiles::ProfileList& list) {
    QStringList names;
    for (const auto& n : list.names) names << Text(n);
    return names;
}

/// An integral value of a{sv}, as D-Bus clients send them (y, n, q, i, u, x, t).
std::optional<qlonglong> Integral(const QVariant& v) {
    switch (v.metaType().id()) {
    case QMetaType::UChar:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong: return v.toLongLong();
    default: return std::nullopt;
    }
}

}  // namespace

// ---- answering with a command ---------------------------------------------------------------

void BusCallContext::runForCall(runtime::Runtime& rt, std::vector<std::string> args) {
    setDelayedReply(true);
    const QDBusMessage call = message();
    QDBusConnection bus = connection();
    HostedCall hosted;
    hosted.args = std::move(args);
    RunInProgram(rt, std::move(hosted), [call, bus](const HostedResult& r) mutable {
        if (r.exitCode == kExitOk) {
            QString out = Text(r.out);
            while (out.endsWith(QLatin1Char('\n'))) out.chop(1);
            bus.send(call.createReply(out));
        } else {
            bus.send(call.createErrorReply(
                    QString::fromLatin1(r.exitCode == kExitUsage ? bus::kBadArgumentError : bus::kFailedError),
                    ErrorLine(r.err)));
        }
    });
}

void BusCallContext::refuse(const QString& why) {
    sendErrorReply(QString::fromLatin1(bus::kBadArgumentError), why);
}

// ---- a device --------------------------------------------------------------------------------

BusDevice::BusDevice(runtime::Runtime& rt, DeviceKind kind) : rt_(rt), kind_(kind) {}

QString BusDevice::kindName() const { return QString::fromLatin1(device::KindTag(kind_).data()); }

QString BusDevice::model() const {
    if (!connected()) return {};
    return QString::fromUtf8(device::Identity(ConnectedModel(rt_, kind_)).displayName.data());
}

bool BusDevice::connected() const { return rt_.connected(kind_); }

QString BusDevice::firmwareVersion() const {
    // Only the keyboard reports a firmware version.
    if (!connected() || kind_ != DeviceKind::Keyboard) return QString::fromLatin1(update::kUnknownVersion.data());
    return Text(update::KeyboardLine(rt_.flags.keyboardVersion.load(), std::nullopt).installed);
}

QStringList BusDevice::lightingProfiles() const {
    return Names(rt_.store.list(profiles::FindList(kind_, true)->id));
}

int BusDevice::selectedLightingProfile() const { return rt_.store.list(profiles::FindList(kind_, true)->id).selection; }

QStringList BusDevice::keyProfiles() const {
    const auto* keys = profiles::FindList(kind_, false);
    return keys ? Names(rt_.store.list(keys->id)) : QStringList();
}

int BusDevice::selectedKeyProfile() const {
    const auto* keys = profiles::FindList(kind_, false);
    return keys ? rt_.store.list(keys->id).selection : -1;
}

int BusDevice::lightingByte(size_t index) const {
    switch (kind_) {
    case DeviceKind::Keyboard: return rt_.keyboard.read([index](const auto& d) { return int(d.lighting.bytes[index]); });
    case DeviceKind::Mouse: return int(rt_.mouse.state().bytes[index]);
    case DeviceKind::Mousepad: return int(rt_.pad.state().bytes[index]);
    }
    return 0;
}

QString BusDevice::colour() const {
    return QStringLiteral("%1%2%3")
            .arg(lightingByte(6), 2, 16, QLatin1Char('0'))
            .arg(lightingByte(7), 2, 16, QLatin1Char('0'))
            .arg(lightingByte(8), 2, 16, QLatin1Char('0'))
            .toUpper();
}

void BusDevice::propertiesChanged() {
    const QString path = QString::fromLatin1(bus::kDevicePaths[runtime::IndexOf(kind_)]);
    auto signal = QDBusMessage::createSignal(path, QStringLiteral("org.freedesktop.DBus.Properties"),
                                             QStringLiteral("PropertiesChanged"));
    static const QStringList kAll{"Model",      "Connected", "FirmwareVersion", "LightingProfiles",
                                  "SelectedLightingProfile", "KeyProfiles", "SelectedKeyProfile",
                                  "LightingMode", "Brightness", "Speed", "Direction", "ColourCycle", "Colour"};
    signal << QString::fromLatin1(bus::kDeviceInterface) << QVariantMap() << kAll;
    QDBusConnection::sessionBus().send(signal);
}

QString BusDevice::Info() {
    runForCall(rt_, {"info", std::string(device::KindTag(kind_))});
    return {};
}

QString BusDevice::ReadBack() {
    runForCall(rt_, {"readback", std::string(device::KindTag(kind_))});
    return {};
}

QString BusDevice::SelectProfile(const QString& list, int index) {
    if (list != QLatin1String("key") && list != QLatin1String("led")) {
        refuse(QStringLiteral("the list is \"key\" or \"led\", not \"%1\"").arg(list));
        return {};
    }
    if (index < 0) {
        refuse(QStringLiteral("a profile index is 0 or more, not %1").arg(index));
        return {};
    }
    runForCall(rt_, {"profile", "select", std::string(device::KindTag(kind_)), list.toStdString(), std::to_string(index)});
    return {};
}

QString BusDevice::SelectSlot(uint slot) {
    runForCall(rt_, {"slot", std::string(device::KindTag(kind_)), std::to_string(slot)});
    return {};
}

QString BusDevice::ResetDefaults() {
    runForCall(rt_, {"reset", std::string(device::KindTag(kind_))});
    return {};
}

QString BusDevice::Assign(uint key, const QString& function) {
    runForCall(rt_, {"assign", std::string(device::KindTag(kind_)), std::to_string(key), function.toStdString()});
    return {};
}

QString BusDevice::SetLighting(const QVariantMap& values) {
    std::vector<std::string> line{"lighting", std::string(device::KindTag(kind_))};
    static const std::array<std::pair<const char*, const char*>, 5> kNumbers{
            {{"mode", "--mode"}, {"brightness", "--brightness"}, {"speed", "--speed"}, {"direction", "--direction"},
             {"seven", "--seven"}}};
    for (auto it = values.begin(); it != values.end(); ++it) {
        const QString& key = it.key();
        const QVariant value = it.value();
        if (key == QLatin1String("colour") || key == QLatin1String("color")) {
            if (value.metaType().id() != QMetaType::QString) {
                refuse(QStringLiteral("%1 is a text RRGGBB").arg(key));
                return {};
            }
            line.insert(line.end(), {"--colour", value.toString().toStdString()});
            continue;
        }
        const auto* number = std::find_if(kNumbers.begin(), kNumbers.end(),
                                          [&](const auto& row) { return key == QLatin1String(row.first); });
        if (number == kNumbers.end()) {
            refuse(QStringLiteral("unknown lighting value \"%1\" (mode, brightness, speed, direction, seven, colour)")
                           .arg(key));
            return {};
        }
        const auto n = Integral(value);
        if (!n || *n < 0 || *n > 255) {
            refuse(QStringLiteral("%1 is a whole number within the device's range").arg(key));
            return {};
        }
        line.insert(line.end(), {number->second, std::to_string(*n)});
    }
    if (line.size() == 2) {
        refuse(QStringLiteral("no lighting value given"));
        return {};
    }
    runForCall(rt_, std::move(line));
    return {};
}

QString BusDevice::PaintKeys(uint layer, const QList<uint>& positions, const QString& colour) {
    std::vector<std::string> line{"lighting", std::string(device::KindTag(kind_))};
    for (const uint p : positions)
        line.insert(line.end(), {"--paint", std::to_string(layer) + ':' + std::to_string(p) + ':' + colour.toStdString()});
    if (positions.isEmpty()) {
        refuse(QStringLiteral("no key position given"));
        return {};
    }
    runForCall(rt_, std::move(line));
    return {};
}

QString BusDevice::UploadMacros() {
    runForCall(rt_, {"macro", "upload", std::string(device::KindTag(kind_))});
    return {};
}

QString BusDevice::UploadCursors() {
    if (kind_ != DeviceKind::Mouse) {
        refuse(QStringLiteral("only the mouse has cursor sequences"));
        return {};
    }
    runForCall(rt_, {"cursor", "upload"});
    return {};
}

QString BusDevice::ReadCursors() {
    if (kind_ != DeviceKind::Mouse) {
        refuse(QStringLiteral("only the mouse has cursor sequences"));
        return {};
    }
    runForCall(rt_, {"cursor", "read"});
    return {};
}

// ---- the manager -----------------------------------------------------------------------------

BusManager::BusManager(runtime::Runtime& rt) : rt_(rt) {}

QString BusManager::version() const { return Text(platform::MachineSettings::BuildVersion()); }

QString BusManager::dataFolder() const { return Text(rt_.store.dataFolder().string()); }

bool BusManager::sdkServer() const { return rt_.sdkServerPort.has_value(); }

int BusManager::sdkServerPort() const { return rt_.sdkServerPort ? int(*rt_.sdkServerPort) : 0; }

QList<QDBusObjectPath> BusManager::devices() const {
    QList<QDBusObjectPath> paths;
    for (const DeviceKind kind : runtime::kDeviceKinds)
        if (rt_.connected(kind)) paths << QDBusObjectPath(QString::fromLatin1(bus::kDevicePaths[runtime::IndexOf(kind)]));
    return paths;
}

int BusManager::Run(const QStringList& args, const QString& workingFolder, const QString& dataFolder, QString&,
                    QString&) {
    setDelayedReply(true);
    const QDBusMessage call = message();
    QDBusConnection bus = connection();
    HostedCall hosted;
    for (const auto& a : args) hosted.args.push_back(a.toStdString());
    hosted.workingFolder = workingFolder.toStdString();
    hosted.dataFolder = dataFolder.toStdString();
    RunInProgram(rt_, std::move(hosted), [call, bus](const HostedResult& r) mutable {
        bus.send(call.createReply({r.exitCode, Text(r.out), Text(r.err)}));
    });
    return 0;
}

// ---- the service -----------------------------------------------------------------------------

BusService::BusService(runtime::Runtime& rt) : rt_(rt), manager_(rt) {
    for (const DeviceKind kind : runtime::kDeviceKinds)
        devices_[runtime::IndexOf(kind)] = std::make_unique<BusDevice>(rt, kind);
}

BusService::~BusService() {
    if (!registered_) return;
    auto bus = QDBusConnection::sessionBus();
    bus.unregisterService(QString::fromLatin1(bus::kService));
    bus.unregisterObject(QString::fromLatin1(bus::kManagerPath), QDBusConnection::UnregisterTree);
}

bool BusService::start(QString* problem) {
    auto bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        if (problem) *problem = QStringLiteral("no session bus: ") + bus.lastError().message();
        return false;
    }
    constexpr auto kExport = QDBusConnection::ExportScriptableSlots | QDBusConnection::ExportScriptableSignals |
                             QDBusConnection::ExportAllProperties;
    bool ok = bus.registerObject(QString::fromLatin1(bus::kManagerPath), &manager_, kExport);
    for (const DeviceKind kind : runtime::kDeviceKinds)
        ok = ok && bus.registerObject(QString::fromLatin1(bus::kDevicePaths[runtime::IndexOf(kind)]),
                                      devices_[runtime::IndexOf(kind)].get(), kExport);
    if (!ok || !bus.registerService(QString::fromLatin1(bus::kService))) {
        if (problem) *problem = QStringLiteral("the name %1 is taken: ").arg(QString::fromLatin1(bus::kService)) +
                                bus.lastError().message();
        bus.unregisterObject(QString::fromLatin1(bus::kManagerPath), QDBusConnection::UnregisterTree);
        return false;
    }
    registered_ = true;

    auto& events = rt_.events;
    auto path = [](DeviceKind kind) { return QDBusObjectPath(QString::fromLatin1(bus::kDevicePaths[runtime::IndexOf(kind)])); };
    auto kindText = [](DeviceKind kind) { return QString::fromLatin1(device::KindTag(kind).data()); };
    subscriptions_ += events.deviceConnected.subscribe([this, path, kindText](const DeviceKind& kind) {
        devices_[runtime::IndexOf(kind)]->propertiesChanged();
        Q_EMIT manager_.DeviceAdded(path(kind), kindText(kind));
    });
    subscriptions_ += events.deviceGone.subscribe([this, path, kindText](const DeviceKind& kind) {
        devices_[runtime::IndexOf(kind)]->propertiesChanged();
        Q_EMIT manager_.DeviceRemoved(path(kind), kindText(kind));
    });
    auto changed = [this](const DeviceKind& kind) {
        auto& device = *devices_[runtime::IndexOf(kind)];
        device.propertiesChanged();
        Q_EMIT device.SettingsChanged();
    };
    subscriptions_ += events.modelChanged.subscribe(changed);
    subscriptions_ += events.settingsEdited.subscribe(changed);
    auto selected = [this](const profiles::ListId& id, const profiles::ProfileResult& r) {
        if (!r.selected || r.loaded != profiles::ReadResult::Read) return;
        const auto& list = profiles::ListSpecOf(id);
        auto& device = *devices_[runtime::IndexOf(list.kind)];
        device.propertiesChanged();
        Q_EMIT device.ProfileSelected(QString::fromLatin1(list.lighting ? "led" : "key"), *r.selected,
                                      Text(r.selectedName));
    };
    subscriptions_ += events.profileLoaded.subscribe(selected);
    return true;
}

}  // namespace orvane::cli
