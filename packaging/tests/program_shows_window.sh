#!/usr/bin/env bash
# Starts a program on an X server of its own and waits until it shows its
# window: mapped, with the caption "Кальвента " and a client area of 690 by
# 483 pixels.
# Usage: program_shows_window.sh PROGRAM
set -euo pipefail
source "$(dirname "$0")/common.sh"
source "$(dirname "$0")/xvfb.sh"
program=$1
[[ -x $program ]] || fail "$program is not an executable"

start_xvfb
"$program" >"$scratch/program.log" 2>&1 &
pid=$!
on_exit "kill $pid 2>/dev/null; wait $pid 2>/dev/null"

# Looks for the window every 50 ms for up to 30 s, and stops at once if the
# program ends. xdotool matches the caption as an extended regular expression.
window=
for ((tries = 0; tries < 600; tries++)); do
    window=$(xdotool search --all --onlyvisible --pid "$pid" --name '^Кальвента $' 2>/dev/null || true)
    [[ -n $window ]] && break
    if ! kill -0 "$pid" 2>/dev/null; then
        cat "$scratch/program.log" >&2
        fail "$program ended before it showed its window"
    fi
    sleep 0.05
done
if [[ -z $window ]]; then
    cat "$scratch/program.log" >&2
    fail "no window captioned 'Кальвента ' appeared within 30 s"
fi
window=$(head -n 1 <<<"$window")
geometry=$(xdotool getwindowgeometry --shell "$window")
grep -qx 'WIDTH=690' <<<"$geometry" && grep -qx 'HEIGHT=483' <<<"$geometry" \
    || fail "the window is not 690 by 483: $geometry"
kill -0 "$pid" 2>/dev/null || fail "$program ended after showing its window"
echo "window $window shown"
