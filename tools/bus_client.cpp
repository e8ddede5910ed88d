// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/bus_client.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QStringList>

#include <atomic>
#include <cstdlib>
#include <memory>

#include "tools/bus_names.h"

namespace orvane::cli {

namespace {

// A command may send a large macro image or wait for a slow device: the bound is generous.
constexpr int kRunTimeoutMs = 10 * 60 * 1000;
constexpr int kQueryTimeoutMs = 5000;

/// QtDBus wants an application object; orvanectl has none of its own. It lives until the
/// process ends: taking it down while the bus library's thread runs makes that thread
/// complain on stderr, which is orvanectl's output.
std::atomic<bool> gBusUsed{false};

void EnsureApplication() {
    gBusUsed = true;
    if (QCoreApplication::instance()) return;
    static int argc = 1;
    static char name[] = "orvanectl";
    static char* argv[] = {name, nullptr};
    static auto* app = new QCoreApplication(argc, argv);
    (void)app;
}

/// Whether a session bus can be reached without starting one: libdbus would otherwise
/// launch a bus of its own for an X display.
bool SessionBusKnown() {
    if (const char* address = std::getenv("DBUS_SESSION_BUS_ADDRESS"); address && *address) return true;
    const char* runtimeDir = std::getenv("XDG_RUNTIME_DIR");
    std::error_code ec;
    return runtimeDir && *runtimeDir && std::filesystem::exists(std::filesystem::path(runtimeDir) / "bus", ec);
}

/// orvanectl's own connection to the session bus, closed before the application object
/// goes (the bus library's thread then has nothing of it left to deliver at exit).
class SessionBus {
public:
    SessionBus() : connection_(QDBusConnection::connectToBus(QDBusConnection::SessionBus, kName)) {}
    ~SessionBus() { QDBusConnection::disconnectFromBus(kName); }
    bool connected() const { return connection_.isConnected(); }
    QDBusMessage call(const char* method, const QVariantList& arguments, const char* interface, int timeoutMs) {
        auto message = QDBusMessage::createMethodCall(bus::kService, bus::kManagerPath, interface, method);
        message.setAutoStartService(false);
        message.setArguments(arguments);
        return connection_.call(message, QDBus::Block, timeoutMs);
    }

private:
    static constexpr char kName[] = "orvanectl";
    QDBusConnection connection_;
};

bool NotRunning(const QDBusMessage& reply) {
    return reply.type() == QDBusMessage::ErrorMessage &&
           (reply.errorName() == QLatin1String("org.freedesktop.DBus.Error.ServiceUnknown") ||
            reply.errorName() == QLatin1String("org.freedesktop.DBus.Error.NameHasNoOwner"));
}

}  // namespace

bool SessionBusUsed() { return gBusUsed; }

DaemonStatus QueryDaemon() {
    DaemonStatus status;
    if (!SessionBusKnown()) {
        status.problem = "there is no session bus";
        return status;
    }
    EnsureApplication();
    SessionBus bus;
    if (!bus.connected()) {
        status.problem = "the session bus cannot be reached";
        return status;
    }
    const auto reply = bus.call("GetAll", {QString::fromLatin1(bus::kManagerInterface)},
                                "org.freedesktop.DBus.Properties", kQueryTimeoutMs);
    if (NotRunning(reply)) {
        status.problem = "the program is not running";
        return status;
    }
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().size() != 1) {
        status.problem = "the program does not answer (" + reply.errorMessage().toStdString() + ")";
        return status;
    }
    const auto properties = qdbus_cast<QVariantMap>(reply.arguments().at(0));
    status.reachable = true;
    status.version = properties.value(QStringLiteral("Version")).toString().toStdString();
    status.dataFolder = properties.value(QStringLiteral("DataFolder")).toString().toStdString();
    status.sdkServer = properties.value(QStringLiteral("SdkServer")).toBool();
    status.sdkServerPort = properties.value(QStringLiteral("SdkServerPort")).toInt();
    return status;
}

std::optional<HostedResult> ForwardToProgram(const HostedCall& call) {
    if (!SessionBusKnown()) return std::nullopt;
    EnsureApplication();
    SessionBus bus;
    if (!bus.connected()) return std::nullopt;
    QStringList args;
    for (const auto& a : call.args) args << QString::fromStdString(a);
    const auto reply = bus.call("Run",
                                {args, QString::fromStdString(call.workingFolder.string()),
                                 QString::fromStdString(call.dataFolder.string())},
                                bus::kManagerInterface, kRunTimeoutMs);
    if (NotRunning(reply)) return std::nullopt;
    HostedResult result;
    const auto values = reply.arguments();
    if (reply.type() != QDBusMessage::ReplyMessage || values.size() != 3) {
        result.exitCode = 1;
        result.err = "orvanectl: the running program did not answer (" + reply.errorMessage().toStdString() +
                     "); --direct opens the devices here\n";
        return result;
    }
    result.exitCode = values.at(0).toInt();
    result.out = values.at(1).toString().toStdString();
    result.err = values.at(2).toString().toStdString();
    return result;
}

}  // namespace orvane::cli
