# SPDX-License-Identifier: MIT
# Helpers for the tests that read what screen readers see: each runs inside a
# session bus of its own, where the program's accessibility bridge registers
# with the registry that at-spi2-core starts on demand. The accessibility
# bus keeps its socket in the runtime folder, or else in ~/.cache, where tests
# running at the same time would take each other's: each test has its own.
if [ -z "${VELMORA_OWN_BUS:-}" ]; then
  VELMORA_OWN_BUS=1 XDG_RUNTIME_DIR=$(mktemp -d /tmp/velmora-runtime.XXXXXX) \
    exec dbus-run-session -- bash "$0" "$@" 2> >(grep -v 'fd limit' >&2)
fi
. "$(dirname "$0")/lib.sh"
trap 'cleanup; rm -rf "$XDG_RUNTIME_DIR"' EXIT
# The other tests keep the bridge off; these need it.
unset NO_AT_BRIDGE
HERE=$(cd "$(dirname "$0")" && pwd)

# Prints the program's accessible objects on the screen, one a line:
# window, role, name, states, extents (x y width height), text.
tree() {
  /usr/bin/python3 "$HERE/atspi_tree.py" talvik 2>/dev/null || true
}

# Waits until a line of the tree matches the extended regular expression $1,
# and prints it.
wait_tree() {
  local line
  for _ in $(seq 100); do
    line=$(tree | grep -E -m 1 -- "$1" || true)
    [ -n "$line" ] && { echo "$line"; return; }
    sleep 0.1
  done
  fail "nothing on the screen matches /$1/; screen readers see:
$(tree)"
}

# Fails when a control that takes the keyboard focus has no name.
expect_every_focusable_named() {
  local unnamed
  unnamed=$(tree | awk -F'\t' '$4 ~ /focusable/ && $3 == ""')
  [ -z "$unnamed" ] || fail "controls without a name: $unnamed"
}

# Clicks the calendar of the tree line $1 in its first column, in the middle
# of its weeks, and prints the calendar's name afterwards: the date clicked.
click_first_column() {
  local x y w h name
  read -r x y w h <<<"$(cut -f5 <<<"$1")"
  name=$(cut -f3 <<<"$1")
  xdotool mousemove $((x + w / 14)) $((y + h * 55 / 100)) click 1
  for _ in $(seq 50); do
    line=$(tree | awk -F'\t' '$2 == "calendar"')
    [ "$(cut -f3 <<<"$line")" != "$name" ] && { cut -f3 <<<"$line"; return; }
    sleep 0.1
  done
  fail "clicking the calendar changed nothing"
}
