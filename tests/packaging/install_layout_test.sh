#!/usr/bin/env bash
# Installs a build into a temporary root and checks what desktops, software centres and man
# need of it: install_layout_test.sh BUILD-DIR VERSION
set -uo pipefail
build=$1 version=$2
for tool in desktop-file-validate appstreamcli groff man; do
    if ! command -v "$tool" >/dev/null; then
        echo "SKIP: $tool is missing (scripts/install-deps.sh installs it)"
        exit 77
    fi
done
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
DESTDIR=$root cmake --install "$build" --prefix /usr >/dev/null || exit 1
usr=$root/usr
status=0
fail() { echo "FAIL: $*"; status=1; }

# Programs only: no library, header or test binary is installed.
[ "$(ls "$usr/bin" | tr '\n' ' ')" = "hivora hivora-cli " ] || fail "bin holds: $(ls "$usr/bin")"
[ "$(ls "$usr" | tr '\n' ' ')" = "bin share " ] || fail "the prefix holds: $(ls "$usr")"

desktop=$usr/share/applications/hivora.desktop
desktop-file-validate "$desktop" || fail "desktop entry not valid"
exec=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")
[ -x "$usr/bin/$exec" ] || fail "Exec names '$exec', which is not installed"
icon=$(sed -n 's/^Icon=//p' "$desktop")
[ -f "$usr/share/icons/hicolor/scalable/apps/$icon.svg" ] || fail "no scalable icon '$icon'"
for size in 16 22 24 32 48 64 128 256; do
    png=$usr/share/icons/hicolor/${size}x${size}/apps/$icon.png
    # A PNG holds its width and height as 32-bit big-endian numbers from byte 16.
    dims=$(od -An -tu1 -j16 -N8 "$png" 2>/dev/null | awk '{print $3*256+$4 "x" $7*256+$8}')
    [ "$dims" = "${size}x${size}" ] || fail "icon $png is '$dims'"
done

metainfo=$(ls "$usr"/share/metainfo/*.metainfo.xml)
appstreamcli validate --no-net "$metainfo" >/dev/null || fail "$(appstreamcli validate --no-net "$metainfo")"
grep -q "<launchable type=\"desktop-id\">hivora.desktop</launchable>" "$metainfo" ||
    fail "the metadata launches another desktop entry"
grep -o '<release version="[^"]*"' "$metainfo" | head -1 | grep -q "\"$version\"" ||
    fail "the newest release in $metainfo is not $version"

page=$usr/share/man/man1/hivora-cli.1.gz
# A long unbreakable word (a command synopsis) only makes a line overfull: not a fault of the page.
warnings=$(zcat "$page" | groff -man -Tutf8 -ww -Wbreak -z 2>&1)
[ -z "$warnings" ] || fail "man page warnings: $warnings"
text=$(MANWIDTH=100 man -l "$page" 2>/dev/null)
for expected in SYNOPSIS "hivora-cli - " "--user-dir DIR" favorites-import EXAMPLES; do
    grep -qF -- "$expected" <<<"$text" || fail "man page lacks '$expected'"
done

# The installed Help command looks for its pages here, beside bin/ (FindHelpFile).
help=$usr/share/hivora/help
[ -f "$help/index.htm" ] || fail "no help pages in $help"
for htm in "$help"/*.htm; do
    for link in $(grep -o '\(src\|href\)="[^"#:]*"' "$htm" | sed 's/.*="\(.*\)"/\1/'); do
        [ -f "$help/$link" ] || fail "$(basename "$htm") links to missing $link"
    done
done
exit $status
