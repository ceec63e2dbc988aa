#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# talvik-book as a user runs it: a book made from text is sound, `show` gives
# the very text of the program's reading box, and faulty sources, damaged
# books and wrong use end with the documented messages and statuses.
. "$(dirname "$0")/lib.sh"

tool() { "$BIN_DIR/talvik-book" "$@"; }

# Runs the tool and checks its exit status; its output is left in $out, $err.
expect_status() {
  local want=$1 got=0
  shift
  tool "$@" >"$WORK/out" 2>"$WORK/err" || got=$?
  out=$(cat "$WORK/out")
  err=$(cat "$WORK/err")
  [ "$got" = "$want" ] || fail "talvik-book $* ended with $got, not $want: $out $err"
}
has() { grep -qF -- "$2" <<<"$1" || fail "expected \"$2\" in: $1"; }

# A full year as an editor on Windows saves it; verse 60 (1 March) is the
# one read back.
src=$WORK/year.txt
write_year_source "$src" "Test Book"
expect_status 0 make "$src" "$WORK/maravelle.pdb"
[ -z "$err" ] || fail "a full year warned: $err"
expect_status 0 info "$WORK/maravelle.pdb"
has "$out" "name:     Test Book"
has "$out" "records:  366"
has "$out" "The book is sound."

march=$'Verse 60:\n\n\u201cMarch\u201d \u2014 caf\u00e9 \u20ac5\n\nlast line'
expect_status 0 show "$WORK/maravelle.pdb" 2026-03-01
[ "$out" = "$march" ] || fail "show gave [$out]"
# The program's calendar: 29 February is verse 1, but 2000 is no leap year
# to it, so that day is counted on to verse 60.
expect_status 0 show "$WORK/maravelle.pdb" 2024-02-29
[ "$out" = $'Verse 1:\n\nReading 1' ] || fail "29 February 2024 gave [$out]"
expect_status 0 show "$WORK/maravelle.pdb" 2000-02-29
[ "$out" = "$march" ] || fail "29 February 2000 gave [$out]"

# The program beside the same book, on the same day, shows the same text;
# so does `show` without a date, which takes today.
printf '\0\0\0\0\0\0\0\0\xea\x07\x03\0\x00\0\x01\0\x08\0\0\0\0\0\0\0' >"$APP_DIR/orv.dat"
start_display
install_program "$WORK/maravelle.pdb"
start_program "2026-03-01 08:00:00"
box=$(read_reading_box "$(wait_main_window)" | sed 's/\r$//')
stop_program
[ "$box" = "$march" ] || fail "the reading box holds [$box], show gives [$march]"
today=$(faketime -f '@2026-03-01 08:00:00' "$BIN_DIR/talvik-book" show "$WORK/maravelle.pdb")
[ "$today" = "$march" ] || fail "show for today gave [$today]"

# Faulty sources: the line is named, and the book already there stays whole.
cp "$WORK/maravelle.pdb" "$WORK/before.pdb"
printf 'Title\n\nOne\n\nTwo\nan arrow \xE2\x86\x92\n' >"$WORK/bad.txt"
expect_status 1 make "$WORK/bad.txt" "$WORK/maravelle.pdb"
has "$err" "bad.txt: line 6: \"→\" (U+2192) cannot be written in Windows-1252"
printf 'Title\n\nLatin-1, not UTF-8: caf\xE9\n' >"$WORK/bad.txt"
expect_status 1 make "$WORK/bad.txt" "$WORK/maravelle.pdb"
has "$err" "bad.txt: line 3: the text is not valid UTF-8"
printf '# comments alone\n' >"$WORK/bad.txt"
expect_status 1 make "$WORK/bad.txt" "$WORK/maravelle.pdb"
has "$err" "the source holds no readings"
cmp -s "$WORK/maravelle.pdb" "$WORK/before.pdb" || fail "a refused source changed the book"
# Short and long sources make books, with a warning.
printf 'Title\n\nOne\n\nTwo\n' >"$WORK/short.txt"
expect_status 0 make "$WORK/short.txt" "$WORK/short.pdb"
has "$err" "warning: the last reading is verse 2: days from verse 3 on show the verse heading only"
expect_status 0 info "$WORK/short.pdb"
has "$out" "warning:  verses 3 to 365 have no record"
expect_status 0 show "$WORK/short.pdb" 2026-01-03
printf 'Verse 3:\n\n\n' | cmp -s - "$WORK/out" || fail "a missing reading gave [$out]"
has "$err" "has no reading for verse 3"
{ cat "$src"; printf '\r\nOne more\r\n'; } >"$WORK/long.txt"
expect_status 0 make "$WORK/long.txt" "$WORK/long.pdb"
has "$err" "warning: the readings go on to verse 366: the reader never shows those past verse 365"

# A private book made again stays private: it keeps its mode and access
# list, letting in the one other user it did and not its group, and gets no
# list that its folder gives new files.
mkdir "$WORK/private"
for book in plain shared; do install -m 600 "$WORK/short.pdb" "$WORK/private/$book.pdb"; done
setfacl -m u:nobody:r,m::r "$WORK/private/shared.pdb"
setfacl -m d:u:nobody:rwx "$WORK/private"
for book in "$WORK/private/"*.pdb; do
  acl=$(getfacl -cnp "$book")
  expect_status 0 make "$WORK/short.txt" "$book"
  [ "$(getfacl -cnp "$book")" = "$acl" ] || fail "the access list of $book became: $(getfacl -cnp "$book")"
done

# A book that cannot be written leaves nothing behind: here a folder stands
# where the book should go, so the rename at the end fails.
mkdir -p "$WORK/shelf/book.pdb"
expect_status 2 make "$src" "$WORK/shelf/book.pdb"
has "$err" "cannot write $WORK/shelf/book.pdb: Is a directory"
[ "$(ls -A "$WORK/shelf")" = book.pdb ] || fail "a failed write left $(ls -A "$WORK/shelf")"
expect_status 2 make "$WORK/absent.txt" "$WORK/x.pdb"
has "$err" "cannot read $WORK/absent.txt: No such file or directory"
expect_status 2 make "$WORK/short.txt" /nonexistent/b.pdb
has "$err" "cannot write /nonexistent/b.pdb: No such file or directory"

# A reading longer than the reader shows is refused, so that make never
# writes a book that info then calls damaged; so is an endless source, at
# the most a source may hold.
{ printf 'Title\n\n'; head -c $((2 << 20)) /dev/zero | tr '\0' a; printf '\n'; } >"$WORK/huge.txt"
expect_status 1 make "$WORK/huge.txt" "$WORK/huge.pdb"
has "$err" "huge.txt: line 3: the block holds 2097152 characters; the reader shows at most 1048575 of one"
expect_status 1 make /dev/zero "$WORK/huge.pdb"
has "$err" "/dev/zero: the source is larger than 366 MiB (383778816 bytes)"
[ ! -e "$WORK/huge.pdb" ] || fail "a refused source left a book"
# The records wait where TMPDIR says, not in a /tmp that may be memory. Once
# more than a pipe holds is written, make is reading, its records file open.
mkdir "$WORK/tmp"
mkfifo "$WORK/source"
exec 3<>"$WORK/source"
TMPDIR=$WORK/tmp "$BIN_DIR/talvik-book" make "$WORK/source" "$WORK/piece.pdb" 3>&- 2>/dev/null &
maker=$!
{ printf 'Title\n\n'; head -c 300000 /dev/zero | tr '\0' a; } >&3
ls -l "/proc/$maker/fd" | grep -q " $WORK/tmp/" || fail "make keeps its records elsewhere: $(ls -l "/proc/$maker/fd")"
exec 3>&-
wait $maker || fail "make from a named pipe failed"

# "-" is standard input; an output that is the source itself, by its name,
# through a link or redirected to standard input, is refused.
expect_status 0 make - "$WORK/piped.pdb" <"$WORK/short.txt"
has "$err" "standard input: warning: the last reading is verse 2"
cmp -s "$WORK/piped.pdb" "$WORK/short.pdb" || fail "the book made from standard input differs"
ln -s short.txt "$WORK/link.txt"
for source in "$WORK/short.txt" "$WORK/link.txt" -; do
  expect_status 2 make "$source" "$WORK/short.txt" <"$WORK/short.txt"
  has "$err" "$WORK/short.txt is the source itself"
done
printf 'Title\n\nOne\n\nTwo\n' | cmp -s - "$WORK/short.txt" || fail "the source was overwritten"

# Control characters from a book never reach a terminal as they are: info
# always shows them escaped, so that a name cannot add a line to its report,
# and so does show on a terminal; into a pipe, show gives the exact text.
printf 'Title\n\nred \e[31mRED\e[0m\tend\n' >"$WORK/control.txt"
expect_status 0 make --name $'\e]0;pwned\a\nThe book is sound.' "$WORK/control.txt" "$WORK/control.pdb"
expect_status 0 info "$WORK/control.pdb"
has "$out" 'name:     \x1B]0;pwned\x07\x0AThe book is sound.'
[ "$(grep -c '^The book is' <<<"$out")" = 1 ] || fail "the name added a line to the report: $out"
expect_status 0 show "$WORK/control.pdb" 2026-01-01
[ "$out" = $'Verse 1:\n\nred \e[31mRED\e[0m\tend' ] || fail "show into a pipe gave [$out]"
shown=$(script -qec "$(printf '%q ' "$BIN_DIR/talvik-book" show "$WORK/control.pdb" 2026-01-01)" /dev/null </dev/null)
[ "$shown" = $'Verse 1:\r\n\r\nred \\x1B[31mRED\\x1B[0m\tend\r' ] || fail "show on a terminal gave [$shown]"

# Damaged books: cut short inside the record table, and the last NUL gone.
head -c 100 "$WORK/maravelle.pdb" >"$WORK/cut.pdb"
expect_status 1 info "$WORK/cut.pdb"
has "$out" "problem:  the record table is cut short: the file ends after 2 of its 366 entries"
has "$out" "The book is damaged."
size=$(stat -c %s "$WORK/maravelle.pdb")
head -c $((size - 1)) "$WORK/maravelle.pdb" >"$WORK/no-nul.pdb"
expect_status 1 info "$WORK/no-nul.pdb"
has "$out" "problem:  record 365 does not end with a NUL"
# `show` reads a damaged book as the program does.
expect_status 0 show "$WORK/no-nul.pdb" 2026-12-31
[ "$out" = $'Verse 365:\n\nReading 365' ] || fail "show on a damaged book gave [$out]"

# An output that is not a file (a named pipe, a device such as /dev/null as
# root, or a link to one) is refused and stays as it was: renamed over, it
# would be gone for everyone else.
mkfifo "$WORK/fifo"
ln -s fifo "$WORK/to-fifo"
outputs=("$WORK/fifo:a named pipe" "$WORK/to-fifo:a named pipe")
[ "$(id -u)" = 0 ] && mknod "$WORK/null" c 1 3 && outputs+=("$WORK/null:a character device")
for output in "${outputs[@]}"; do
  expect_status 2 make "$WORK/short.txt" "${output%%:*}"
  has "$err" "cannot write ${output%%:*}: it is ${output#*:}, not a file"
done
[ -p "$WORK/fifo" ] || fail "the named pipe was replaced"
[ "$(id -u)" != 0 ] || [ -c "$WORK/null" ] || fail "the device was replaced"

# Output that cannot be written is a failure with its reason, not a success.
: >"$WORK/talvik"
for command in "show $WORK/maravelle.pdb 2026-03-01" "info $WORK/maravelle.pdb" --version --help \
  "unschedule $WORK/talvik"; do
  got=0
  # shellcheck disable=SC2086 # the words of the command are meant to split
  tool $command >/dev/full 2>"$WORK/err" || got=$?
  [ "$got" = 2 ] || fail "talvik-book $command into a full disk ended with $got"
  has "$(cat "$WORK/err")" "talvik-book: cannot write standard output: No space left on device"
done

# A book through a pipe cannot be read by seeking to its records: it is
# refused with the reason, never called damaged. From a file, "-" reads it.
for book in /dev/stdin -; do
  got=0
  cat "$WORK/maravelle.pdb" | tool info "$book" >"$WORK/out" 2>"$WORK/err" || got=$?
  [ "$got" = 2 ] || fail "info $book from a pipe ended with $got: $(cat "$WORK/out")"
  has "$(cat "$WORK/err")" "it is a named pipe, and a book is read from a file: save it to one first"
done
expect_status 0 info - <"$WORK/maravelle.pdb"
has "$out" "The book is sound."
expect_status 0 show - 2026-03-01 <"$WORK/maravelle.pdb"
[ "$out" = "$march" ] || fail "show - gave [$out]"

# Memory: the source is never held whole, so an endless one reaches the
# limit of a source within a modest address space, and memory that runs out
# anyway ends the tool with a message, not an abort.
got=0
(ulimit -v 600000 && exec "$BIN_DIR/talvik-book" make /dev/zero "$WORK/z.pdb") 2>"$WORK/err" || got=$?
[ "$got" = 1 ] || fail "make /dev/zero in 600 MB ended with $got: $(cat "$WORK/err")"
has "$(cat "$WORK/err")" "the source is larger than 366 MiB"
{ printf 'Title\n\n'; head -c $((3 << 20)) /dev/zero | tr '\0' a; printf '\n'; } >"$WORK/long-line.txt"
got=0
(ulimit -v 12000 && exec "$BIN_DIR/talvik-book" make "$WORK/long-line.txt" "$WORK/z.pdb") 2>"$WORK/err" || got=$?
[ "$got" = 1 ] || fail "make in 12 MB ended with $got: $(cat "$WORK/err")"
has "$(cat "$WORK/err")" "talvik-book: out of memory"

# Wrong use.
expect_status 2
expect_status 2 frobnicate
expect_status 2 info "$WORK/absent.pdb"
has "$err" "cannot open $WORK/absent.pdb"
expect_status 2 show "$WORK/maravelle.pdb" 2026-02-30
has "$err" "\"2026-02-30\" is not a date of the form YYYY-MM-DD"
expect_status 0 --version
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "${BIN_DIR%/bin}/CMakeCache.txt")
[ "$out" = "talvik-book $version" ] || fail "--version gave [$out]"
expect_status 0 --help
for command in make info show unschedule; do has "$out" "$command"; done
expect_status 0 make --help
has "$out" 'A line holding only "." is an empty'
echo "1 passed, 0 failed"
