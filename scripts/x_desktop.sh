# Sourced by the scripts that look at the real window: a private X desktop.
#   start_x_desktop WORK_FOLDER [tray]
# starts Xvfb (1280x800), icewm and, with "tray", trayer; exports DISPLAY
# and a private XDG_RUNTIME_DIR under WORK_FOLDER; unsets QT_QPA_PLATFORM
# and WAYLAND_DISPLAY. The started processes' ids are in x_desktop_pids.
x_desktop_pids=()
start_x_desktop() {
  local work=$1
  Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp -noreset 3>"$work/display" 2>/dev/null &
  x_desktop_pids+=($!)
  for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
  export DISPLAY=":$(cat "$work/display")"
  export XDG_RUNTIME_DIR="$work/runtime"
  mkdir -m 700 -p "$XDG_RUNTIME_DIR"
  unset QT_QPA_PLATFORM WAYLAND_DISPLAY
  if command -v icewm >/dev/null; then
    icewm >/dev/null 2>&1 &
    x_desktop_pids+=($!)
    sleep 1
  fi
  if [ "${2:-}" = tray ] && command -v trayer >/dev/null; then
    trayer --edge bottom >/dev/null 2>&1 &
    x_desktop_pids+=($!)
    sleep 0.5
  fi
}
