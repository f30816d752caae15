// The counter map's records, shared by the kernel program and the reader.
#ifndef VX_APPNET_MAP_H
#define VX_APPNET_MAP_H

#include <linux/types.h>

#define VX_APPNET_MAX_CGROUPS 16384
#define VX_APPNET_IN 0
#define VX_APPNET_OUT 1

struct vx_appnet_key {
    __u64 cgroup;  // the socket's cgroup v2 id (its directory's inode)
    __u32 direction;
    __u32 pad;
};

struct vx_appnet_count {
    __u64 bytes;
    __u64 packets;
};

#endif
