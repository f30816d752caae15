#!/usr/bin/env bash
# Starts Vantrix under a private Xvfb display with a window manager (icewm)
# and a tray host (trayer) and saves a screenshot of its window.
#   scripts/screenshot.sh [BINARY] [OUT.png]
#       a fresh start; shows the interface list (Ctrl+I)
#   scripts/screenshot.sh --scene BINARY DPI OUT.png
#       the list with the machine's first two interfaces watched, the title
#       bar and menu hidden and Always Visible on, at DPI (96, 120)
#   scripts/screenshot.sh --scene-menu BINARY DPI OUT.png
#       the same with its context menu open (the whole screen)
# QT_SCALE_FACTOR in the environment (2 for a HiDPI screen) and LANG reach
# Vantrix; VX_COLOUR_SCHEME=FILE.colors applies a KDE colour scheme through
# Qt's KDE platform theme, as a KDE desktop does.
set -euo pipefail
cd "$(dirname "$0")/.."
scene=0 menu=0
if [ "${1:-}" = "--scene" ] || [ "${1:-}" = "--scene-menu" ]; then
  scene=1
  [ "$1" = "--scene-menu" ] && menu=1
  bin=$2 dpi=$3 out=$4
else
  bin=${1:-build/src/shell/vantrix}
  out=${2:-docs/vantrix.png}
  dpi=96
fi
mkdir -p "$(dirname "$out")"

work=$(mktemp -d)
source scripts/x_desktop.sh
cleanup() {
  # The program ends through its event loop (it may save on the way): wait for it.
  if [ -n "${app:-}" ]; then kill "$app" 2>/dev/null || true; wait "$app" 2>/dev/null || true; fi
  kill "${x_desktop_pids[@]}" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

start_x_desktop "$work" tray
export XDG_CONFIG_HOME="$work/config"
echo "Xft.dpi: $dpi" | xrdb -nocpp -merge
if [ -n "${VX_COLOUR_SCHEME:-}" ]; then
  mkdir -p "$XDG_CONFIG_HOME"
  cp "$VX_COLOUR_SCHEME" "$XDG_CONFIG_HOME/kdeglobals"
  export KDE_SESSION_VERSION=5 QT_QPA_PLATFORMTHEME=kde
fi

if [ "$scene" = 1 ]; then
  # The settings of a user who watches two interfaces with the list shown,
  # the caption hidden and Always Visible on, in persistent mode.
  settings="$XDG_CONFIG_HOME/Vantrix/Vantrix/vantrix.ini"
  mkdir -p "$(dirname "$settings")"
  # Loopback and the interface of the default route (else the first other one).
  best=$(ip route show default 2>/dev/null | awk '{print $5; exit}')
  [ -n "$best" ] || best=$(ls /sys/class/net | grep -v '^lo$' | head -n 1)
  names=(lo "$best")
  {
    printf '[Twnd_vx_Main]\nPos=200,120\nState=0\nStyle=3\nLayoutReadOnly=0\n\n'
    printf '[Twnd_vx_Main\\Tree]\nTag=0\nVisible=1\n\n'
    printf '[Twnd_vx_Main\\acPersistent]\nChecked=1\n\n'
    printf '[Twnd_vx_Main\\acCaption]\nChecked=0\n\n'
    printf '[Settings]\nUnits=0\nPeriod=1\n'
    for n in "${names[@]}"; do printf '%s=1\n' "$n"; done
  } >"$settings"
fi

"$bin" >/dev/null 2>&1 &
app=$!

win=$(wait_for_window Vantrix)
sleep 1
if [ "$scene" = 0 ]; then
  # Show the interface list (Ctrl+I) and give it a tick to read the totals.
  xdotool windowactivate --sync "$win" 2>/dev/null || xdotool windowfocus "$win" 2>/dev/null || true
  xdotool key --window "$win" ctrl+i
  sleep 2
else
  # Some traffic for the graphs (loopback only), and a few ticks.
  (for _ in $(seq 40); do head -c 200000 /dev/zero >/dev/udp/127.0.0.1/9 2>/dev/null || true; sleep 0.1; done) &
  sleep 5
fi
if [ "$menu" = 1 ]; then
  # The context menu, opened on the watcher area as a user does.
  eval "$(xdotool getwindowgeometry --shell "$win")"
  xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT - 40)) click 3
  sleep 1
  import -window root "$out"
else
  save_frame "$win" "$out"
fi
state=$(xprop -id "$win" _NET_WM_STATE 2>/dev/null | sed 's/.*= //')
echo "saved $out ($(xwininfo -id "$win" | awk '/Width|Height/ {printf "%s%s ", $1, $2}')state: $state)"
