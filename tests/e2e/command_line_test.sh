#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# talvik's command line, with no display to open: --help and --version answer
# on standard output, and anything else is refused on standard error with
# status 2, before the toolkit would fail for want of a display.
. "$(dirname "$0")/lib.sh"

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "${BIN_DIR%/bin}/CMakeCache.txt")
unset DISPLAY WAYLAND_DISPLAY

# Runs talvik with the arguments given; sets status, out and err.
talvik() {
  status=0
  "$BIN_DIR/talvik" "$@" >"$WORK/out" 2>"$WORK/err" || status=$?
  out=$(cat "$WORK/out")
  err=$(cat "$WORK/err")
}

talvik --version
[ "$status:$out:$err" = "0:talvik $version:" ] || fail "--version: status $status, out [$out], err [$err]"
for help in --help -h; do
  talvik "$help"
  [ "$status:$err" = "0:" ] || fail "$help: status $status, err [$err]"
  grep -q '^Usage: talvik \[OPTIONS\]' <<<"$out" && grep -q -- '--version' <<<"$out" || fail "$help prints [$out]"
done
# An answer that cannot be written is a failure, with the reason.
for option in --version --help; do
  status=0
  "$BIN_DIR/talvik" "$option" >/dev/full 2>"$WORK/err" || status=$?
  [ "$status" = 1 ] || fail "$option into a full disk ended with $status"
  grep -qx 'talvik: cannot write standard output: No space left on device' "$WORK/err" ||
    fail "$option into a full disk said [$(cat "$WORK/err")]"
done
for wrong in --bogus -x today; do
  talvik "$wrong"
  [ "$status" = 2 ] && [ -z "$out" ] || fail "$wrong: status $status, out [$out]"
  grep -q -- "$wrong" <<<"$err" || fail "$wrong: the error does not name it: [$err]"
done
echo "1 passed, 0 failed"
