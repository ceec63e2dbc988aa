#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The Debian package, made with cpack from this build as a packager makes it
# from a Release build, and unpacked with dpkg -x: its fields and computed
# dependencies, lintian finding no error, the layout under /usr with a
# relative launcher link, stripped programs, a desktop entry and metainfo that
# validate, icons of the sizes their folders say, manual pages that format
# cleanly and cover every command, Debian's copyright and changelog, and one
# version everywhere.
. "$(dirname "$0")/lib.sh"

BUILD=${BIN_DIR%/bin}
APP_ID=example.velmora.Velmora
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$BUILD/CMakeCache.txt")
deb=$WORK/deb/velmora_${version}_$(dpkg --print-architecture).deb
cpack --config "$BUILD/CPackConfig.cmake" -B "$WORK/deb" >"$WORK/cpack.log" 2>&1 ||
  fail "cpack failed: $(cat "$WORK/cpack.log")"
[ -f "$deb" ] || fail "no $deb: $(ls "$WORK/deb")"

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package) $(field Version) $(field Section)" = "velmora $version misc" ] ||
  fail "package fields: $(dpkg-deb -f "$deb")"
[ -n "$(field Maintainer)" ] && [ -n "$(field Description)" ] || fail "no maintainer or description"
# Found by dpkg-shlibdeps, and the chime's library, which is loaded at run time.
for dependency in libwxgtk3.2 libstdc++6 libcanberra0; do
  field Depends | grep -q "$dependency" || fail "Depends lacks $dependency: $(field Depends)"
done
if command -v lintian >/dev/null; then
  lintian "$deb" >"$WORK/lintian.log" 2>&1 || true
  ! grep '^E:' "$WORK/lintian.log" || fail "lintian reports errors"
fi

dpkg -x "$deb" "$WORK/root"
P=$WORK/root/usr
for f in lib/velmora/talvik lib/velmora/maravelle.pdb lib/velmora/orv.wav bin/talvik-book; do
  [ -f "$P/$f" ] || fail "$f is not in the package"
done
[ "$(readlink "$P/bin/talvik")" = ../lib/velmora/talvik ] || fail "bin/talvik is $(ls -l "$P/bin/talvik")"
cmp -s "$P/lib/velmora/maravelle.pdb" "$BIN_DIR/maravelle.pdb" || fail "the packaged book is not the sample"
for f in lib/velmora/talvik bin/talvik-book; do
  file -b "$P/$f" | grep -q ', stripped' || fail "$f is not stripped: $(file -b "$P/$f")"
done
# The packaged program runs from its link, without a display.
[ "$(env -u DISPLAY "$P/bin/talvik" --version)" = "talvik $version" ] || fail "talvik --version does not give $version"
[ "$("$P/bin/talvik-book" --version)" = "talvik-book $version" ] || fail "talvik-book --version does not give $version"

desktop-file-validate "$P/share/applications/$APP_ID.desktop" || fail "the desktop entry is not valid"
grep -qx "Icon=$APP_ID" "$P/share/applications/$APP_ID.desktop" || fail "the desktop entry names another icon"
metainfo=$P/share/metainfo/$APP_ID.metainfo.xml
appstreamcli validate --no-net "$metainfo" >"$WORK/as.log" || fail "the metainfo is not valid: $(cat "$WORK/as.log")"
grep -q "<release version=\"$version\" date=\"[0-9-]*\"/>" "$metainfo" || fail "the metainfo has no release $version"
grep -q '<project_license>MIT</project_license>' "$metainfo" || fail "the metainfo names no licence"

# A PNG's width and height are the big-endian words at bytes 16 and 20.
for size in 16 32 48 64 128 256; do
  png=$P/share/icons/hicolor/${size}x$size/apps/$APP_ID.png
  [ -f "$png" ] || fail "no $size pixel icon"
  read -r w h < <(od -An -tu1 -j16 -N8 "$png" | awk '{print $1*16777216+$2*65536+$3*256+$4, $5*16777216+$6*65536+$7*256+$8}')
  [ "$w $h" = "$size $size" ] || fail "the ${size}x$size icon is ${w}x$h"
done
[ -f "$P/share/icons/hicolor/scalable/apps/$APP_ID.svg" ] || fail "no scalable icon"

for page in talvik talvik-book; do
  man=$P/share/man/man1/$page.1.gz
  warnings=$(zcat "$man" | LC_ALL=C.UTF-8 groff -man -Tutf8 -ww -z 2>&1)
  [ -z "$warnings" ] || fail "$page.1: $warnings"
  zcat "$man" | grep -q "^\.TH .* \"Velmora $version\"" || fail "$page.1 gives another version"
done
for command in make info show unschedule; do
  zcat "$P/share/man/man1/talvik-book.1.gz" | grep -q "^\.B $command" || fail "talvik-book.1 does not describe $command"
  "$P/bin/talvik-book" "$command" --help >/dev/null || fail "talvik-book has no command $command"
done
for option in help version; do
  zcat "$P/share/man/man1/talvik.1.gz" | grep -q "\\\\-\\\\-$option" || fail "talvik.1 does not describe --$option"
done

DOC=$P/share/doc/velmora
grep -q '^License: MIT$' "$DOC/copyright" || fail "the copyright file names no MIT licence"
zcat "$DOC/changelog.gz" | head -n 1 | grep -q "^velmora ($version) " || fail "the changelog does not start at $version"
echo "1 passed, 0 failed"
