#!/usr/bin/env bash
# What the per-application counter adds to a fast transfer: 1 Gbit/s of TCP
# over a veth pair between two private network namespaces for SECONDS
# (iperf3, bounded by rate and time: the traffic never leaves the two
# namespaces), the machine's CPU time over the transfer measured from
# /proc/stat, RUNS times without the counter and RUNS times with
# vantrix-appnet running; prints the medians and the difference.
#   sudo bench/appnet_cost.sh BUILD_FOLDER [SECONDS] [RUNS] [udp]   (needs iperf3)
# With "udp", the same rate in datagrams of 1400 bytes (about 90,000
# packets a second, where TCP's large segments make a few thousand).
set -euo pipefail
build=${1:?build folder with src/appnet/vantrix-appnet}
seconds=${2:-10}
runs=${3:-3}
mode=()
[ "${4:-}" = udp ] && mode=(-u -l 1400)
counter=$(realpath "$build/src/appnet/vantrix-appnet")
[ "$(id -u)" = 0 ] || { echo "needs root (network namespaces, BPF)" >&2; exit 1; }
command -v iperf3 >/dev/null || { echo "iperf3 is not installed (apt-get install iperf3)" >&2; exit 1; }

ns=vxac$$ peer=vxacpeer$$
pids=()
source "$(dirname "$0")/../scripts/netns_lab.sh"
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  remove_namespaces "$ns" "$peer"
}
trap cleanup EXIT
make_veth_pair "$ns" "$peer" vxac0 vxac1 10.243.0
ip netns exec "$peer" iperf3 -s -B 10.243.0.2 -D >/dev/null 2>&1
sleep 0.5

busy() {  # all CPUs' busy time so far, in seconds
  awk '/^cpu / {print ($2 + $3 + $4 + $7 + $8) / 100}' /proc/stat
}
transfer() {  # CPU seconds the machine spent during one bounded transfer
  local before after
  before=$(busy)
  ip netns exec "$ns" iperf3 -c 10.243.0.2 -b 1G -t "$seconds" "${mode[@]}" >/dev/null
  after=$(busy)
  awk -v a="$after" -v b="$before" 'BEGIN {printf "%.3f", a - b}'
}
median() { sort -n | awk '{v[NR] = $1} END {print v[int((NR + 1) / 2)]}'; }

without=$(for _ in $(seq "$runs"); do transfer; echo; done | median)
"$counter" &
pids+=($!)
sleep 1
with=$(for _ in $(seq "$runs"); do transfer; echo; done | median)
awk -v w="$with" -v o="$without" -v s="$seconds" 'BEGIN {
  printf "without the counter  %.3f s CPU for %d s at 1 Gbit/s (%.1f %% of a core)\n", o, s, o * 100 / s
  printf "with the counter     %.3f s CPU (%.1f %% of a core)\n", w, w * 100 / s
  printf "added                %.3f s: %.2f %% of a core, %.1f %% of the transfer'"'"'s own CPU\n", w - o, (w - o) * 100 / s, (w - o) * 100 / o
}'
