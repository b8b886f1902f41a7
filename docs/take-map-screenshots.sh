#!/usr/bin/env bash
# Takes docs/map-window.png and docs/map-pick.png: the companion's map window
# with the album's photos, and a position picked on it beside a recorded
# track. Writes generated photos with positions (docs/make-map-photos.sh),
# imports them with darazoz-cli, a GPX walk around the West Lake with
# zidevu --import-track, records zidevu (zidevu --install) in a throw-away settings
# folder and starts the program on a 1024x700 virtual screen. There xdotool
# selects all photos and runs 在Darazoz地图中显示位置 (确定 starts zidevu, 确定
# closes the count), draws a rubber band (Shift+drag) around Shanghai and
# Hangzhou and hovers a marker: the first screenshot. 在相册中显示 sends the
# chosen photos back, and 从Darazoz地图中选取位置 on one photo brings the map up
# in its picking state; zoomed in with the wheel onto Hangzhou, a click picks
# a point west of the West Lake and its track, and the map, raised again over
# the properties dialog, is the second screenshot. ImageMagick's import
# saves the screen.
set -euo pipefail
cd "$(dirname "$0")/.."
bin=$(realpath "${1:-build/release/bin}")
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
chmod 700 "$scratch"
docs/make-map-photos.sh "$scratch/photos" >/dev/null
XDG_CONFIG_HOME="$scratch/config" "$bin/darazoz-cli" --data-dir "$scratch/data" \
  import "$scratch/photos" >/dev/null
# A walk around the West Lake, one fix every 30 s, for the map's track.
python3 - "$scratch/westlake.gpx" <<'GPX'
import math, sys
points = []
for i in range(121):
    a = 2 * math.pi * i / 120
    lat = 30.2450 + 0.0185 * math.sin(a)
    lon = 120.1470 + 0.0160 * math.cos(a)
    t = 2 * 3600 + 30 * i
    points.append(f'<trkpt lat="{lat:.6f}" lon="{lon:.6f}"><time>2024-05-06T'
                  f'{t // 3600:02d}:{t % 3600 // 60:02d}:{t % 60:02d}Z</time></trkpt>')
with open(sys.argv[1], "w") as out:
    out.write('<?xml version="1.0"?><gpx version="1.1" creator="docs" '
              'xmlns="http://www.topografix.com/GPX/1/1"><trk><name>西湖</name><trkseg>'
              + "".join(points) + "</trkseg></trk></gpx>\n")
GPX
XDG_CONFIG_HOME="$scratch/config" "$bin/zidevu" --import-track "$scratch/westlake.gpx" >/dev/null

cat > "$scratch/session.sh" <<SESSION
#!/usr/bin/env bash
export XDG_CONFIG_HOME="$scratch/config" XDG_RUNTIME_DIR="$scratch"
"$bin/zidevu" --install >/dev/null
"$bin/darazoz" --data-dir "$scratch/data" &
sleep 4
xdotool mousemove 294 160 click 1
sleep 0.5
xdotool key ctrl+a
sleep 0.5
xdotool mousemove 96 12 click 1
sleep 1
xdotool mousemove 170 147 click 1
sleep 1.5
xdotool key Return
sleep 6
xdotool key Return
sleep 3
xdotool mousemove 462 420 keydown shift mousedown 1 mousemove 480 440 mousemove 500 455 mouseup 1 keyup shift
sleep 0.5
xdotool mousemove 411 268
sleep 2
import -window root "$PWD/docs/map-window.png"
xdotool mousemove 177 40 click 1
sleep 2
xdotool mousemove 294 160 click 1
sleep 0.5
xdotool mousemove 96 12 click 1
sleep 1
xdotool mousemove 170 103 click 1
sleep 2
xdotool mousemove 480 436
for i in 1 2 3 4 5 6; do xdotool click 4; sleep 0.2; done
sleep 1
xdotool mousemove 381 526
for i in 1 2 3 4 5 6 7 8 9 10; do xdotool click 4; sleep 0.2; done
sleep 1
xdotool mousemove 250 430 click 1
sleep 2
xdotool search --name 'Zidevu' windowraise %@
sleep 1
import -window root "$PWD/docs/map-pick.png"
kill %1
SESSION
chmod +x "$scratch/session.sh"
xvfb-run -a -s '-screen 0 1024x700x24' "$scratch/session.sh"
echo "wrote docs/map-window.png and docs/map-pick.png"
