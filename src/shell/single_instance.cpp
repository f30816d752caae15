#include "shell/single_instance.h"

#include <unistd.h>

#include <QCryptographicHash>
#include <QDir>
#include <QLocalSocket>

namespace vx {
namespace {

constexpr int kConnectTimeoutMs = 1000;
const QByteArray kActivate = QByteArrayLiteral("activate\n");

}  // namespace

QString TSingleInstance::SocketName(const std::string& settingsFile) {
    // A full path in the user's runtime folder (private to the user), else
    // the temporary folder; the settings file's path, hashed, tells two
    // portable copies apart.
    const QByteArray hash =
        QCryptographicHash::hash(QByteArray::fromStdString(settingsFile), QCryptographicHash::Sha256).toHex().left(16);
    QString folder = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (folder.isEmpty() || !QDir(folder).exists()) folder = QDir::tempPath();
    return QDir(folder).filePath(QStringLiteral("vantrix-%1-%2").arg(::getuid()).arg(QString::fromLatin1(hash)));
}

TSingleInstance::TSingleInstance(const std::string& settingsFile, QObject* parent)
    : QObject(parent), FName(SocketName(settingsFile)) {}

bool TSingleInstance::askRunningInstance() {
    QLocalSocket socket;
    socket.connectToServer(FName);
    if (!socket.waitForConnected(kConnectTimeoutMs)) return false;
    socket.write(kActivate);
    socket.waitForBytesWritten(kConnectTimeoutMs);
    socket.disconnectFromServer();
    return true;
}

bool TSingleInstance::Claim() {
    if (askRunningInstance()) return false;
    FServer = std::make_unique<QLocalServer>();
    FServer->setSocketOptions(QLocalServer::UserAccessOption);
    if (!FServer->listen(FName)) {
        // Nobody answered: a socket left by a crashed instance. Take it over.
        QLocalServer::removeServer(FName);
        if (!FServer->listen(FName)) {
            // Another start won the race in between: defer to it.
            if (askRunningInstance()) return false;
            return true;  // no socket at all: run alone rather than not at all
        }
    }
    connect(FServer.get(), &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* client = FServer->nextPendingConnection()) {
            connect(client, &QLocalSocket::readyRead, this, [this, client] {
                if (client->readAll().contains(kActivate) && OnActivate) OnActivate();
            });
            connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
        }
    });
    return true;
}

}  // namespace vx
