#!/usr/bin/env bash
# Starts Vantrix under a private Xvfb display with a window manager and
# saves a screenshot of its window.
#   scripts/screenshot.sh [BINARY] [OUT.png]
set -euo pipefail
cd "$(dirname "$0")/.."
bin=${1:-build/src/shell/vantrix}
out=${2:-docs/vantrix.png}
mkdir -p "$(dirname "$out")"

work=$(mktemp -d)
cleanup() {
  kill "${app:-}" "${wm:-}" "${xvfb:-}" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb=$!
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(cat "$work/display")"
export XDG_RUNTIME_DIR="$work/runtime" XDG_CONFIG_HOME="$work/config"
mkdir -m 700 "$XDG_RUNTIME_DIR"

if command -v icewm >/dev/null; then icewm >/dev/null 2>&1 & wm=$!; sleep 1; fi
"$bin" >/dev/null 2>&1 &
app=$!

for _ in $(seq 100); do
  win=$(xdotool search --onlyvisible --name '^Vantrix$' 2>/dev/null | head -n1 || true)
  [ -n "$win" ] && break
  sleep 0.1
done
[ -n "${win:-}" ] || { echo "no Vantrix window appeared" >&2; exit 1; }
sleep 1
# Show the interface list (Ctrl+I) and give it a tick to read the totals.
xdotool windowactivate --sync "$win" 2>/dev/null || xdotool windowfocus "$win" 2>/dev/null || true
xdotool key --window "$win" ctrl+i
sleep 2
# The window manager's frame (with the title bar) is the window's top-level
# ancestor: walk up the parents until the next one is the root.
root=$(xwininfo -root | awk '/Window id:/ {print $4}')
frame=$win
while :; do
  parent=$(xwininfo -id "$frame" -children | awk '/Parent window id:/ {print $4}')
  [ -z "$parent" ] || [ "$parent" = "$root" ] && break
  frame=$parent
done
import -window "$frame" "$out"
echo "saved $out ($(xwininfo -id "$win" | awk '/Width|Height/ {printf "%s%s ", $1, $2}'))"
