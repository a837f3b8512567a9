#!/usr/bin/env bash
# Renders the window into docs/screenshot.png as an engineer sees it after the
# three calculations: the program runs under an Xvfb of its own, xdotool types
# and clicks, and ImageMagick's import takes the window's picture.
#
#   scripts/screenshot.sh [path/to/kalventa] [output.png]
#
# Needs xvfb, xdotool and imagemagick (Debian), and a built program (the dev
# preset's by default). QT_SCALE_FACTOR=2 in the environment gives the picture
# of a screen with twice the pixel density; LC_ALL that of another locale.
set -euo pipefail
cd "$(dirname "$0")/.."
program=${1:-build/dev/ui/kalventa}
output=${2:-docs/screenshot.png}
[ -x "$program" ] || { echo "build the program first: cmake --preset dev && cmake --build --preset dev" >&2; exit 1; }

# Xvfb picks a free display and tells its number.
coproc XVFB { exec Xvfb -displayfd 1 -screen 0 1600x1200x24 -nolisten tcp 2>/dev/null; }
xvfb_pid=$XVFB_PID
read -r -t 10 display <&"${XVFB[0]}"
export DISPLAY=":$display"
QT_QPA_PLATFORM=xcb "$program" 2>/dev/null &
program_pid=$!
trap 'kill "$program_pid" "$xvfb_pid" 2>/dev/null || true' EXIT

window=$(xdotool search --sync --onlyvisible --name 'Кальвента' | head -n 1)

# Points on the window in device pixels: the container's place plus the
# control's middle, from their boxes in twips (15 twips to the pixel).
scale=${QT_SCALE_FACTOR:-1}
at() { # container-left container-top left top width height (twips)
    echo $((($1 + $3 + $5 / 2) * scale / 15)) $((($2 + $4 + $6 / 2) * scale / 15))
}
click() { xdotool mousemove --window "$window" $1 $2 click 1; }
type_into() { click $1 $2; xdotool type --delay 5 "$3"; }

# The rope check: 1000 kg, medium duty, a rope of 50000 N: not permissible.
type_into $(at 120 120 1800 360 855 285) 1000
click $(at 360 840 240 720 1575 255)
type_into $(at 120 120 4800 360 855 285) 50000
click $(at 120 120 3240 1800 2655 375)
# The drum size limits for a 12 mm rope.
type_into $(at 6600 120 1440 480 855 285) 12
click $(at 6600 120 480 2040 2775 375)
# The rope capacity: a drum of 400 by 800 mm, a 15 mm rope, 5000 kg, three
# layers, welded steel, flange margin 1.5d. The lists are chosen with the
# keyboard, from the field before each.
# The sketch's controls count from inside its border of two pixels.
type_into $(at $((360 + 30)) $((3480 + 30)) 240 1080 615 285) 400
type_into $(at $((360 + 30)) $((3480 + 30)) 2040 2160 615 285) 800
type_into $(at 120 3120 6480 480 735 285) 15
xdotool key Tab Down Down Down
type_into $(at 120 3120 6480 1440 735 285) 5000
xdotool key Tab Down
click $(at 7800 3480 240 240 855 255)
click $(at 120 3120 6120 2640 2895 375)

# The window has painted once two pictures in a row are the same.
scratch=$(mktemp -d)
trap 'kill "$program_pid" "$xvfb_pid" 2>/dev/null || true; rm -rf "$scratch"' EXIT
import -window "$window" "$scratch/a.png"
for _ in $(seq 50); do
    import -window "$window" "$scratch/b.png"
    cmp -s "$scratch/a.png" "$scratch/b.png" && break
    mv "$scratch/b.png" "$scratch/a.png"
done
mkdir -p "$(dirname "$output")"
cp "$scratch/a.png" "$output"
echo "$output"
