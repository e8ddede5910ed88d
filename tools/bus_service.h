// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's D-Bus service on the session bus (names in tools/bus_names.h, interfaces in
// data/dbus): a manager object (the version, the data folder, the SDK server, the devices,
// and Run, through which orvanectl hands over its command lines) and one object per device
// kind (its model, firmware, profile lists, lighting; methods that are orvanectl's device
// commands). Every method runs orvanectl's own command code as a job of the device
// (tools/command_host.h) and is answered when the job ends; a value the command refuses is
// io.orvane.Configurator1.Error.BadArgument, a device or file that failed .Error.Failed,
// each with the command's one line. Signals follow the runtime's events.
//
// Everything here runs on the window's thread (QtDBus delivers the calls to it).

#include <QDBusContext>
#include <QDBusObjectPath>
#include <QObject>
#include <QStringList>
#include <QVariantMap>

#include <array>
#include <memory>

#include "device/models.h"
#include "runtime/events.h"

namespace orvane::runtime {
class Runtime;
}

namespace orvane::cli {

struct HostedResult;

/// Answers a delayed D-Bus call with a command's result.
class BusCallContext : public QObject, protected QDBusContext {
    Q_OBJECT  // QtDBus finds the QDBusContext through the meta-object

protected:
    /// Runs the command line in the program and answers the current call with the
    /// command's output (exit 0), or its first error line as a D-Bus error.
    void runForCall(runtime::Runtime& rt, std::vector<std::string> args);
    /// Answers the current call with a BadArgument error at once.
    void refuse(const QString& why);
};

class BusDevice final : public BusCallContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "io.orvane.Configurator1.Device")
    Q_PROPERTY(QString Kind READ kindName)
    Q_PROPERTY(QString Model READ model)
    Q_PROPERTY(bool Connected READ connected)
    Q_PROPERTY(QString FirmwareVersion READ firmwareVersion)
    Q_PROPERTY(QStringList LightingProfiles READ lightingProfiles)
    Q_PROPERTY(int SelectedLightingProfile READ selectedLightingProfile)
    Q_PROPERTY(QStringList KeyProfiles READ keyProfiles)
    Q_PROPERTY(int SelectedKeyProfile READ selectedKeyProfile)
    Q_PROPERTY(int LightingMode READ lightingMode)
    Q_PROPERTY(int Brightness READ brightness)
    Q_PROPERTY(int Speed READ speed)
    Q_PROPERTY(int Direction READ direction)
    Q_PROPERTY(bool ColourCycle READ colourCycle)
    Q_PROPERTY(QString Colour READ colour)

public:
    BusDevice(runtime::Runtime& rt, device::DeviceKind kind);

    QString kindName() const;
    QString model() const;
    bool connected() const;
    QString firmwareVersion() const;
    QStringList lightingProfiles() const;
    int selectedLightingProfile() const;
    QStringList keyProfiles() const;
    int selectedKeyProfile() const;
    int lightingMode() const { return lightingByte(1); }
    int brightness() const { return lightingByte(2); }
    int speed() const { return lightingByte(3); }
    int direction() const { return lightingByte(4); }
    bool colourCycle() const { return lightingByte(5) != 0; }
    QString colour() const;

    /// Tells the bus that the properties may have changed (PropertiesChanged, invalidated).
    void propertiesChanged();

public Q_SLOTS:
    Q_SCRIPTABLE QString Info();
    Q_SCRIPTABLE QString ReadBack();
    Q_SCRIPTABLE QString SelectProfile(const QString& list, int index);
    Q_SCRIPTABLE QString SelectSlot(uint slot);
    Q_SCRIPTABLE QString ResetDefaults();
    Q_SCRIPTABLE QString Assign(uint key, const QString& function);
    Q_SCRIPTABLE QString SetLighting(const QVariantMap& values);
    Q_SCRIPTABLE QString PaintKeys(uint layer, const QList<uint>& positions, const QString& colour);
    Q_SCRIPTABLE QString UploadMacros();
    Q_SCRIPTABLE QString UploadCursors();
    Q_SCRIPTABLE QString ReadCursors();

Q_SIGNALS:
    Q_SCRIPTABLE void ProfileSelected(const QString& list, int index, const QString& name);
    Q_SCRIPTABLE void SettingsChanged();

private:
    int lightingByte(size_t index) const;
    runtime::Runtime& rt_;
    device::DeviceKind kind_;
};

class BusManager final : public BusCallContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "io.orvane.Configurator1.Manager")
    Q_PROPERTY(QString Version READ version)
    Q_PROPERTY(QString DataFolder READ dataFolder)
    Q_PROPERTY(bool SdkServer READ sdkServer)
    Q_PROPERTY(int SdkServerPort READ sdkServerPort)
    Q_PROPERTY(QList<QDBusObjectPath> Devices READ devices)

public:
    explicit BusManager(runtime::Runtime& rt);
    QString version() const;
    QString dataFolder() const;
    bool sdkServer() const;
    int sdkServerPort() const;
    QList<QDBusObjectPath> devices() const;

public Q_SLOTS:
    /// orvanectl's command line (COMMAND ARGS), its working folder and data folder; answers
    /// with the exit code and what the command printed on stdout and stderr.
    Q_SCRIPTABLE int Run(const QStringList& args, const QString& workingFolder, const QString& dataFolder,
                         QString& out, QString& err);

Q_SIGNALS:
    Q_SCRIPTABLE void DeviceAdded(const QDBusObjectPath& device, const QString& kind);
    Q_SCRIPTABLE void DeviceRemoved(const QDBusObjectPath& device, const QString& kind);

private:
    runtime::Runtime& rt_;
};

/// The objects, registered on the session bus, and the name taken, while it lives.
class BusService {
public:
    explicit BusService(runtime::Runtime& rt);
    ~BusService();
    /// false with the reason when there is no session bus or the name is taken.
    bool start(QString* problem);

private:
    runtime::Runtime& rt_;
    BusManager manager_;
    std::array<std::unique_ptr<BusDevice>, 3> devices_;
    runtime::Subscriptions subscriptions_;
    bool registered_ = false;
};

}  // namespace orvane::cli
