#!/usr/bin/env bash
# Installs the Debian 12 packages that Vantrix needs to build, run and test,
# skipping those already present. Uses sudo when not run as root.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-l10n-tools qt6-translations-l10n libgl-dev libxcb1-dev
  libnl-route-3-dev libcurl4-openssl-dev libsqlite3-dev sqlite3 libbpf-dev bpftool
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev
  xvfb xauth xdotool x11-utils x11-xserver-utils imagemagick fonts-dejavu-core trayer icewm
  weston qt6-wayland dbus at-spi2-core python3-pyatspi
  iproute2 locales
  prometheus-node-exporter
  desktop-file-utils appstream lintian dpkg-dev file
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)

if [ "${#missing[@]}" -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# The exporter is for the remote-host tests, which start it themselves:
# its service (enabled by the package where systemd runs) is switched off.
if [ -d /run/systemd/system ] && command -v systemctl >/dev/null; then
  "${sudo_cmd[@]}" systemctl disable --now prometheus-node-exporter.service >/dev/null 2>&1 || true
fi

# A comma-decimal locale, so the tests can show that stored numbers ignore it.
if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
  "${sudo_cmd[@]}" localedef -i de_DE -f UTF-8 de_DE.UTF-8 || echo "note: de_DE.UTF-8 locale not generated"
fi

# The Breeze Dark colour scheme for the looks test: only its file, taken from
# Debian's package (installing that would bring KDE's libraries along).
scheme=/usr/local/share/color-schemes/BreezeDark.colors
if [ ! -f /usr/share/color-schemes/BreezeDark.colors ] && [ ! -f "$scheme" ]; then
  tmp=$(mktemp -d)
  chmod 755 "$tmp"
  if (cd "$tmp" && apt-get download kde-style-breeze >/dev/null 2>&1); then
    dpkg-deb --fsys-tarfile "$tmp"/kde-style-breeze_*.deb | tar -x -C "$tmp" ./usr/share/color-schemes/BreezeDark.colors
    "${sudo_cmd[@]}" install -D -m 644 "$tmp/usr/share/color-schemes/BreezeDark.colors" "$scheme"
  else
    echo "note: the Breeze Dark colour scheme could not be fetched; its looks test skips"
  fi
  rm -rf "$tmp"
fi
