#!/usr/bin/env bash
# `cmake --install` as a packager runs it: the layout under the prefix, a
# relative launcher link that survives DESTDIR, desktop entry and metainfo
# that validate, icons of the sizes their folders say, manual pages that
# format cleanly and cover every command, and the about text's version.
. "$(dirname "$0")/lib.sh"

ROOT=$(cd "$(dirname "$0")/../.." && pwd)
BUILD=${BIN_DIR%/bin}
STAGE=$WORK/stage
DESTDIR=$STAGE cmake --install "$BUILD" --prefix /usr >"$WORK/install.log" ||
  fail "cmake --install failed: $(cat "$WORK/install.log")"
P=$STAGE/usr
APP_ID=example.velmora.Velmora

for f in lib/velmora/talvik lib/velmora/maravelle.pdb lib/velmora/orv.wav bin/talvik-book; do
  [ -f "$P/$f" ] || fail "$f is not installed"
done
[ "$(readlink "$P/bin/talvik")" = ../lib/velmora/talvik ] || fail "bin/talvik is $(ls -l "$P/bin/talvik")"
cmp -s "$P/lib/velmora/maravelle.pdb" "$BIN_DIR/maravelle.pdb" || fail "the installed book is not the sample"

desktop-file-validate "$P/share/applications/$APP_ID.desktop" || fail "the desktop entry is not valid"
grep -qx "Icon=$APP_ID" "$P/share/applications/$APP_ID.desktop" || fail "the desktop entry names another icon"
appstreamcli validate --no-net "$P/share/metainfo/$APP_ID.metainfo.xml" >"$WORK/as.log" ||
  fail "the metainfo is not valid: $(cat "$WORK/as.log")"

# A PNG's width and height are the big-endian words at bytes 16 and 20.
for size in 16 32 48 64 128 256; do
  png=$P/share/icons/hicolor/${size}x$size/apps/$APP_ID.png
  [ -f "$png" ] || fail "no $size pixel icon"
  read -r w h < <(od -An -tu1 -j16 -N8 "$png" | awk '{print $1*16777216+$2*65536+$3*256+$4, $5*16777216+$6*65536+$7*256+$8}')
  [ "$w $h" = "$size $size" ] || fail "the ${size}x$size icon is ${w}x$h"
done
[ -f "$P/share/icons/hicolor/scalable/apps/$APP_ID.svg" ] || fail "no scalable icon"

for page in talvik talvik-book; do
  man=$P/share/man/man1/$page.1
  warnings=$(LC_ALL=C.UTF-8 groff -man -Tutf8 -ww -z "$man" 2>&1)
  [ -z "$warnings" ] || fail "$page.1: $warnings"
done
for command in make info show unschedule; do
  grep -q "^\.B $command" "$P/share/man/man1/talvik-book.1" || fail "talvik-book.1 does not describe $command"
  "$P/bin/talvik-book" "$command" --help >/dev/null || fail "talvik-book has no command $command"
done

version=$("$P/bin/talvik-book" --version)
version=${version#talvik-book }
# The build's version reaches the tool, metainfo and manuals; the about text
# has its own copy.
grep -q "VELMORA_VERSION L\"$version\"" "$ROOT/resources/resource.h" || fail "the about text gives another version"
echo "1 passed, 0 failed"
