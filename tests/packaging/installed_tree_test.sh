#!/usr/bin/env bash
# Installs the build into a temporary root, makes that tree read-only and runs
# the installed programs with a home of their own: darazoz-cli keeps the
# catalogue in the XDG data folder, zidevu records itself and answers a region
# lookup from the data file under the prefix, every launcher and folder
# action runs an installed program, and the desktop entries, metainfo and
# manual pages pass the checkers that are installed.
# usage: installed_tree_test.sh CMAKE BUILD_DIR VERSION IMAGEMAGICK_CONVERT
set -euo pipefail
cmake=$1 build=$2 version=$3 convert=$4

work=$(mktemp -d)
zidevu_pid=
cleanup() {
  if [ -n "$zidevu_pid" ]; then kill "$zidevu_pid" 2>/dev/null || true; wait "$zidevu_pid" || true; fi
  chmod -R u+w "$work"
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

prefix=$work/prefix
"$cmake" --install "$build" --prefix "$prefix" >/dev/null
chmod -R a-w "$prefix"
unset DARAZOZ_DATA_DIR
export HOME=$work/home XDG_DATA_HOME=$work/data XDG_CONFIG_HOME=$work/config \
       XDG_RUNTIME_DIR=$work/runtime
mkdir -p "$HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
cli=$prefix/bin/darazoz-cli

[ "$("$cli" --version)" = "darazoz-cli $version" ] || fail "darazoz-cli --version: $("$cli" --version)"

# One photo taken in Futian, Shenzhen.
mkdir "$work/photos"
photo=$work/photos/futian.jpg
"$convert" "$prefix/share/icons/hicolor/64x64/apps/darazoz.png" -background white -flatten "$photo"
exiftool -q -overwrite_original -GPSLatitude=22.5431 -GPSLatitudeRef=N \
  -GPSLongitude=114.0579 -GPSLongitudeRef=E "$photo"

"$cli" import "$work/photos" >/dev/null
catalogue=$XDG_DATA_HOME/darazoz/data/myJpgdb.db
[ -f "$catalogue" ] || fail "no catalogue in $XDG_DATA_HOME/darazoz/data"
[ ! -e "$prefix/bin/data" ] || fail "a data folder was made in the installed program folder"
"$cli" stats | grep -qx "catalogue: $catalogue" || fail "stats names another catalogue"

"$prefix/bin/zidevu" --headless >"$work/zidevu.out" 2>&1 &
zidevu_pid=$!
for _ in $(seq 100); do
  [ -S "$XDG_RUNTIME_DIR/darazoz-link/zazadoRud" ] && break
  sleep 0.1
done
"$cli" regions | grep -q "^resolved 1, " || fail "regions: $(cat "$work/zidevu.out")"
[ "$(sqlite3 "$catalogue" "select strArea0||strArea1||strArea2 from tJpgMsg")" = "广东省深圳市福田区" ] ||
  fail "the photo's region names"
grep -qx "LastRunPath=$prefix/bin/zidevu" "$XDG_CONFIG_HOME/Darazoz Software/zidevu.conf" ||
  fail "zidevu did not record itself on its first start"

# Every launcher, menu entry and folder action runs a program of this tree.
for entry in "$prefix"/share/applications/*.desktop "$prefix"/share/kio/servicemenus/darazoz-*.desktop \
             "$prefix"/share/nemo/actions/darazoz-*.nemo_action; do
  [ -f "$entry" ] || fail "missing $entry"
  program=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$entry")
  [ -x "$prefix/bin/$program" ] || fail "$entry runs $program, which the tree does not hold"
done

if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$prefix"/share/applications/*.desktop
fi
if command -v appstreamcli >/dev/null; then
  appstreamcli validate --no-net "$prefix"/share/metainfo/*.metainfo.xml
fi
if command -v man >/dev/null; then
  for page in "$prefix"/share/man/man1/*.1.gz; do
    warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)
    [ -z "$warnings" ] || fail "$page: $warnings"
  done
fi
echo "installed tree: ok"
