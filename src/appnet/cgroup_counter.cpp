#include "appnet/cgroup_counter.h"

#include <bpf/bpf.h>
#include <bpf/libbpf.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <linux/magic.h>
#include <map>

#include "appnet.skel.h"
#include "appnet_map.h"

namespace vx {

struct TCgroupTrafficCounter::TState {
    vx_appnet_bpf* Skeleton = nullptr;
    bpf_link* Ingress = nullptr;
    bpf_link* Egress = nullptr;
    int Cpus = 1;

    ~TState() {
        if (Egress) bpf_link__destroy(Egress);
        if (Ingress) bpf_link__destroy(Ingress);
        if (Skeleton) vx_appnet_bpf__destroy(Skeleton);
    }
};

namespace {

// libbpf reports through its print callback; the caller gets one sentence.
int quietLibbpf(libbpf_print_level, const char*, va_list) { return 0; }

std::string errnoText(const char* what, int error) { return std::string(what) + ": " + std::strerror(error); }

}  // namespace

TCgroupTrafficCounter::TCgroupTrafficCounter() : F(std::make_unique<TState>()) {}
TCgroupTrafficCounter::~TCgroupTrafficCounter() = default;

bool TCgroupTrafficCounter::Attached() const { return F->Egress != nullptr; }

std::string TCgroupTrafficCounter::Attach(const std::string& root) {
    if (Attached()) return {};
    struct statfs fs {};
    if (::statfs(root.c_str(), &fs) != 0) return errnoText(root.c_str(), errno);
    if (fs.f_type != CGROUP2_SUPER_MAGIC) return root + " is not a cgroup v2 hierarchy";
    libbpf_set_print(quietLibbpf);
    const int cpus = libbpf_num_possible_cpus();
    if (cpus <= 0) return errnoText("the number of CPUs", -cpus);
    auto state = std::make_unique<TState>();
    state->Cpus = cpus;
    state->Skeleton = vx_appnet_bpf__open_and_load();
    if (!state->Skeleton) return errnoText("loading the counter program", errno);
    const int directory = ::open(root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (directory < 0) return errnoText(root.c_str(), errno);
    state->Ingress = bpf_program__attach_cgroup(state->Skeleton->progs.vx_appnet_ingress, directory);
    const int ingressError = state->Ingress ? 0 : errno;
    if (state->Ingress) state->Egress = bpf_program__attach_cgroup(state->Skeleton->progs.vx_appnet_egress, directory);
    const int egressError = state->Egress ? 0 : errno;
    ::close(directory);
    if (!state->Ingress) return errnoText("attaching to the cgroup root", ingressError);
    if (!state->Egress) return errnoText("attaching to the cgroup root", egressError);
    F = std::move(state);
    return {};
}

std::vector<TCgroupTraffic> TCgroupTrafficCounter::Read() const {
    std::vector<TCgroupTraffic> out;
    if (!Attached()) return out;
    const int map = bpf_map__fd(F->Skeleton->maps.counts);
    std::map<std::uint64_t, TCgroupTraffic> byCgroup;
    std::vector<vx_appnet_count> perCpu(static_cast<std::size_t>(F->Cpus));
    vx_appnet_key key{}, next{};
    bool first = true;
    while (bpf_map_get_next_key(map, first ? nullptr : &key, &next) == 0) {
        first = false;
        key = next;
        if (bpf_map_lookup_elem(map, &key, perCpu.data()) != 0) continue;  // removed meanwhile
        TCgroupTraffic& t = byCgroup[key.cgroup];
        t.Cgroup = key.cgroup;
        for (const vx_appnet_count& c : perCpu) {
            if (key.direction == VX_APPNET_IN) {
                t.ReceivedBytes += c.bytes;
                t.ReceivedPackets += c.packets;
            } else {
                t.SentBytes += c.bytes;
                t.SentPackets += c.packets;
            }
        }
    }
    out.reserve(byCgroup.size());
    for (auto& [id, t] : byCgroup) out.push_back(t);
    return out;
}

void TCgroupTrafficCounter::Forget(std::uint64_t cgroup) {
    if (!Attached()) return;
    const int map = bpf_map__fd(F->Skeleton->maps.counts);
    for (const std::uint32_t direction : {VX_APPNET_IN, VX_APPNET_OUT}) {
        const vx_appnet_key key{cgroup, direction, 0};
        bpf_map_delete_elem(map, &key);
    }
}

}  // namespace vx
