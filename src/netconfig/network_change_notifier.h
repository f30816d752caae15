#pragma once

// Tells its owner on the GUI thread that the machine's IPv4 addresses or
// interfaces changed. A worker thread listens to the kernel's address and
// link change messages; a burst of messages gives one notification, handed
// to the GUI thread's event loop, and the worker waits until the handler has
// run. Changes that arrive while the handler runs are not lost: they give
// one more notification afterwards.
//
// Nothing is delivered after destruction, and destruction returns as soon
// as the worker has noticed (it is woken at once; it also looks at its stop
// flag at least every 500 ms).

#include <QObject>
#include <cstdint>
#include <functional>
#include <memory>

namespace vx {

using TNetworkNotifyEvent = std::function<void(QObject* sender, std::uint32_t ARes)>;

class TWatchNetworkChangeThread;

class TNetworkChangeNotifier : public QObject {
    Q_OBJECT
public:
    explicit TNetworkChangeNotifier(QObject* parent = nullptr);
    ~TNetworkChangeNotifier() override;

    // Called with this notifier as sender and ARes 0; a change reported while
    // no handler is set is dropped.
    TNetworkNotifyEvent OnChange;
    // The worker's thread id; 0 when there is none.
    std::uint32_t ThreadId() const;

private:
    friend class TWatchNetworkChangeThread;
    void relay(std::uint32_t res);

    std::unique_ptr<TWatchNetworkChangeThread> FThread;
};

}  // namespace vx
