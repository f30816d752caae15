#!/usr/bin/env bash
# Vantrix side by side with nload (a terminal meter) on the same traffic:
# 4 veth pairs between two private network namespaces with bounded UDP
# traffic (a few hundred KB/s each way, never leaving the namespaces),
# Vantrix with 4 watchers at the 0.5 s period under Xvfb + icewm, nload
# with the same 0.5 s refresh in a pseudo terminal, both for the same time.
# Prints each one's CPU time (all threads) and RSS, and their ratio, and
# Vantrix's RSS with a full day of history in the four watchers; then
# start-up to a mapped window of Vantrix against a bare Qt window (15 runs
# each, medians), and the bare window's idle CPU (a 300-point line repainted
# every 0.5 s) against Vantrix's with the list shown and no watcher.
#   bench/compare_peers.sh BUILD_FOLDER [SECONDS]     (needs root)
set -euo pipefail
# A desktop session has a session bus; without one, Qt's tray support tries
# to start one at every start (a fork that fails), which no user pays.
if [ -z "${DBUS_SESSION_BUS_ADDRESS:-}" ] && command -v dbus-run-session >/dev/null; then
  exec dbus-run-session -- bash "$0" "$@"
fi
build=${1:?build folder (Release) with src/shell/vantrix, bench/vx_bare_window and bench/vx_window_start}
seconds=${2:-60}
vantrix=$(realpath "$build/src/shell/vantrix")
bare=$(realpath "$build/bench/vx_bare_window")
starter=$(realpath "$build/bench/vx_window_start")
[ "$(id -u)" = 0 ] || { echo "needs root (network namespaces)" >&2; exit 1; }
command -v nload >/dev/null || { echo "nload is not installed (apt-get install nload)" >&2; exit 1; }

ns=vxcmp$$ peer=vxcmppeer$$
work=$(mktemp -d)
pids=()
source "$(dirname "$0")/../scripts/x_desktop.sh"
source "$(dirname "$0")/../scripts/netns_lab.sh"
cleanup() {
  for p in "${pids[@]}" "${x_desktop_pids[@]}"; do kill "$p" 2>/dev/null || true; done
  remove_namespaces "$ns" "$peer"
  rm -rf "$work"
}
trap cleanup EXIT

devices=()
for i in 0 1 2 3; do
  make_veth_pair "$ns" "$peer" "vxc${i}a" "vxc${i}b" "10.240.$i"
  devices+=("vxc${i}a")
done
# Bounded traffic both ways on every pair: 20 datagrams of 1400 bytes every
# 0.1 s (about 280 KB/s), inside the two namespaces only.
for i in 0 1 2 3; do
  ip netns exec "$peer" bash -c "while :; do for k in \$(seq 20); do printf '%1400s' >/dev/udp/10.240.$i.1/9; done; sleep 0.1; done" 2>/dev/null &
  pids+=($!)
  ip netns exec "$ns" bash -c "while :; do for k in \$(seq 10); do printf '%1400s' >/dev/udp/10.240.$i.2/9; done; sleep 0.1; done" 2>/dev/null &
  pids+=($!)
done

start_x_desktop "$work"

cpu_of() {  # CPU time of all of a process's threads, in seconds (nanosecond counts)
  cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{t += $1} END {printf "%.6f", t / 1e9}'
}
rss_of() {  # resident set, MB
  awk '/VmRSS/ {printf "%.1f", $2 / 1024}' "/proc/$1/status"
}

# Vantrix: the four interfaces watched at 0.5 s, list shown.
config="$work/config"
mkdir -p "$config/Vantrix/Vantrix"
{
  printf '[Twnd_vx_Main]\nLayoutReadOnly=0\n\n[Twnd_vx_Main\\Tree]\nTag=0\nVisible=1\n\n'
  printf '[Twnd_vx_Main\\acPersistent]\nChecked=1\n\n[Settings]\nUnits=0\nPeriod=0\n'
  for d in "${devices[@]}"; do printf '%s=1\n' "$d"; done
} >"$config/Vantrix/Vantrix/vantrix.ini"
XDG_CONFIG_HOME="$config" ip netns exec "$ns" "$vantrix" >/dev/null 2>&1 &
vx=$!
pids+=($vx)
# nload on the same interfaces, refreshing every 0.5 s, in a pseudo terminal.
TERM=xterm ip netns exec "$ns" script -qfc "nload -t 500 -m ${devices[*]}" /dev/null >/dev/null 2>&1 &
sleep 1
nl=$(pgrep -n -x nload)
pids+=($nl)
sleep 3  # both settled
vx0=$(cpu_of "$vx") nl0=$(cpu_of "$nl")
sleep "$seconds"
vx1=$(cpu_of "$vx") nl1=$(cpu_of "$nl")
vxrss=$(rss_of "$vx") nlrss=$(rss_of "$nl")
kill "$vx" "$nl" 2>/dev/null || true
wait "$vx" 2>/dev/null || true
awk -v a="$vx0" -v b="$vx1" -v c="$nl0" -v d="$nl1" -v s="$seconds" -v vr="$vxrss" -v nr="$nlrss" 'BEGIN {
  v = (b - a) * 60 / s; n = (d - c) * 60 / s
  printf "4 watchers at 0.5 s, %d s: Vantrix %.3f CPU s/min, nload %.3f CPU s/min, ratio %.2f\n", s, v, n, (n > 0 ? v / n : 0)
  printf "RSS: Vantrix %s MB, nload %s MB\n", vr, nr
}'
# A full day of history cannot be collected in a minute: what four watchers
# holding one keep beyond four with a few minutes is measured by the tick
# benchmark (real panels, offscreen) and added to the RSS above.
growth=$(QT_QPA_PLATFORM=offscreen "$build/bench/vx_bench_watcher_tick" --benchmark_filter=Resident 2>/dev/null |
  grep -o 'MB_growth=[0-9.]*' | cut -d= -f2)
awk -v r="$vxrss" -v g="${growth:-0}" 'BEGIN { printf "RSS with 4 full-day watchers: %.1f MB (%.1f MB + %.1f MB of history)\n", r + g, r, g }'

# Idle: Vantrix with the list shown and no watcher, against the bare window.
rm -f "$config/Vantrix/Vantrix/vantrix.ini"
printf '[Twnd_vx_Main]\nLayoutReadOnly=0\n\n[Twnd_vx_Main\\Tree]\nTag=0\nVisible=1\n\n[Twnd_vx_Main\\acPersistent]\nChecked=1\n' \
  >"$config/Vantrix/Vantrix/vantrix.ini"
XDG_CONFIG_HOME="$config" ip netns exec "$ns" "$vantrix" >/dev/null 2>&1 &
vx=$!
"$bare" >/dev/null 2>&1 &
br=$!
pids+=($vx $br)
sleep 3
vx0=$(cpu_of "$vx") br0=$(cpu_of "$br")
sleep "$((seconds / 2))"
vx1=$(cpu_of "$vx") br1=$(cpu_of "$br")
brrss=$(rss_of "$br")
kill "$vx" "$br" 2>/dev/null || true
wait "$vx" "$br" 2>/dev/null || true
awk -v a="$vx0" -v b="$vx1" -v c="$br0" -v d="$br1" -v s="$((seconds / 2))" -v r="$brrss" 'BEGIN {
  v = (b - a) * 60 / s; n = (d - c) * 60 / s
  printf "idle, list shown, no watcher: Vantrix %.3f CPU s/min, bare Qt window (300-point line every 0.5 s) %.3f, ratio %.2f; bare window RSS %s MB\n", v, n, (n > 0 ? v / n : 0), r
}'

# Start-up to a mapped window, 15 runs each, taken in turns (medians,
# milliseconds): vx_window_start watches the X server for the window.
median() { sort -n | awk '{a[NR] = $1} END {print (NR % 2 ? a[(NR + 1) / 2] : (a[NR / 2] + a[NR / 2 + 1]) / 2)}'; }
rm -f "$config/Vantrix/Vantrix/vantrix.ini"
vxt=() brt=()
for _ in $(seq 15); do
  vxt+=("$(XDG_CONFIG_HOME="$config" "$starter" Vantrix "$vantrix")")
  brt+=("$("$starter" Bare "$bare")")
done
vxs=$(printf '%s\n' "${vxt[@]}" | median)
brs=$(printf '%s\n' "${brt[@]}" | median)
awk -v v="$vxs" -v b="$brs" 'BEGIN { printf "start-up to mapped window: Vantrix %.1f ms, bare Qt window %.1f ms, ratio %.2f\n", v, b, (b > 0 ? v / b : 0) }'
