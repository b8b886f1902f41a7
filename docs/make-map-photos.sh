#!/usr/bin/env bash
# Writes generated photos with GPS positions for the map screenshots into
# FOLDER (made if missing): one picture per place, each of its own colour and
# caption so that every photo has its own thumbnail and id, with the place's
# position and a shot time written by exiftool.
set -euo pipefail
folder=${1:?usage: make-map-photos.sh FOLDER}
mkdir -p "$folder"
# name latitude longitude
places=(
  "北京_故宫 39.9163 116.3972" "北京_颐和园 39.9999 116.2755" "北京_长城 40.4319 116.5704"
  "上海_外滩 31.2400 121.4900" "上海_豫园 31.2272 121.4921" "杭州_西湖 30.2431 120.1500"
  "广州_塔 23.1064 113.3245" "深圳_湾 22.5160 113.9440" "香港_维港 22.2930 114.1694"
  "成都_宽窄巷 30.6636 104.0537" "西安_城墙 34.2590 108.9470" "昆明_翠湖 25.0480 102.7050"
  "拉萨_布达拉宫 29.6578 91.1169" "哈尔滨_中央大街 45.7730 126.6170"
)
i=0
for entry in "${places[@]}"; do
  read -r name latitude longitude <<<"$entry"
  i=$((i + 1))
  file="$folder/$name.jpg"
  convert -size 480x360 "xc:hsl($((i * 25 % 360)),60%,55%)" -font DejaVu-Sans -fill white -pointsize 40 \
    -gravity center -annotate 0 "photo $i" "$file"
  exiftool -q -overwrite_original -Make=Generated -Model="Map Camera" \
    "-DateTimeOriginal=2024:05:$(printf %02d "$i") 10:00:00" \
    "-GPSLatitude=$latitude" -GPSLatitudeRef=N "-GPSLongitude=$longitude" -GPSLongitudeRef=E \
    "$file"
done
echo "wrote $i photos into $folder"
