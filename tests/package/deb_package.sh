#!/usr/bin/env bash
# Makes the .deb with CPack, checks what it holds, and starts the program
# unpacked from it (offscreen, writing a snapshot of its window).
set -euo pipefail
build="$1"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
command -v dpkg-deb >/dev/null || { echo "no dpkg-deb here"; exit 1; }

(cd "$build" && cpack -G DEB -B "$work/out" >/dev/null)
deb=$(ls "$work"/out/*.deb)
echo "package: $(basename "$deb")"
dpkg-deb -I "$deb" | grep -E '^ (Package|Version|Depends|Section):'
dpkg-deb -x "$deb" "$work/root"

root="$work/root/usr"
test -x "$root/bin/vantrel" || { echo "FAIL: no program"; exit 1; }
grep -q '^Categories=.*Game;.*CardGame;' "$root/share/applications/vantrel.desktop" || { echo "FAIL: desktop entry"; exit 1; }
for size in 16 32 48 64 128 256; do
  icon="$root/share/icons/hicolor/${size}x${size}/apps/vantrel.png"
  test -s "$icon" || { echo "FAIL: no ${size}px icon"; exit 1; }
done
dpkg-deb -I "$deb" | grep -q 'libqt6widgets6' || { echo "FAIL: no Qt dependency"; exit 1; }

VANTREL_SNAPSHOT="$work/snapshot.png" QT_QPA_PLATFORM=offscreen "$root/bin/vantrel"
test -s "$work/snapshot.png" || { echo "FAIL: the packaged program wrote no snapshot"; exit 1; }
echo "the packaged program starts"
