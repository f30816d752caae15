#include "netconfig/network_change_notifier.h"

#include "netconfig/watch_network_change_thread.h"

namespace vx {

TNetworkChangeNotifier::TNetworkChangeNotifier(QObject* parent)
    : QObject(parent), FThread(std::make_unique<TWatchNetworkChangeThread>(this)) {}

TNetworkChangeNotifier::~TNetworkChangeNotifier() { FThread.reset(); }

std::uint32_t TNetworkChangeNotifier::ThreadId() const { return FThread ? FThread->ThreadId() : 0; }

void TNetworkChangeNotifier::relay(std::uint32_t res) {
    if (OnChange) OnChange(this, res);
}

}  // namespace vx
