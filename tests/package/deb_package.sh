#!/usr/bin/env bash
# Makes the .deb with CPack, checks what it holds with lintian and appstreamcli,
# and starts the program unpacked from it (offscreen, writing a snapshot).
set -euo pipefail
build="$1"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for tool in dpkg-deb lintian appstreamcli; do command -v "$tool" >/dev/null || { echo "no $tool here"; exit 1; }; done

(cd "$build" && cpack -G DEB -B "$work/out" >/dev/null)
deb=$(ls "$work"/out/*.deb)
echo "package: $(basename "$deb")"
# Read the control fields once: grep -q on a pipe may close it early, and
# under pipefail dpkg-deb's broken pipe would fail a package that is fine.
control=$(dpkg-deb -I "$deb")
grep -E '^ (Package|Version|Depends|Section):' <<<"$control"
dpkg-deb -x "$deb" "$work/root"
root="$work/root/usr"
for file in games/vantrel share/man/man6/vantrel.6.gz share/doc/vantrel/copyright share/doc/vantrel/changelog.gz \
            share/metainfo/org.vantrel.Vantrel.metainfo.xml share/applications/vantrel.desktop; do
  test -s "$root/$file" || { echo "FAIL: no $file"; exit 1; }
done
for size in 16 32 48 64 128 256; do
  test -s "$root/share/icons/hicolor/${size}x${size}/apps/vantrel.png" || { echo "FAIL: no ${size}px icon"; exit 1; }
done
grep -q '^Categories=.*Game;.*CardGame;' "$root/share/applications/vantrel.desktop" || { echo "FAIL: desktop entry"; exit 1; }
grep -q '^License: GPL-3+' "$root/share/doc/vantrel/copyright" || { echo "FAIL: copyright"; exit 1; }
grep -q '^ Depends:.*libqt6widgets6' <<<"$control" || { echo "FAIL: no Qt dependency"; exit 1; }
appstreamcli validate --no-net "$root/share/metainfo/org.vantrel.Vantrel.metainfo.xml"
# lintian prints errors as "E: "; there must be none.
report=$(lintian --allow-root "$deb" 2>&1 || true)
echo "$report"
! grep -q '^E: ' <<<"$report" || { echo "FAIL: lintian reports errors"; exit 1; }

VANTREL_SNAPSHOT="$work/snapshot.png" QT_QPA_PLATFORM=offscreen "$root/games/vantrel" -reverse -style windows
test -s "$work/snapshot.png" || { echo "FAIL: the packaged program wrote no snapshot"; exit 1; }
echo "the packaged program starts"
