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

# Prints the id of the first visible window titled exactly TITLE, waiting up
# to 10 s for it; fails when none appears.
#   wait_for_window TITLE
wait_for_window() {
  local id
  for _ in $(seq 100); do
    id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n1 || true)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  echo "no $1 window appeared" >&2
  return 1
}

# Saves a window with the window manager's frame (the window's top-level
# ancestor: the parents are walked up until the next one is the root).
#   save_frame WINDOW OUT.png
save_frame() {
  local root frame=$1 parent
  root=$(xwininfo -root | awk '/Window id:/ {print $4}')
  while :; do
    parent=$(xwininfo -id "$frame" -children | awk '/Parent window id:/ {print $4}')
    [ -z "$parent" ] || [ "$parent" = "$root" ] && break
    frame=$parent
  done
  import -window "$frame" "$2"
}
