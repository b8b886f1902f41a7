#!/usr/bin/env bash
# Takes docs/main-window.png: the main window on a 1024x700 virtual screen with
# the 视图 menu and its 程序外观 submenu open. Uses a throw-away data folder and
# settings folder, so the picture always shows the default (blue) look.
set -euo pipefail
cd "$(dirname "$0")/.."
program=${1:-build/release/bin/darazoz}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
chmod 700 "$scratch"

cat > "$scratch/session.sh" <<SESSION
#!/usr/bin/env bash
export XDG_CONFIG_HOME="$scratch" XDG_RUNTIME_DIR="$scratch"
"$program" --data-dir "$scratch/data" --grab-screen "$PWD/docs/main-window.png" &
sleep 1
xdotool mousemove 160 12 click 1
sleep 0.3
xdotool mousemove 200 195
sleep 0.6
xdotool mousemove 300 195
wait
SESSION
chmod +x "$scratch/session.sh"
xvfb-run -a -s '-screen 0 1024x700x24' "$scratch/session.sh"
echo "wrote docs/main-window.png"
