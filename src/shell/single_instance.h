#pragma once

// One running Vantrix per user and settings file. The running instance
// holds a lock file and listens on a local socket, both named after the
// user and the settings file in the user's private run-time folder; a later
// start that cannot take the lock asks the listener to bring its window to
// the front, waits for its answer and exits, so there is never a second
// tray icon or a second writer of the same file.
//
// The lock, not the socket, says whether an instance lives: the kernel
// drops it when the holder ends, however it ends, so a socket file left by
// a crash is simply replaced and a live one is never taken over. A listener
// counts only when its peer credentials and its socket file belong to the
// user. An instance that is ending stops listening before its last writes;
// a start that meets it waits for the lock and then runs itself.
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
    // The socket's path for this user and settings file; empty when the
    // user has no private run-time folder.
    static QString SocketName(const std::string& settingsFile);

    explicit TSingleInstance(const std::string& settingsFile, QObject* parent = nullptr);
    ~TSingleInstance() override;

    // True when this start is to run: it is the only instance (and now
    // listens), or single instance cannot be had here (said once on
    // stderr). False when another instance runs and took the request to
    // come to the front.
    bool Claim();
    // Stops listening and removes the socket; the lock is kept until the
    // object goes. Called before the final writes of a run that ends.
    void Release();
    // Called when a later start asks this instance to come to the front.
    std::function<void()> OnActivate;

private:
    enum class TAnswer { Activated, Busy, Nobody, Foreign };
    struct TClient;
    TAnswer askRunningInstance() const;
    bool takeLock();
    bool listenOn();
    void acceptClients();
    void readClient(TClient* client);

    std::string FPath;
    std::string FFolderError;
    int FLock = -1;
    int FListener = -1;
    QSocketNotifier* FNotifier = nullptr;
    std::vector<std::unique_ptr<TClient>> FClients;
};

}  // namespace vx
