#pragma once

// One running Vantrix per user and settings file. The first instance
// listens on a local socket named after both; a later start finds it,
// asks it to come to the front and exits, so there is never a second tray
// icon or a second writer of the same file. A socket left by an instance
// that crashed answers nobody and is taken over.
//
// Plain Unix-domain sockets watched by the event loop: the program needs
// nothing else of a network library, and loading one costs every start.

#include <QObject>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QSocketNotifier;

namespace vx {

class TSingleInstance : public QObject {
    Q_OBJECT
public:
    // The socket's name for this user and settings file.
    static QString SocketName(const std::string& settingsFile);

    explicit TSingleInstance(const std::string& settingsFile, QObject* parent = nullptr);
    ~TSingleInstance() override;

    // True when this is the only instance (it now listens); false when
    // another one runs and was asked to come to the front.
    bool Claim();
    // Called when a later start asks this instance to come to the front.
    std::function<void()> OnActivate;

private:
    struct TClient;
    bool askRunningInstance() const;
    bool listenOn();
    void acceptClients();
    void readClient(TClient* client);

    std::string FPath;
    int FListener = -1;
    bool FOwnsPath = false;
    QSocketNotifier* FNotifier = nullptr;
    std::vector<std::unique_ptr<TClient>> FClients;
};

}  // namespace vx
