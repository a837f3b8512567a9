#!/usr/bin/env bash
# Runs screen_reader_test.py against the program as a screen reader meets it:
# an X server and a D-Bus session of the test's own, with the accessibility
# bus of at-spi2-core, and Qt's AT-SPI bridge on. The server, the buses and
# the scratch folder go when the test ends, passed or failed.
# Needs: xvfb, x11-utils, dbus, at-spi2-core, python3-pyatspi, xdotool.
set -euo pipefail
program=$1
here=$(cd "$(dirname "$0")" && pwd)
scratch=$(mktemp -d "${TMPDIR:-/tmp}/kalventa-a11y.XXXXXX")

# The processes of the session: all that were started with its runtime folder.
# The accessibility registry among them was handed to init by the bus that
# started it, and outlives that bus for a moment.
session_processes() {
    local dir entry
    for dir in /proc/[0-9]*; do
        while IFS= read -r -d '' entry; do
            if [[ $entry == "XDG_RUNTIME_DIR=$scratch" ]]; then
                echo "${dir#/proc/}"
                break
            fi
        done 2>/dev/null <"$dir/environ" || true
    done
}

xvfb=
cleanup() {
    local pids tries
    pids=$(session_processes)
    if [[ -n $pids ]]; then
        kill $pids 2>/dev/null || true
        for ((tries = 0; tries < 100; tries++)); do
            [[ -z $(session_processes) ]] && break
            sleep 0.05
        done
        pids=$(session_processes)
        [[ -z $pids ]] || kill -KILL $pids 2>/dev/null || true
    fi
    # The server goes last: the session's programs are its clients.
    if [[ -n $xvfb ]]; then
        kill "$xvfb" 2>/dev/null || true
        wait "$xvfb" 2>/dev/null || true
    fi
    rm -rf "$scratch"
}
trap cleanup EXIT

# -displayfd: the server picks a free display and writes it once it accepts
# connections. -noreset: without it the server resets when its first client
# leaves, and a client that connects meanwhile is refused.
: >"$scratch/display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$scratch/display" >"$scratch/xvfb.log" 2>&1 &
xvfb=$!
for ((tries = 0; tries < 200; tries++)); do
    grep -q '^[0-9][0-9]*$' "$scratch/display" && break
    kill -0 "$xvfb" 2>/dev/null || { cat "$scratch/xvfb.log" >&2; exit 1; }
    sleep 0.05
done
export DISPLAY=":$(head -n 1 "$scratch/display")"
LC_ALL=C xdpyinfo >/dev/null || { cat "$scratch/xvfb.log" >&2; echo "FAIL: the display $DISPLAY does not answer" >&2; exit 1; }
export QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 XDG_RUNTIME_DIR="$scratch"
unset QT_ACCESSIBILITY NO_AT_BRIDGE

# Debian's session bus listens in /tmp, where a bus that is killed leaves its
# socket; this one listens in the scratch folder.
cat >"$scratch/session.conf" <<EOF
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:dir=$scratch</listen>
  <auth>EXTERNAL</auth>
  <standard_session_servicedirs/>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
EOF

# Not exec: this shell stays to clean up after the session (cleanup above).
# dbus-run-session ends its bus when the test ends, the inner shell the
# accessibility bus launcher.
dbus-run-session --config-file="$scratch/session.conf" -- bash -c '
    /usr/libexec/at-spi-bus-launcher --launch-immediately &
    launcher=$!
    trap "kill $launcher 2>/dev/null; wait $launcher 2>/dev/null" EXIT
    /usr/bin/python3 "$0" "$1"' "$here/screen_reader_test.py" "$program"
