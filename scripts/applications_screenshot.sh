#!/usr/bin/env bash
# A screenshot of the Applications window with two real applications'
# traffic: the counter service (vantrix-appnet, started here as root
# makes it) counts a python3 web server and a python3 client downloading from it over
# loopback, each in an application scope of its own (as a desktop's
# launcher would make them, here below a test slice as user 0's). Vantrix
# opens View > Traffic by Application... and the window is saved.
#   sudo scripts/applications_screenshot.sh [BUILD] [OUT.png]
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build}")
out=${2:-docs/applications.png}
mkdir -p "$(dirname "$out")"
root=$(awk '$0 ~ / - cgroup2 / {print $5; exit}' /proc/self/mountinfo)
[ -n "$root" ] || { echo "no cgroup v2 hierarchy" >&2; exit 1; }

work=$(mktemp -d)
slice="$root/vantrix-shot-$$.slice"
user="$slice/user-0.slice"
pids=()
source scripts/x_desktop.sh
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  kill "${x_desktop_pids[@]}" 2>/dev/null || true
  sleep 0.5
  rmdir "$user"/*/ "$user" "$slice" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

"$build/src/appnet/vantrix-appnet" &
pids+=($!)

# Their desktop entries give the names shown.
mkdir -p "$work/data/applications"
printf '[Desktop Entry]\nType=Application\nName=Python web server\nExec=python3\n' \
  >"$work/data/applications/org.example.WebServer.desktop"
printf '[Desktop Entry]\nType=Application\nName=Paced downloader\nExec=python3\n' \
  >"$work/data/applications/org.example.Downloader.desktop"

# Runs a command in a new application scope.
in_scope() {
  local scope="$user/$1"; shift
  mkdir -p "$scope"
  bash -c 'echo $$ > "$0/cgroup.procs" && exec "$@"' "$scope" "$@" &
  pids+=($!)
}
mkdir -p "$user" "$work/site"
head -c 20000000 /dev/urandom >"$work/site/file.bin"
in_scope app-gnome-org.example.WebServer-1.scope python3 -m http.server 18765 --bind 127.0.0.1 --directory "$work/site"
sleep 1
# A client that reads about 2 MB a second through a small receive buffer,
# so that the flow is steady rather than in bursts of a large window.
cat >"$work/paced.py" <<'PY'
import socket, time
while True:
    s = socket.socket()
    s.setsockopt(socket.SOL_SOCKET, socket.SO_RCVBUF, 65536)
    s.connect(("127.0.0.1", 18765))
    s.sendall(b"GET /file.bin HTTP/1.0\r\n\r\n")
    while s.recv(65536):
        time.sleep(0.03)
    s.close()
PY
in_scope app-gnome-org.example.Downloader-2.scope python3 "$work/paced.py"

start_x_desktop "$work"
export XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data"
"$build/src/shell/vantrix" >/dev/null 2>&1 &
pids+=($!)
win=$(wait_for_window Vantrix)
sleep 1
xdotool windowactivate --sync "$win" 2>/dev/null || xdotool windowfocus "$win" 2>/dev/null || true
xdotool key --window "$win" alt+v
sleep 0.5
xdotool key b
apps=$(wait_for_window Applications)
xdotool windowsize "$apps" 640 300
sleep 3
# Both rows opened onto their processes.
xdotool key --window "$apps" Home Right Down Down Right
sleep 2
save_frame "$apps" "$out"
echo "saved $out"
