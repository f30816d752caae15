#!/usr/bin/env bash
# The real Vantrix on a private X desktop and a private D-Bus session with
# the accessibility bus, watching loopback with its list shown; then the
# tree a screen reader sees is walked (walk_tree.py).
#   run_walk.sh PROGRAM [--dump]
set -euo pipefail
program=$1
shift
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
for tool in Xvfb dbus-run-session /usr/bin/python3; do
  command -v "$tool" >/dev/null || { echo "skipped: $tool is not installed (scripts/setup.sh installs it)"; exit 77; }
done
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null || { echo "skipped: python3-pyatspi is not installed"; exit 77; }

work=$(mktemp -d)
source "$root/scripts/x_desktop.sh"
cleanup() {
  if [ -n "${app:-}" ]; then kill "$app" 2>/dev/null || true; wait "$app" 2>/dev/null || true; fi
  kill "${x_desktop_pids[@]}" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
start_x_desktop "$work"
export XDG_CONFIG_HOME="$work/config"
settings="$XDG_CONFIG_HOME/Vantrix/Vantrix/$(basename "$program").ini"
mkdir -p "$(dirname "$settings")"
printf '[Twnd_vx_Main\\Tree]\nVisible=1\n\n[Twnd_vx_Main\\acPersistent]\nChecked=1\n\n[Settings]\nlo=1\n' >"$settings"

# One D-Bus session for the program, the accessibility bus and the walk.
export program here
dbus-run-session -- bash -c '
  export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1 NO_AT_BRIDGE=0
  export ASAN_OPTIONS=detect_leaks=0
  "$program" >/dev/null 2>&1 &
  app=$!
  /usr/bin/python3 "$here/walk_tree.py" "$@"
  status=$?
  kill $app 2>/dev/null; wait $app 2>/dev/null
  exit $status
' walk "$@"
