#!/usr/bin/env bash
# Installs the build into a fresh prefix and checks what a desktop needs to list Tarniva in its
# application menu: the program, a valid desktop entry naming it, and its icon at every size.
set -euo pipefail
BUILD=${1:?usage: $0 path/to/build}
PREFIX=$(mktemp -d)
trap 'rm -rf "$PREFIX"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$BUILD" --prefix "$PREFIX" >/dev/null
[ -x "$PREFIX/bin/tarniva" ] || fail "no program bin/tarniva"

entry=$PREFIX/share/applications/tarniva.desktop
[ -f "$entry" ] || fail "no desktop entry share/applications/tarniva.desktop"
command -v desktop-file-validate >/dev/null || fail "desktop-file-validate is missing (package desktop-file-utils)"
problems=$(desktop-file-validate "$entry" 2>&1) || fail "the desktop entry is not valid: $problems"
! grep -q -E 'error:|warning:' <<<"$problems" || fail "desktop-file-validate warns: $problems"
key() { sed -n "s/^$1=//p" "$entry"; }
[ "$(key Name)" = Tarniva ] || fail "Name is '$(key Name)'"
[ "$(key Exec)" = tarniva ] || fail "Exec is '$(key Exec)'"
[ -x "$PREFIX/bin/$(key Exec)" ] || fail "Exec names no installed program"
[ "$(key Icon)" = tarniva ] || fail "Icon is '$(key Icon)'"
# The window class the program's windows carry, so a taskbar puts them under this entry.
[ "$(key StartupWMClass)" = Tarniva ] || fail "StartupWMClass is '$(key StartupWMClass)'"

for size in 16 22 24 32 48 64 128 256; do
  icon=$PREFIX/share/icons/hicolor/${size}x${size}/apps/tarniva.png
  [ -f "$icon" ] || fail "no icon of size $size"
  got=$(identify -format '%m %wx%h' "$icon")
  [ "$got" = "PNG ${size}x${size}" ] || fail "icon of size $size is $got"
done
svg=$PREFIX/share/icons/hicolor/scalable/apps/tarniva.svg
[ -f "$svg" ] || fail "no scalable icon"
grep -q '<svg[^>]*xmlns="http://www.w3.org/2000/svg"' "$svg" || fail "the scalable icon is no SVG"
echo "install: ok"
