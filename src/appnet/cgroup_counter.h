#pragma once

// The kernel side of per-application traffic: two eBPF cgroup_skb programs
// (ingress and egress) attached to the cgroup v2 root through bpf_link,
// counting bytes and packets per socket cgroup and direction. The links are
// neither pinned nor attached the legacy way: when the process ends, by
// any means, the programs go with it and nothing keeps counting.
//
// A byte is an IP-layer byte: the packet's length from its IP header on, as
// both hooks see it (no link-layer header; an Ethernet interface's counters
// add 14 bytes a frame). A GSO packet is counted once, whole. Forwarded and
// bridged packets have no socket and are not seen. Counts go to the
// socket's own cgroup (the leaf it was created in), never to its parents.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace vx {

struct TCgroupTraffic {
    std::uint64_t Cgroup = 0;  // the cgroup v2 id: its directory's inode
    std::uint64_t ReceivedBytes = 0, ReceivedPackets = 0;
    std::uint64_t SentBytes = 0, SentPackets = 0;
};

class TCgroupTrafficCounter {
public:
    TCgroupTrafficCounter();
    ~TCgroupTrafficCounter();
    TCgroupTrafficCounter(const TCgroupTrafficCounter&) = delete;
    TCgroupTrafficCounter& operator=(const TCgroupTrafficCounter&) = delete;

    // Loads the programs and attaches them to the cgroup v2 hierarchy at
    // `root` (a directory). "" when counting, else why not (no BPF, no
    // permission, not a cgroup v2 directory).
    std::string Attach(const std::string& root);
    bool Attached() const;
    // Every cgroup's totals since it was first seen, the CPUs' shares added.
    std::vector<TCgroupTraffic> Read() const;
    // Forgets a cgroup's entries (one that went away, once its totals were
    // taken): the map has room for a bounded number of cgroups, and a full
    // map counts no new one.
    void Forget(std::uint64_t cgroup);
    static constexpr std::size_t kMaxCgroups = 16384 / 2;  // two directions each

private:
    struct TState;
    std::unique_ptr<TState> F;
};

}  // namespace vx
