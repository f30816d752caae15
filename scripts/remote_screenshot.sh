#!/usr/bin/env bash
# A screenshot of a watcher on a remote host's interface next to a local
# one. A second network namespace plays the remote host: it runs the real
# node_exporter on its end of a veth pair; Vantrix runs in the first and
# watches its own end (local) and the host's end (remote, through the
# exporter). Traffic goes only between the two namespaces.
#   sudo scripts/remote_screenshot.sh [BINARY] [OUT.png] [UNREACHABLE.png]
# With a third file, the exporter is then stopped and the window saved
# again, the host greyed and its figures blank.
set -euo pipefail
cd "$(dirname "$0")/.."
bin=$(realpath "${1:-build/src/shell/vantrix}")
out=${2:-docs/remote-watcher.png}
gone=${3:-}
mkdir -p "$(dirname "$out")"

work=$(mktemp -d)
ns=vxshot$$ peer=vxnas$$
source scripts/x_desktop.sh
source scripts/netns_lab.sh
cleanup() {
  if [ -n "${app:-}" ]; then kill "$app" 2>/dev/null || true; wait "$app" 2>/dev/null || true; fi
  kill "${x_desktop_pids[@]}" 2>/dev/null || true
  remove_namespaces "$ns" "$peer"
  rm -rf "$work"
}
trap cleanup EXIT

make_veth_pair "$ns" "$peer" vxs0 vxn0 10.204.0
ip netns exec "$peer" /usr/bin/prometheus-node-exporter --web.listen-address=10.204.0.2:19100 \
  --collector.disable-defaults --collector.netdev --collector.netclass --log.level=error &
exporter=$!

start_x_desktop "$work" tray
export XDG_CONFIG_HOME="$work/config"
settings="$XDG_CONFIG_HOME/Vantrix/Vantrix/vantrix.ini"
mkdir -p "$(dirname "$settings")"
{
  printf '[Twnd_vx_Main]\nPos=200,60\nState=0\nStyle=3\nLayoutReadOnly=0\n\n'
  printf '[Twnd_vx_Main\\Tree]\nTag=0\nVisible=1\n\n'
  printf '[Twnd_vx_Main\\acPersistent]\nChecked=1\n\n'
  printf '[RemoteHosts]\nCount=1\n\n'
  printf '[RemoteHosts\\1]\nName=nas\nURL=http://10.204.0.2:19100/metrics\nWatched=vxn0\n\n'
  printf '[Settings]\nUnits=0\nPeriod=1\nvxs0=1\n'
} >"$settings"

# The host sends more than it receives, in steps, for the graphs.
traffic() {
  for step in $(seq 24); do
    ip netns exec "$peer" bash -c "for _ in \$(seq $((step % 6 * 8 + 4))); do head -c 60000 /dev/zero >/dev/udp/10.204.0.1/9 || true; done" 2>/dev/null
    ip netns exec "$ns" bash -c "for _ in \$(seq $((step % 4 * 3 + 2))); do head -c 60000 /dev/zero >/dev/udp/10.204.0.2/9 || true; done" 2>/dev/null
    sleep 0.5
  done
}

ip netns exec "$ns" env DISPLAY="$DISPLAY" XDG_CONFIG_HOME="$XDG_CONFIG_HOME" "$bin" >/dev/null 2>&1 &
app=$!
win=$(wait_for_window Vantrix)
xdotool windowsize "$win" 520 640
sleep 2
traffic
sleep 1
save_frame "$win" "$out"
echo "saved $out"
if [ -n "$gone" ]; then
  kill "$exporter"
  sleep 3
  save_frame "$win" "$gone"
  echo "saved $gone"
fi
