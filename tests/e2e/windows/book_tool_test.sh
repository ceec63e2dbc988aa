#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# talvik-book.exe under wine, in a folder and on a book named in three
# scripts and past U+FFFF: it makes the very book the Linux tool makes from
# the same source, and info and show print what the Linux tool prints.
#   BIN_DIR        the Windows build's programs
#   WINE_RUN       cmake/wine-run and the build's wine prefix
#   LINUX_BIN_DIR  the Linux build's programs, to compare with
set -euo pipefail
BIN_DIR=${BIN_DIR:?} WINE_RUN=${WINE_RUN:?} LINUX_BIN_DIR=${LINUX_BIN_DIR:?}
. "$(dirname "$0")/../year_source.sh"
WORK=$(mktemp -d /tmp/velmora-win-e2e.XXXXXX)
trap 'rm -rf "$WORK"' EXIT
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

NAMED=$'\u00e9\u6f22\U0001F600'
DIR="$WORK/$NAMED"
mkdir -p "$DIR"
cp "$BIN_DIR/talvik-book.exe" "$DIR/"
# shellcheck disable=SC2086 # WINE_RUN is the script and its prefix
win() { $WINE_RUN "$DIR/talvik-book.exe" "$@"; }
lin() { "$LINUX_BIN_DIR/talvik-book" "$@"; }

# Runs the command on both systems; each must end with status $1 and give
# the same standard output and error.
same() {
  local want=$1 got=0
  shift
  win "$@" >"$WORK/win.out" 2>"$WORK/win.err" || got=$?
  [ "$got" = "$want" ] || fail "talvik-book.exe $* ended with $got, not $want: $(cat "$WORK/win.err")"
  got=0
  lin "$@" >"$WORK/lin.out" 2>"$WORK/lin.err" || got=$?
  [ "$got" = "$want" ] || fail "talvik-book $* ended with $got, not $want"
  cmp -s "$WORK/win.out" "$WORK/lin.out" || fail "$* printed differently: $(diff "$WORK/win.out" "$WORK/lin.out")"
  cmp -s "$WORK/win.err" "$WORK/lin.err" || fail "$* warned differently: $(diff "$WORK/win.err" "$WORK/lin.err")"
}

src="$DIR/year $NAMED.txt"
write_year_source "$src" $'Test Book \xC3\xA9'
book="$DIR/"$'\u043a\u043d\u0438\u0433\u0430'" $NAMED.pdb"
win make "$src" "$book" || fail "make failed"
lin make "$src" "$WORK/linux.pdb"
cmp "$book" "$WORK/linux.pdb" || fail "the books of the two systems differ"
[ "$(ls "$DIR" | grep -c pdb)" = 1 ] && [ -f "$book" ] || fail "the book's name came out as $(ls "$DIR")"
win make - "$WORK/piped.pdb" <"$src" || fail "make from standard input failed"
cmp "$WORK/piped.pdb" "$WORK/linux.pdb" || fail "standard input is not read byte for byte"

same 0 info "$book"
grep -qF "book:     $book" "$WORK/win.out" || fail "info named the book $(head -1 "$WORK/win.out")"
for date in 2024-02-29 2000-02-29 2026-12-31 2026-03-01; do same 0 show "$book" "$date"; done
# Windows' own form of the same path.
winpath="Z:$(tr / '\\' <<<"$book")"
win show "$winpath" 2026-03-01 >"$WORK/win.out" || fail "show with backslashes failed"
cmp -s "$WORK/win.out" "$WORK/lin.out" || fail "show with backslashes printed $(cat "$WORK/win.out")"

# Warnings, faults and control characters read the same.
printf 'Title\n\nOne\n\nTwo\n' >"$WORK/short.txt"
same 0 make "$WORK/short.txt" "$WORK/short.pdb"
same 0 show "$WORK/short.pdb" 2026-01-03
printf 'Title\n\nan arrow \xE2\x86\x92 and \xF0\x9F\x98\x80\n' >"$WORK/bad.txt"
same 1 make "$WORK/bad.txt" "$WORK/bad.pdb"
printf 'Title\n\nred \e[31mRED\e[0m caf\xc3\xa9 \xe2\x82\xac \xe2\x80\x9cq\xe2\x80\x9d\n' >"$WORK/control.txt"
same 0 make --name $'\e]0;pwned\a' "$WORK/control.txt" "$WORK/control.pdb"
same 0 info "$WORK/control.pdb"
same 0 show "$WORK/control.pdb" 2026-01-01
# In a console (wine makes one of a terminal) the characters arrive through
# WriteConsoleW, and control characters are shown escaped.
# shellcheck disable=SC2086
shown=$(script -qec "$(printf '%q ' $WINE_RUN "$DIR/talvik-book.exe" show "$WORK/control.pdb" 2026-01-01)" /dev/null </dev/null)
grep -qF $'red \\x1B[31mRED\\x1B[0m caf\u00e9 \u20ac \u201cq\u201d' <<<"$shown" || fail "the console showed [$shown]"
head -c 100 "$book" >"$WORK/cut.pdb"
same 1 info "$WORK/cut.pdb"

# Failures: status 2 with the system's own reason; no daily start to remove.
got=0
win info "$WORK/absent.pdb" 2>"$WORK/win.err" || got=$?
[ "$got" = 2 ] || fail "a missing book gave $got"
grep -qE "^talvik-book: cannot open $WORK/absent.pdb: .+" "$WORK/win.err" || fail "$(cat "$WORK/win.err")"
got=0
win unschedule 'C:\Program Files\Velmora\talvik.exe' 2>"$WORK/win.err" || got=$?
# Nothing is booked for a path that names no program: said, with status 1.
[ "$got" = 1 ] || fail "unschedule gave $got"
grep -qF 'nothing is booked for C:\Program Files\Velmora\talvik.exe, which names no program' "$WORK/win.err" ||
  fail "unschedule said $(cat "$WORK/win.err")"
echo "1 passed, 0 failed"
