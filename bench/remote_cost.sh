#!/usr/bin/env bash
# What remote hosts cost Vantrix, against what one local watcher costs, as
# the program runs them: the real node_exporter in a private network
# namespace at the far end of a veth pair (traffic only between the two
# namespaces), Vantrix under Xvfb + icewm in the other, the watcher period
# at 1 s. Three runs of SECONDS each, after a settling time:
#   idle      the window with the list, no watcher and no remote host
#   bare      the same with the list hidden
#   watcher   one local watcher (its graph painted every second)
#   hosts     10 remote hosts on that exporter listed, no watcher (each
#             scraped every second: the request, gzip, parsing, the rows)
#   away      the same with the list hidden (nobody looks at the hosts:
#             each is asked once a minute)
# Prints each run's CPU time (all threads) and the cost over idle per
# second, and the ratios to the watcher.
#   bench/remote_cost.sh BUILD_FOLDER [SECONDS]     (needs root)
set -euo pipefail
if [ -z "${DBUS_SESSION_BUS_ADDRESS:-}" ] && command -v dbus-run-session >/dev/null; then
  exec dbus-run-session -- bash "$0" "$@"
fi
build=${1:?build folder (Release) with src/shell/vantrix}
seconds=${2:-60}
vantrix=$(realpath "$build/src/shell/vantrix")
[ "$(id -u)" = 0 ] || { echo "needs root (network namespaces)" >&2; exit 1; }

ns=vxrc$$ peer=vxrcnas$$
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

make_veth_pair "$ns" "$peer" vxr0 vxr1 10.241.0
ip netns exec "$peer" /usr/bin/prometheus-node-exporter --web.listen-address=10.241.0.2:19100 \
  --collector.disable-defaults --collector.netdev --collector.netclass --log.level=error &
pids+=($!)
# Some traffic both ways, so that the watcher's graph moves.
ip netns exec "$peer" bash -c "while :; do for k in \$(seq 20); do printf '%1400s' >/dev/udp/10.241.0.1/9; done; sleep 0.1; done" 2>/dev/null &
pids+=($!)
start_x_desktop "$work"

cpu_of() {
  cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{t += $1} END {printf "%.6f", t / 1e9}'
}

run() {  # run NAME: prints the CPU seconds Vantrix used over SECONDS
  local name=$1 config="$work/$1/Vantrix/Vantrix" app before after
  mkdir -p "$config"
  {
    printf '[Twnd_vx_Main]\nPos=100,100\nState=0\nLayoutReadOnly=0\n\n'
    printf '[Twnd_vx_Main\\Tree]\nTag=1\nVisible=%d\n\n' "$(case $name in away|bare) echo 0 ;; *) echo 1 ;; esac)"
    printf '[Twnd_vx_Main\\acPersistent]\nChecked=1\n\n'
    if [ "$name" = hosts ] || [ "$name" = away ]; then
      printf '[RemoteHosts]\nCount=10\n\n'
      for i in $(seq 10); do
        printf '[RemoteHosts\\%d]\nName=host%d\nURL=http://10.241.0.2:19100/metrics\n\n' "$i" "$i"
      done
    fi
    printf '[Settings]\nUnits=0\nPeriod=1\n'
    [ "$name" = watcher ] && printf 'vxr0=1\n'
  } >"$config/vantrix.ini"
  ip netns exec "$ns" env DISPLAY="$DISPLAY" XDG_CONFIG_HOME="$work/$name" "$vantrix" >/dev/null 2>&1 &
  app=$!
  wait_for_window Vantrix >/dev/null
  sleep 5
  before=$(cpu_of "$app")
  sleep "$seconds"
  after=$(cpu_of "$app")
  kill "$app"; wait "$app" 2>/dev/null || true
  awk -v a="$after" -v b="$before" 'BEGIN {printf "%.4f", a - b}'
}

idle=$(run idle)
bare=$(run bare)
watcher=$(run watcher)
hosts=$(run hosts)
away=$(run away)
awk -v i="$idle" -v w="$watcher" -v h="$hosts" -v a="$away" -v b="$bare" -v s="$seconds" 'BEGIN {
  printf "idle     %.3f s CPU in %d s\n", i, s
  printf "watcher  %.3f s CPU: %.2f ms/s over idle\n", w, (w - i) * 1000 / s
  printf "hosts    %.3f s CPU: %.2f ms/s over idle (10 hosts at 1 s)\n", h, (h - i) * 1000 / s
  printf "bare     %.3f s CPU in %d s (list hidden)\n", b, s
  printf "away     %.3f s CPU: %.2f ms/s over bare (the hosts, list hidden)\n", a, (a - b) * 1000 / s
  printf "ratio    10 hosts / one watcher = %.2f listed, %.2f hidden\n", (h - i) / (w - i), (a - b) / (w - i)
}'
