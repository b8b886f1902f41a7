#!/usr/bin/env bash
# Takes docs/search.png and docs/detail-list.png on a 1024x700 virtual screen:
# the camera collection ../shared/testdata/photos, copied into a neutral album
# folder (docs/neutral-album.sh) and imported into a throw-away data folder,
# then (1) the search for the keywords hdr or 家人 from 2005-01-02 and (2) the
# search from 2010-01-02 with the group 2013 in the detail list.
set -euo pipefail
cd "$(dirname "$0")/.."
bin=${1:-build/release/bin}
photos=$(realpath "${2:-../shared/testdata/photos}")
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
chmod 700 "$scratch"
source docs/neutral-album.sh
make_neutral_album "$photos"
"$bin/darazoz-cli" --data-dir "$scratch/data" import "$album" >/dev/null

session() {  # output file, then the xdotool steps after the search panel opened
  cat > "$scratch/session.sh" <<SESSION
#!/usr/bin/env bash
export XDG_CONFIG_HOME="$scratch" XDG_RUNTIME_DIR="$scratch"
"$PWD/$bin/darazoz" --data-dir "$scratch/data" --grab-screen "$PWD/docs/$1" --grab-delay 6000 &
sleep 1.5
xdotool mousemove 137 40 click 1; sleep 0.5
$2
wait
SESSION
  chmod +x "$scratch/session.sh"
  xvfb-run -a -s '-screen 0 1024x700x24' "$scratch/session.sh"
  echo "wrote docs/$1"
}

session search.png "xdotool mousemove 85 140; sleep 0.2; xdotool type hdr; sleep 0.2
xdotool mousemove 85 160 click 1; sleep 0.2; xdotool type 2005-01-02; sleep 0.2
xdotool mousemove 180 140 click 1; sleep 0.2; xdotool type 家人; sleep 0.3
xdotool mousemove 129 226 click 1; sleep 0.5; xdotool mousemove 500 400"

session detail-list.png "xdotool mousemove 85 160; sleep 0.3; xdotool type 2010-01-02; sleep 0.2
xdotool mousemove 129 226 click 1; sleep 0.5
xdotool mousemove 241 40 click 1; sleep 0.5
xdotool mousemove 80 370 click 1; sleep 0.3
xdotool mousemove 500 160 click 1; sleep 0.3; xdotool mousemove 600 500"
