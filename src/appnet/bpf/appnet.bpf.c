// Counts every packet of every socket below the cgroup the programs are
// attached to, by the socket's cgroup and direction: bytes (the packet's
// length from the IP header on, as the hook sees it; a GSO packet once,
// whole) and packets. The packet always passes.
#include <linux/bpf.h>
#include <bpf/bpf_helpers.h>

#include "appnet_map.h"

struct {
    __uint(type, BPF_MAP_TYPE_PERCPU_HASH);
    __uint(max_entries, VX_APPNET_MAX_CGROUPS);
    __type(key, struct vx_appnet_key);
    __type(value, struct vx_appnet_count);
} counts SEC(".maps");

static __always_inline int count(struct __sk_buff* skb, __u32 direction) {
    struct vx_appnet_key key = {bpf_skb_cgroup_id(skb), direction, 0};
    struct vx_appnet_count* c = bpf_map_lookup_elem(&counts, &key);
    if (c) {
        c->bytes += skb->len;  // this CPU's own entry: no other writer
        c->packets += 1;
    } else {
        struct vx_appnet_count first = {skb->len, 1};
        // Another CPU may have made the entry meanwhile: then add to it.
        if (bpf_map_update_elem(&counts, &key, &first, BPF_NOEXIST) != 0) {
            c = bpf_map_lookup_elem(&counts, &key);
            if (c) {
                c->bytes += skb->len;
                c->packets += 1;
            }
        }
    }
    return 1;
}

SEC("cgroup_skb/ingress")
int vx_appnet_ingress(struct __sk_buff* skb) { return count(skb, VX_APPNET_IN); }

SEC("cgroup_skb/egress")
int vx_appnet_egress(struct __sk_buff* skb) { return count(skb, VX_APPNET_OUT); }

char LICENSE[] SEC("license") = "GPL";
