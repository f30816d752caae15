#pragma once

// The real node_exporter (Debian's prometheus-node-exporter) as a child of
// the test, with only the network collectors, listening on one address
// (the kernel lab's 10.200.0.1 in the tests). Stopped when destroyed.

#include <sys/types.h>

#include <string>

#include "remote/exporter_scrape.h"

namespace vx::test {

class TNodeExporterProcess {
public:
    static constexpr const char* kProgram = "/usr/bin/prometheus-node-exporter";

    explicit TNodeExporterProcess(std::string listen = "10.200.0.1:19100") : FListen(std::move(listen)) {}
    ~TNodeExporterProcess() { Stop(); }
    TNodeExporterProcess(const TNodeExporterProcess&) = delete;
    TNodeExporterProcess& operator=(const TNodeExporterProcess&) = delete;

    static bool Installed();
    // The host entry that scrapes it.
    TRemoteHost Host() const;
    // Starts it and waits until it answers (a few hundred milliseconds).
    void Start();
    void Stop();

private:
    std::string FListen;
    pid_t FPid = -1;
};

}  // namespace vx::test
