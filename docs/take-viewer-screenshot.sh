#!/usr/bin/env bash
# Takes docs/viewer.png: the photo viewer on a 1024x700 virtual screen. Imports
# the photo collection given (default ../shared/testdata/photos) into a
# throw-away data folder, picks a group, double-clicks its first thumbnail,
# steps with the arrow keys, zooms in, turns the photo and lets the program
# save the screen (--grab-screen FILE --grab-delay MS).
set -euo pipefail
cd "$(dirname "$0")/.."
photos=${1:-../shared/testdata/photos}
bin=${2:-build/release/bin}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
chmod 700 "$scratch"
"$bin/darazoz-cli" --data-dir "$scratch/data" import "$photos" > /dev/null 2>&1

cat > "$scratch/session.sh" <<SESSION
#!/usr/bin/env bash
export XDG_CONFIG_HOME="$scratch" XDG_RUNTIME_DIR="$scratch"
"$bin/darazoz" --data-dir "$scratch/data" --grab-screen "$PWD/docs/viewer.png" --grab-delay 11500 &
sleep 2.5
xdotool mousemove 80 501 click 1
sleep 0.8
xdotool mousemove 294 340 click 1
sleep 0.3
xdotool mousemove 294 340 click --repeat 2 --delay 80 1
sleep 1.5
xdotool key Right
sleep 0.6
xdotool key Right
sleep 0.6
xdotool key Left
sleep 0.6
xdotool mousemove 640 660
sleep 0.2
xdotool mousemove 651 669 click 1
sleep 0.6
xdotool mousemove 615 669 click 1
sleep 0.6
xdotool key Up
sleep 0.8
xdotool mousemove 560 645
wait
SESSION
chmod +x "$scratch/session.sh"
xvfb-run -a -s '-screen 0 1024x700x24' "$scratch/session.sh"
echo "wrote docs/viewer.png"
