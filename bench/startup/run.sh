#!/usr/bin/env bash
# The start-up benchmark in full: time to the first frame of kalventa against
# the stock reference window, then instruction counts of both up to their
# first frame with callgrind (repeatable to about 0.2 %, where time is noisy);
# the same as on a GNOME session, where Qt loads its GTK3 theme; then what a
# session D-Bus and accessibility add to kalventa's start-up. Every program
# runs on an Xvfb of the benchmark's own.
#
# The ratio of the two instruction counts is the measure kept: it fails the
# run (exit status 1) above 1.0, kalventa heavier than the stock window.
#
# Usage: bench/startup/run.sh [--instructions] [BUILD_DIR [RUNS]]
#   (default build/dev, 40 runs; --instructions: only the instruction counts
#   and their check, as the test suite runs it)
# Needs: xvfb, valgrind, dbus (for the D-Bus part); qt6-gtk-platformtheme for
# the GNOME part to differ from the first.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
only_instructions=false
if [[ ${1:-} == --instructions ]]; then
    only_instructions=true
    shift
fi
build=$(cd "${1:-$here/../../build/dev}" && pwd)
runs=${2:-40}
# kalventa's instructions to the first frame at most this share of the
# reference's.
ratio_limit=1.0

$only_instructions || cmake --build "$build" --target kalventa startup_reference startup_bench
kalventa=$build/ui/kalventa
reference=$build/bench/startup/startup_reference
bench=$build/bench/startup/startup_bench

work=$(mktemp -d "${TMPDIR:-/tmp}/kalventa-startup.XXXXXX")
bus_pid=
cleanup() {
    [[ -n $bus_pid ]] && kill "$bus_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

if ! $only_instructions; then
    echo "== Time from exec to the first frame"
    "$bench" --runs "$runs" "$kalventa" "$reference"
fi

if ! command -v valgrind >/dev/null; then
    echo "valgrind is not installed: no instruction counts"
    $only_instructions && exit 1
    exit 0
fi

# Instructions of a command up to its first frame: callgrind writes them out
# when the benchmark ends the program with SIGTERM after that frame. A child
# that the program forks (libdbus does, to look for a session bus) writes a
# file of its own; the program's is the one with the most instructions.
profile() { # out_file command...
    local out=$1
    shift
    "$bench" --once --timeout-ms 300000 -- valgrind --tool=callgrind --callgrind-out-file="$out.%p" "$@" \
        >"$out.log" 2>&1 || { cat "$out.log" >&2; return 1; }
    local largest
    largest=$(grep -H '^totals:' "$out".[0-9]* | sort -t' ' -k2,2n | tail -n 1 | cut -d: -f1)
    mv "$largest" "$out"
}

echo
echo "== Instructions up to the first frame (callgrind)"
profile "$work/kalventa.out" "$kalventa"
profile "$work/reference.out" "$reference"
"$here/callgrind_breakdown.sh" kalventa="$work/kalventa.out" reference="$work/reference.out"
totals() { sed -n 's/^totals: *//p' "$1"; }
# awk in C: a decimal comma in the user's locale would make the ratio a
# text that compares below any limit.
ratio=$(LC_ALL=C awk -v k="$(totals "$work/kalventa.out")" -v r="$(totals "$work/reference.out")" \
    'BEGIN { printf "%.3f", k / r }')
echo "instruction ratio kalventa / reference: $ratio (at most $ratio_limit)"
heavier=$(LC_ALL=C awk -v ratio="$ratio" -v limit="$ratio_limit" 'BEGIN { print (ratio + 0 > limit + 0) ? "yes" : "no" }')
status=0
if [[ $heavier == yes ]]; then
    echo "FAIL: kalventa takes more instructions to its first frame than the stock window" >&2
    status=1
fi
$only_instructions && exit "$status"

# A GNOME session names itself in XDG_CURRENT_DESKTOP, and Qt then loads the
# GTK3 platform theme plugin (qt6-gtk-platformtheme, which libqt6gui6
# recommends) with GTK, GDK and their libraries.
echo
echo "== As on a GNOME session (XDG_CURRENT_DESKTOP=GNOME)"
XDG_CURRENT_DESKTOP=GNOME "$bench" --runs "$runs" "$kalventa" "$reference"
XDG_CURRENT_DESKTOP=GNOME profile "$work/gnome-kalventa.out" "$kalventa"
XDG_CURRENT_DESKTOP=GNOME profile "$work/gnome-reference.out" "$reference"
"$here/callgrind_breakdown.sh" kalventa="$work/gnome-kalventa.out" reference="$work/gnome-reference.out"

if ! command -v dbus-daemon >/dev/null; then
    echo "dbus-daemon is not installed: no D-Bus measurements"
    exit "$status"
fi

# A desktop session has a session bus, and Qt asks it for the accessibility
# bus at start-up; here the benchmark starts a private one.
dbus-daemon --session --fork --print-address=3 --print-pid=4 3>"$work/bus-address" 4>"$work/bus-pid"
bus_pid=$(cat "$work/bus-pid")
bus_address=$(head -n 1 "$work/bus-address")

echo
echo "== kalventa with a session D-Bus and accessibility (callgrind)"
(unset DBUS_SESSION_BUS_ADDRESS && profile "$work/no-bus.out" "$kalventa")
DBUS_SESSION_BUS_ADDRESS=$bus_address profile "$work/bus.out" "$kalventa"
DBUS_SESSION_BUS_ADDRESS=$bus_address QT_ACCESSIBILITY=0 profile "$work/bus-no-a11y.out" "$kalventa"
DBUS_SESSION_BUS_ADDRESS=$bus_address QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 profile "$work/bus-a11y-on.out" "$kalventa"
# QT_ACCESSIBILITY=0 and QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 only measure
# what accessibility costs; the program itself reads no setting of its own.
"$here/callgrind_breakdown.sh" "no-bus=$work/no-bus.out" "bus=$work/bus.out" \
    "bus,no-a11y=$work/bus-no-a11y.out" "bus,a11y-on=$work/bus-a11y-on.out"

# Time matters here more than instructions: D-Bus calls wait for answers.
# Both sides run through the same kind of wrapper, so it cancels out.
printf '#!/bin/sh\nexec env -u DBUS_SESSION_BUS_ADDRESS %q\n' "$kalventa" >"$work/kalventa-no-bus"
printf '#!/bin/sh\nexec env DBUS_SESSION_BUS_ADDRESS=%q %q\n' "$bus_address" "$kalventa" >"$work/kalventa-bus"
chmod +x "$work/kalventa-no-bus" "$work/kalventa-bus"
echo
echo "== Time to the first frame of kalventa with and without a session D-Bus"
"$bench" --runs "$runs" "$work/kalventa-bus" "$work/kalventa-no-bus"
exit "$status"
