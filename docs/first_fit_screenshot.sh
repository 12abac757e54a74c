#!/bin/sh
# Makes docs/first-fit.png: the desktop after the example's first fit, as a user does it, on a
# virtual display with a window manager. Needs Xvfb, openbox, xdotool, xdpyinfo and ImageMagick
# (`make screenshot` installs them and builds the program first).
# usage: docs/first_fit_screenshot.sh [TESSALY [PNG]]
set -e
root=$(realpath "$(dirname "$0")/..")
tessaly=$(realpath "${1:-$root/build/release/platform/tessaly}")
png=$(realpath -m "${2:-$root/docs/first-fit.png}")
work=$(mktemp -d)
cp "$root/examples/two_peaks.bgd" "$work/"

# A free display number.
n=90
while [ -e /tmp/.X$n-lock ]; do n=$((n + 1)); done
export DISPLAY=:$n
Xvfb "$DISPLAY" -screen 0 1920x1080x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $app $wm $xvfb 2>/dev/null; rm -rf "$work"' EXIT
app= wm=
until xdpyinfo >/dev/null 2>&1; do sleep 0.2; done
openbox >/dev/null 2>&1 &
wm=$!
sleep 1
(cd "$work" && exec "$tessaly") &
app=$!

# Clicks at client pixel (x, y) of a window, as the form definitions place the controls.
click() { xdotool mousemove --window "$1" "$2" "$3" click 1; sleep 0.4; }
# Types into the edit box at (x, y), replacing its text.
type_into() { click "$1" "$2" "$3"; xdotool key ctrl+a; xdotool type --delay 30 "$4"; sleep 0.2; }

peaks=$(xdotool search --sync --name '^Peak setting$' | head -1)
graph=$(xdotool search --sync --name '^Graph setting$' | head -1)
sleep 1
# "Graph setting" opens over the graph: moved aside, as a user does, so the peaks show.
xdotool windowmove "$graph" 880 140
sleep 0.5
click "$peaks" 664 36                      # "OPEN"
dialog=$(xdotool search --sync --name 'ファイルのオープン' | head -1)
sleep 0.5
xdotool key --window "$dialog" ctrl+a
xdotool type --delay 30 "two_peaks.bgd"
xdotool key Return
sleep 1
type_into "$peaks" 132 76 285.5            # "Position"
click "$peaks" 456 140                     # "Make" of row 1
type_into "$peaks" 132 76 289
click "$peaks" 456 172                     # "Make" of row 2
click "$peaks" 552 364                     # "FITTING"
click "$peaks" 552 364                     # and once more
sleep 1
xdotool mousemove 1900 1060                # the pointer out of the way
sleep 0.5

# The three windows, with their title bars.
import -window root "$work/full.png"
convert "$work/full.png" -crop 1710x850+128+100 +repage "$png"
echo "wrote $png"
