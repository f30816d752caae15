#include "remote/node_exporter_process.h"

#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

namespace vx::test {

bool TNodeExporterProcess::Installed() { return ::access(kProgram, X_OK) == 0; }

TRemoteHost TNodeExporterProcess::Host() const {
    TRemoteHost host;
    host.Name = "lab";
    host.Url = "http://" + FListen + "/metrics";
    return host;
}

void TNodeExporterProcess::Start() {
    if (FPid > 0) return;
    const std::string listen = "--web.listen-address=" + FListen;
    FPid = ::fork();
    if (FPid == 0) {
        ::prctl(PR_SET_PDEATHSIG, SIGTERM);  // a test that dies leaves no exporter behind
        ::execl(kProgram, "prometheus-node-exporter", listen.c_str(), "--collector.disable-defaults",
                "--collector.netdev", "--collector.netclass", "--log.level=error", static_cast<char*>(nullptr));
        ::_exit(127);
    }
    for (int i = 0; i < 100 && !ScrapeExporter(Host()).Ok; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
}

void TNodeExporterProcess::Stop() {
    if (FPid <= 0) return;
    ::kill(FPid, SIGTERM);
    ::waitpid(FPid, nullptr, 0);
    FPid = -1;
}

}  // namespace vx::test
