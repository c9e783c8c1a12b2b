#!/usr/bin/env bash
# Takes the README's picture of the window: starts Quillon under Xvfb with a
# small window manager, opens a demo dump of our own screens through the menu
# and the open dialog, steps the byte scroll bar to 7 and captures the window.
# Needs: xvfb openbox xdotool imagemagick (apt-get install them first).
set -euo pipefail
cd "$(dirname "$0")/.."
work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT
python3 tools/make_demo_file.py "$work/demo.bin"
export DISPLAY=:91
Xvfb "$DISPLAY" -screen 0 800x600x24 >/dev/null 2>&1 &
sleep 1
openbox >/dev/null 2>&1 &
sleep 1
(cd "$work" && exec "$OLDPWD/build/quillon") >/dev/null 2>&1 &
sleep 2
# The window is centred: 530 x 452 client area on an 800 x 600 screen.
xdotool mousemove 155 82 click 1; sleep 0.5
xdotool mousemove 175 105 click 1; sleep 1.5
xdotool type --delay 20 "$work/demo.bin"; xdotool key Return; sleep 1
for _ in 1 2 3 4 5 6 7; do xdotool mousemove 656 506 click 1; sleep 0.2; done
xdotool mousemove 700 580; sleep 0.5
import -window root "$work/root.png"
convert "$work/root.png" -crop 532x474+134+54 +repage docs/window.png
echo "wrote docs/window.png"
