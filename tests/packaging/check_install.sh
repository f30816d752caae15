#!/usr/bin/env bash
# Checks of what `cmake --install` and `cpack` produce, run by ctest.
#   check_install.sh <check> <build folder> <source folder>
# check: manifest | validate | icons | deb
set -euo pipefail
check=$1 build=$2 source=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

install_into() {
  cmake --install "$build" --prefix "$1" >/dev/null
}

case "$check" in
manifest)
  # Exactly the expected files, nothing more, nothing less.
  install_into "$work/prefix"
  (cd "$work/prefix" && find . -type f -o -type l | sed 's|^\./||' | LC_ALL=C sort) >"$work/actual"
  LC_ALL=C sort "$source/tests/packaging/expected_install.txt" >"$work/expected"
  diff -u "$work/expected" "$work/actual"
  ;;
validate)
  install_into "$work/prefix"
  desktop-file-validate "$work"/prefix/share/applications/*.desktop
  appstreamcli validate --no-net --explain "$work"/prefix/share/metainfo/*.metainfo.xml
  # The man page renders without warnings.
  LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$work/prefix/share/man/man1/vantrix.1.gz" 2>&1 >/dev/null | tee "$work/man.err"
  [ ! -s "$work/man.err" ]
  ;;
icons)
  # Each PNG is the size its folder names, and not blank.
  install_into "$work/prefix"
  count=0
  for png in "$work"/prefix/share/icons/hicolor/*/apps/*.png; do
    folder=$(basename "$(dirname "$(dirname "$png")")")
    size=$(identify -format '%wx%h' "$png")
    [ "$size" = "$folder" ] || { echo "$png is $size, not $folder"; exit 1; }
    colours=$(identify -format '%k' "$png")
    opaque=$(convert "$png" -alpha extract -format '%[fx:mean>0.1]' info:)
    [ "$colours" -gt 4 ] && [ "$opaque" = 1 ] || { echo "$png looks blank ($colours colours)"; exit 1; }
    count=$((count + 1))
  done
  [ "$count" -eq 8 ] || { echo "found $count icons, expected 8"; exit 1; }
  ;;
deb)
  # The Debian package builds and lintian finds no error in it.
  (cd "$build" && cpack -G DEB -B "$work/deb" >"$work/cpack.log" 2>&1) || { cat "$work/cpack.log"; exit 1; }
  deb=$(ls "$work"/deb/vantrix_*.deb)
  # (read whole first: grep -q stopping early would fail the pipe)
  info=$(dpkg-deb -I "$deb")
  grep -q '^ Depends: .*libqt6widgets6' <<<"$info" || { echo "no Qt dependency in: $info"; exit 1; }
  # libcurl is opened at run time: the package must still depend on it.
  grep -q '^ Depends: .*libcurl4 ' <<<"$info" || { echo "no libcurl dependency in: $info"; exit 1; }
  lintian --fail-on error "$deb"
  ;;
*)
  echo "unknown check $check" >&2
  exit 2
  ;;
esac
