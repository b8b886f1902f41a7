#!/usr/bin/env bash
# Takes docs/regions.png: the region grouping after an import from the window
# with the companion zidevu installed but not running. Records zidevu
# (zidevu --install) in a throw-away settings folder, starts the program on a
# 1024x700 virtual screen, adds the photo collection (default
# ../shared/testdata/photos) with 添加文件夹, answers 确定 to the closing
# question (the program then starts zidevu and the region lookup runs),
# closes the result and import dialogs, widens the pane, picks 地区 and opens
# 意大利 and its city; the program saves the screen (--grab-screen FILE --grab-delay MS).
# zidevu ends with the virtual screen.
set -euo pipefail
cd "$(dirname "$0")/.."
photos=$(realpath "${1:-../shared/testdata/photos}")
bin=$(realpath "${2:-build/release/bin}")
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
chmod 700 "$scratch"

cat > "$scratch/session.sh" <<SESSION
#!/usr/bin/env bash
export XDG_CONFIG_HOME="$scratch/config" XDG_RUNTIME_DIR="$scratch"
"$bin/zidevu" --install >/dev/null
"$bin/darazoz" --data-dir "$scratch/data" --grab-screen "$PWD/docs/regions.png" --grab-delay 20000 &
sleep 2
xdotool mousemove 26 41 click 1
sleep 1
xdotool key ctrl+a
xdotool type --delay 20 "$photos"
xdotool key Return
sleep 5
xdotool mousemove 447 392 click 1
sleep 3
xdotool mousemove 529 360 click 1
sleep 0.5
xdotool mousemove 448 372 click 1
sleep 0.5
xdotool mousemove 202 300 mousedown 1
sleep 0.2
xdotool mousemove 300 300
sleep 0.2
xdotool mousemove 420 300 mouseup 1
sleep 0.5
xdotool mousemove 267 95 click 1
sleep 1
xdotool mousemove 11 141 click 1
sleep 0.5
xdotool mousemove 90 161 click 1
wait
SESSION
chmod +x "$scratch/session.sh"
xvfb-run -a -s '-screen 0 1024x700x24' "$scratch/session.sh"
echo "wrote docs/regions.png"
