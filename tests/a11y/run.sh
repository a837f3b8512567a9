#!/usr/bin/env bash
# Runs screen_reader_test.py against the program as a screen reader meets it:
# an X server and a D-Bus session of the test's own, with the accessibility
# bus of at-spi2-core, and Qt's AT-SPI bridge on.
# Needs: xvfb, dbus, at-spi2-core, python3-pyatspi, xdotool.
set -euo pipefail
program=$1
here=$(cd "$(dirname "$0")" && pwd)
scratch=$(mktemp -d "${TMPDIR:-/tmp}/kalventa-a11y.XXXXXX")
trap 'kill "$xvfb" 2>/dev/null; wait "$xvfb" 2>/dev/null; rm -rf "$scratch"' EXIT

# -displayfd: the server picks a free display and writes it once it accepts connections.
: >"$scratch/display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$scratch/display" >"$scratch/xvfb.log" 2>&1 &
xvfb=$!
for ((tries = 0; tries < 200; tries++)); do
    grep -q '^[0-9][0-9]*$' "$scratch/display" && break
    kill -0 "$xvfb" 2>/dev/null || { cat "$scratch/xvfb.log" >&2; exit 1; }
    sleep 0.05
done
export DISPLAY=":$(head -n 1 "$scratch/display")"
export QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 XDG_RUNTIME_DIR="$scratch"
unset QT_ACCESSIBILITY NO_AT_BRIDGE

exec dbus-run-session -- bash -c '
    /usr/libexec/at-spi-bus-launcher --launch-immediately &
    launcher=$!
    trap "kill $launcher 2>/dev/null" EXIT
    /usr/bin/python3 "$0" "$1"' "$here/screen_reader_test.py" "$program"
