#!/usr/bin/env bash
# Starts a program on an X server of its own and waits until it shows its
# window: mapped, with the caption "Кальвента " and a client area of 690 by
# 483 pixels. Given a menu entry, the window's class must also be the entry's
# StartupWMClass, by which a desktop ties the window to the entry and its icon.
# Usage: program_shows_window.sh PROGRAM [DESKTOP_FILE]
# Needs: xvfb, xdotool, x11-utils (xprop).
set -euo pipefail
source "$(dirname "$0")/common.sh"
source "$(dirname "$0")/xvfb.sh"
program=$1
[[ -x $program ]] || fail "$program is not an executable"
window_class=
if [[ $# -ge 2 ]]; then
    window_class=$(sed -n 's/^StartupWMClass=//p' "$2")
    [[ -n $window_class ]] || fail "$2 has no StartupWMClass"
fi

start_xvfb
"$program" >"$scratch/program.log" 2>&1 &
pid=$!
on_exit "kill $pid 2>/dev/null; wait $pid 2>/dev/null"

# Looks for the window every 50 ms for up to 30 s, and stops at once if the
# program ends. xdotool matches the caption as an extended regular expression.
window=
for ((tries = 0; tries < 600; tries++)); do
    window=$(LC_ALL=C xdotool search --all --onlyvisible --pid "$pid" --name '^Кальвента $' 2>/dev/null || true)
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
if [[ -n $window_class ]]; then
    # WM_CLASS(STRING) = "instance", "class"; xdotool would match it ignoring case.
    shown_class=$(LC_ALL=C xprop -id "$window" WM_CLASS | sed -n 's/^WM_CLASS(STRING) = ".*", "\(.*\)"$/\1/p')
    [[ $shown_class == "$window_class" ]] \
        || fail "the window's class is '$shown_class', not the menu entry's StartupWMClass $window_class"
fi
geometry=$(LC_ALL=C xdotool getwindowgeometry --shell "$window")
grep -qx 'WIDTH=690' <<<"$geometry" && grep -qx 'HEIGHT=483' <<<"$geometry" \
    || fail "the window is not 690 by 483: $geometry"
kill -0 "$pid" 2>/dev/null || fail "$program ended after showing its window"
echo "window $window shown"
