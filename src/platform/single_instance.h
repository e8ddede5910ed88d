// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// SingleInstance: one running copy per user session. The first copy holds the lock file
// "HALVIXDRVER.lock" and listens on the local socket "ECORVADA_001" in the session's
// runtime folder; a later copy finds the lock taken, connects to the socket, sends the
// signal and exits. A lock left by a crashed copy is recognised as stale and taken over.

#include <QLockFile>
#include <QLocalServer>
#include <QObject>
#include <QString>

#include <memory>

namespace orvane::platform {

class SingleInstance : public QObject {
    Q_OBJECT
public:
    static constexpr char kLockName[] = "HALVIXDRVER";
    static constexpr char kSignalName[] = "ECORVADA_001";

    /// The session's runtime folder (XDG_RUNTIME_DIR, else a per-user temporary folder).
    static QString DefaultFolder();

    explicit SingleInstance(QString folder = DefaultFolder(), QObject* parent = nullptr);
    ~SingleInstance() override;

    /// true: this is the first copy; it now holds the lock and listens for signals.
    bool acquire();
    /// For a later copy: tells the first one. false when it cannot be reached in time
    /// (for instance while it is still starting); the caller exits anyway.
    bool signalRunning(int timeoutMs = 2000) const;

    QString lockPath() const;
    QString socketPath() const;

Q_SIGNALS:
    /// A later copy has started (emitted on the thread that owns this object).
    void signalled();

private:
    void onConnection();

    QString folder_;
    std::unique_ptr<QLockFile> lock_;
    QLocalServer server_;
};

}  // namespace orvane::platform
