#!/usr/bin/env bash
# A screenshot of the Usage window with real traffic: Vantrix runs in a
# network namespace of its own whose veth pair leads to a second one;
# traffic goes only between the two. The program runs twice (the traffic
# while it was closed is caught up at its second start), an allowance is
# set in between, then View > Usage (Ctrl+U) is opened and saved.
#   sudo scripts/usage_screenshot.sh [BINARY] [OUT.png]
set -euo pipefail
cd "$(dirname "$0")/.."
bin=$(realpath "${1:-build/src/shell/vantrix}")
out=${2:-docs/usage.png}
mkdir -p "$(dirname "$out")"

work=$(mktemp -d)
ns=vxshot$$ peer=vxpeer$$
source scripts/x_desktop.sh
cleanup() {
  if [ -n "${app:-}" ]; then kill "$app" 2>/dev/null || true; wait "$app" 2>/dev/null || true; fi
  kill "${x_desktop_pids[@]}" 2>/dev/null || true
  ip netns del "$ns" 2>/dev/null || true
  ip netns del "$peer" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

ip netns add "$ns"
ip netns add "$peer"
ip link add vxs0 netns "$ns" type veth peer name vxp0 netns "$peer"
ip -n "$ns" addr add 10.203.0.1/24 dev vxs0
ip -n "$peer" addr add 10.203.0.2/24 dev vxp0
ip -n "$ns" link set lo up
ip -n "$ns" link set vxs0 up
ip -n "$peer" link set vxp0 up
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
  for _ in $(seq 100); do
    win=$(xdotool search --onlyvisible --name '^Vantrix$' 2>/dev/null | head -n1 || true)
    [ -n "$win" ] && break
    sleep 0.1
  done
  [ -n "${win:-}" ] || { echo "no Vantrix window appeared" >&2; exit 1; }
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
for _ in $(seq 50); do
  usage=$(xdotool search --onlyvisible --name '^Usage$' 2>/dev/null | head -n1 || true)
  [ -n "$usage" ] && break
  sleep 0.1
done
[ -n "${usage:-}" ] || { echo "no Usage window appeared" >&2; exit 1; }
sleep 1
root=$(xwininfo -root | awk '/Window id:/ {print $4}')
frame=$usage
while :; do
  parent=$(xwininfo -id "$frame" -children | awk '/Parent window id:/ {print $4}')
  [ -z "$parent" ] || [ "$parent" = "$root" ] && break
  frame=$parent
done
import -window "$frame" "$out"
echo "saved $out"
