#pragma once

// One running Vantrix per user and settings file. The first instance
// listens on a local socket named after both; a later start finds it,
// asks it to come to the front and exits, so there is never a second tray
// icon or a second writer of the same file. A socket left by an instance
// that crashed answers nobody and is taken over.

#include <QLocalServer>
#include <QObject>
#include <functional>
#include <memory>
#include <string>

namespace vx {

class TSingleInstance : public QObject {
    Q_OBJECT
public:
    // The socket's name for this user and settings file.
    static QString SocketName(const std::string& settingsFile);

    explicit TSingleInstance(const std::string& settingsFile, QObject* parent = nullptr);

    // True when this is the only instance (it now listens); false when
    // another one runs and was asked to come to the front.
    bool Claim();
    // Called when a later start asks this instance to come to the front.
    std::function<void()> OnActivate;

private:
    bool askRunningInstance();

    QString FName;
    std::unique_ptr<QLocalServer> FServer;
};

}  // namespace vx
