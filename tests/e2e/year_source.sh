# SPDX-License-Identifier: MIT
# A year's readings as the source of a book, for the tests of the book tool
# on both systems. It has nothing to set up, so that a test that cannot take
# lib.sh's display and stand-in systemctl can read it on its own.

# Writes to "$1" the source of a full year titled "$2", as an editor on
# Windows saves it: a byte order mark, CR LF, and Windows-1252 characters.
# Verse 60 (1 March) is the one with the characters and an empty line; every
# other verse N reads "Reading N".
write_year_source() {
  local file=$1 title=$2 i
  {
    printf '\xEF\xBB\xBF# A test book\r\n%s\r\n.\r\nTitle page\r\n' "$title"
    for i in $(seq 1 365); do
      if [ "$i" = 60 ]; then
        printf '\r\n\xE2\x80\x9CMarch\xE2\x80\x9D \xE2\x80\x94 caf\xC3\xA9 \xE2\x82\xAC5\r\n.\r\nlast line\r\n'
      else
        printf '\r\nReading %d\r\n' "$i"
      fi
    done
  } >"$file"
}
