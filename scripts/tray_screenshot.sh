#!/usr/bin/env bash
# A screenshot of the tray readout: Vantrix with its readout on loopback
# (traffic to 127.0.0.1 only) in the tray of icewm's taskbar (XEmbed), or
# of xfce4-panel (StatusNotifier and XEmbed).
#   scripts/tray_screenshot.sh BINARY icewm|xfce OUT.png [UNITS]
set -euo pipefail
cd "$(dirname "$0")/.."
bin=$(realpath "$1") host=$2 out=$3 units=${4:-0}
mkdir -p "$(dirname "$out")"
work=$(mktemp -d)
source scripts/x_desktop.sh
cleanup() {
  if [ -n "${app:-}" ]; then kill "$app" 2>/dev/null || true; wait "$app" 2>/dev/null || true; fi
  if [ -n "${panel:-}" ]; then kill "$panel" 2>/dev/null || true; fi
  [ -n "${bus:-}" ] && kill "$bus" 2>/dev/null || true
  kill "${x_desktop_pids[@]}" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

if [ "$host" = icewm ]; then
  start_x_desktop "$work"
else
  start_x_desktop "$work"
  # A session bus for the StatusNotifier watcher the panel runs.
  { read -r DBUS_SESSION_BUS_ADDRESS; read -r bus; } < <(dbus-daemon --session --fork --print-address=1 --print-pid=1)
  export DBUS_SESSION_BUS_ADDRESS
  export XDG_CONFIG_HOME="$work/xfce-config"
  xfce4-panel --disable-wm-check >/dev/null 2>&1 &
  panel=$!
  sleep 3
fi
export XDG_CONFIG_HOME="$work/config"
settings="$XDG_CONFIG_HOME/Vantrix/Vantrix/vantrix.ini"
mkdir -p "$(dirname "$settings")"
printf '[Settings]\nUnits=%s\nPeriod=1\nTrayReadout=lo\n' "$units" >"$settings"
"$bin" >/dev/null 2>&1 &
app=$!
wait_for_window Vantrix >/dev/null
# Loopback traffic for the figures: a few megabytes a second, for a while.
(for _ in $(seq 100); do head -c 300000 /dev/zero >/dev/udp/127.0.0.1/9 2>/dev/null || true; sleep 0.1; done) &
sleep 7
import -window root "$work/screen.png"
if [ "$host" = icewm ]; then
  # The right end of icewm's taskbar, at the bottom: its tray and clock.
  convert "$work/screen.png" -gravity southeast -crop 260x26+0+0 +repage -scale 300% "$out"
else
  # xfce4-panel's default panel sits at the top: its right end holds the tray.
  convert "$work/screen.png" -gravity northeast -crop 360x40+0+0 +repage -scale 300% "$out"
fi
echo "saved $out"
