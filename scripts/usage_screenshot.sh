#!/usr/bin/env bash
# A screenshot of the Usage window with real traffic: Vantrix runs in a
# network namespace of its own whose veth pair leads to a second one;
# traffic goes only between the two. The program runs twice (the traffic
# while it was closed is caught up at its second start), an allowance is
# set in between, then View > Usage (Ctrl+U) is opened and saved.
#   sudo scripts/usage_screenshot.sh [BINARY] [OUT.png]
# Under another LANG, VX_USAGE_TITLE names the window's translated title.
set -euo pipefail
cd "$(dirname "$0")/.."
bin=$(realpath "${1:-build/src/shell/vantrix}")
out=${2:-docs/usage.png}
mkdir -p "$(dirname "$out")"

work=$(mktemp -d)
ns=vxshot$$ peer=vxpeer$$
source scripts/x_desktop.sh
source scripts/netns_lab.sh
cleanup() {
  if [ -n "${app:-}" ]; then kill "$app" 2>/dev/null || true; wait "$app" 2>/dev/null || true; fi
  kill "${x_desktop_pids[@]}" 2>/dev/null || true
  remove_namespaces "$ns" "$peer"
  rm -rf "$work"
}
trap cleanup EXIT

make_veth_pair "$ns" "$peer" vxs0 vxp0 10.203.0
ip -n "$ns" route add default via 10.203.0.2

# Megabytes of UDP from the peer to the program's side, and some back.
traffic() {
  ip netns exec "$peer" bash -c "for _ in \$(seq $1); do head -c 60000 /dev/zero >/dev/udp/10.203.0.1/9 || true; done" 2>/dev/null
  ip netns exec "$ns" bash -c "for _ in \$(seq $2); do head -c 60000 /dev/zero >/dev/udp/10.203.0.2/9 || true; done" 2>/dev/null
}

start_x_desktop "$work" tray
export XDG_CONFIG_HOME="$work/config"
db="$XDG_CONFIG_HOME/Vantrix/Vantrix/vantrix.usage.sqlite"

start_vantrix() {
  ip netns exec "$ns" env DISPLAY="$DISPLAY" XDG_CONFIG_HOME="$XDG_CONFIG_HOME" "$bin" >/dev/null 2>&1 &
  app=$!
  win=$(wait_for_window Vantrix)
  sleep 1
}

start_vantrix
traffic 600 150
kill "$app"; wait "$app" || true; app=
traffic 400 100  # while closed: caught up at the next start
sqlite3 "$db" "UPDATE interfaces SET allowance_gb = 0.1, billing_day = 1 WHERE name = 'vxs0'"
start_vantrix
traffic 300 60

xdotool windowactivate --sync "$win" 2>/dev/null || xdotool windowfocus "$win" 2>/dev/null || true
xdotool key --window "$win" ctrl+u
usage=$(wait_for_window "${VX_USAGE_TITLE:-Usage}")  # its title in the language of LANG
sleep 1
save_frame "$usage" "$out"
echo "saved $out"
