#!/usr/bin/env bash
# Runs the looks test with a KDE colour scheme applied as a KDE desktop
# applies it: the scheme's colours in kdeglobals, read by Qt's KDE platform
# theme on a real X display (the offscreen platform has no desktop theme).
#   run_with_colour_scheme.sh SCHEME LOOKS_TEST [DPI]
# SCHEME: a .colors file, or the name of one installed in a color-schemes
# folder (BreezeDark; scripts/setup.sh puts it in /usr/local/share).
set -euo pipefail
scheme=$1 program=$2 dpi=${3:-96}
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
if [ ! -f "$scheme" ]; then
  for folder in "${XDG_DATA_HOME:-$HOME/.local/share}" /usr/local/share /usr/share; do
    [ -f "$folder/color-schemes/$scheme.colors" ] && { scheme="$folder/color-schemes/$scheme.colors"; break; }
  done
fi
[ -f "$scheme" ] || { echo "skipped: colour scheme $1 not found (scripts/setup.sh installs BreezeDark)"; exit 77; }
command -v Xvfb >/dev/null || { echo "skipped: Xvfb is not installed"; exit 77; }

work=$(mktemp -d)
source "$root/scripts/x_desktop.sh"
cleanup() {
  kill "${x_desktop_pids[@]}" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
start_x_desktop "$work"
mkdir -p "$work/config"
cp "$scheme" "$work/config/kdeglobals"
export XDG_CONFIG_HOME="$work/config" KDE_SESSION_VERSION=5 KDE_FULL_SESSION=true XDG_CURRENT_DESKTOP=KDE
export QT_QPA_PLATFORM=xcb QT_QPA_PLATFORMTHEME=kde QT_ENABLE_HIGHDPI_SCALING=0 QT_FONT_DPI=$dpi
"$program" --gtest_filter='*System_*'
