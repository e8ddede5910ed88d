// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/single_instance.h"

#include <QDir>
#include <QLocalSocket>
#include <QStandardPaths>

#include <unistd.h>

namespace orvane::platform {

QString SingleInstance::DefaultFolder() {
    auto folder = QString::fromLocal8Bit(qgetenv("XDG_RUNTIME_DIR"));
    if (folder.isEmpty() || !QDir(folder).exists())
        folder = QDir::tempPath() + QStringLiteral("/orvane-%1").arg(::getuid());
    return folder;
}

SingleInstance::SingleInstance(QString folder, QObject* parent)
    : QObject(parent), folder_(std::move(folder)) {
    connect(&server_, &QLocalServer::newConnection, this, &SingleInstance::onConnection);
}

SingleInstance::~SingleInstance() {
    server_.close();
    if (lock_) lock_->unlock();
}

QString SingleInstance::lockPath() const {
    return folder_ + "/" + QString::fromLatin1(kLockName) + ".lock";
}

QString SingleInstance::socketPath() const {
    return folder_ + "/" + QString::fromLatin1(kSignalName);
}

bool SingleInstance::acquire() {
    QDir().mkpath(folder_);
    QFile::setPermissions(folder_, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    lock_ = std::make_unique<QLockFile>(lockPath());
    // Age alone never makes the lock stale; a lock whose process has gone always is.
    lock_->setStaleLockTime(0);
    if (!lock_->tryLock(0)) {
        lock_.reset();
        return false;
    }
    QLocalServer::removeServer(socketPath());  // a socket file left by a crashed copy
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    server_.listen(socketPath());
    return true;
}

bool SingleInstance::signalRunning(int timeoutMs) const {
    QLocalSocket socket;
    socket.connectToServer(socketPath());
    if (!socket.waitForConnected(timeoutMs)) return false;
    socket.write(QByteArray(kSignalName) + "\n");
    const bool sent = socket.waitForBytesWritten(timeoutMs);
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState) socket.waitForDisconnected(timeoutMs);
    return sent;
}

void SingleInstance::onConnection() {
    while (QLocalSocket* client = server_.nextPendingConnection()) {
        connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
        connect(client, &QLocalSocket::readyRead, this, [this, client] {
            if (!client->canReadLine()) return;
            if (client->readLine().trimmed() == kSignalName) Q_EMIT signalled();
            client->disconnectFromServer();
        });
    }
}

}  // namespace orvane::platform
