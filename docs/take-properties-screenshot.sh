#!/usr/bin/env bash
# Takes docs/properties.png: the properties dialog on the Nikon photo of the
# 2012 group, the pointer over 经度. The photo collection (default
# ../shared/testdata/photos) is copied into a neutral album folder first
# (docs/neutral-album.sh), so that the dialog shows a folder a user would
# have rather than the build machine's.
# Imports it into a throw-away data folder, then on a 1024x700 virtual screen
# picks the group and the photo, clicks 查看照片属性 on the toolbar and lets
# the program save the screen (--grab-screen FILE --grab-delay MS).
set -euo pipefail
cd "$(dirname "$0")/.."
photos=$(realpath "${1:-../shared/testdata/photos}")
bin=$(realpath "${2:-build/release/bin}")
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
chmod 700 "$scratch"
source docs/neutral-album.sh
make_neutral_album "$photos"
"$bin/darazoz-cli" --data-dir "$scratch/data" import "$album" > /dev/null 2>&1

cat > "$scratch/session.sh" <<SESSION
#!/usr/bin/env bash
export XDG_CONFIG_HOME="$scratch" XDG_RUNTIME_DIR="$scratch"
"$bin/darazoz" --data-dir "$scratch/data" --grab-screen "$PWD/docs/properties.png" --grab-delay 6000 &
sleep 2.5
xdotool mousemove 75 261 click 1
sleep 0.4
xdotool mousemove 294 140 click 1
sleep 0.4
xdotool mousemove 95 40 click 1
sleep 1
xdotool mousemove 560 340
wait
SESSION
chmod +x "$scratch/session.sh"
xvfb-run -a -s '-screen 0 1024x700x24' "$scratch/session.sh"
