#!/bin/sh
# Installs the build BUILD into a fresh prefix and checks that exactly the
# program folder, the launcher, the reference server with its user unit and
# sample market, brantel-quote, the desktop entry, the metainfo and the icons
# land there, that the installed selection is server 0, that both validators accept the two files and that the launcher
# reaches the program folder.
set -eu
build=$1 app=$2
prefix=$(mktemp -d /tmp/brantel-install-XXXXXX)
trap 'rm -rf "$prefix"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" >/dev/null

expected="bin/brantel-stock
lib/brantel-stock/Config_MNUV.txt
lib/brantel-stock/StockUpdater
lib/brantel-stock/brantel-quote-service
lib/brantel-stock/stock_resource.so
share/systemd/user/brantel-quote-server.service
share/applications/$app.desktop
share/icons/hicolor/128x128/apps/$app.png
share/icons/hicolor/16x16/apps/$app.png
share/icons/hicolor/24x24/apps/$app.png
share/icons/hicolor/256x256/apps/$app.png
share/icons/hicolor/32x32/apps/$app.png
share/icons/hicolor/48x48/apps/$app.png
share/icons/hicolor/64x64/apps/$app.png
share/icons/hicolor/scalable/apps/$app.svg
share/metainfo/$app.metainfo.xml"
if [ -e "$build/bin/BrantelStock" ]; then
  expected=$(printf '%s\nlib/brantel-stock/BrantelStock' "$expected")
fi
for tool in brantel-quote-server brantel-quote; do
  [ -e "$build/bin/$tool" ] && expected=$(printf '%s\nbin/%s' "$expected" "$tool")
done
if [ -e "$build/bin/brantel-quote-server" ]; then
  for f in $(cd "$(dirname "$0")/../../tools/quote-server/data" && ls *.txt); do
    expected=$(printf '%s\nshare/brantel-stock/market/%s' "$expected" "$f")
  done
fi
found=$(cd "$prefix" && find . -type f | sed 's|^\./||' | LC_ALL=C sort)
expected=$(printf '%s\n' "$expected" | LC_ALL=C sort)
[ "$found" = "$expected" ] || fail "installed files differ:
$(printf '%s\n' "$found" | diff -u /dev/fd/3 - 3<<EOF2 || true
$expected
EOF2
)"

desktop-file-validate "$prefix/share/applications/$app.desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$prefix/share/metainfo/$app.metainfo.xml" >/dev/null ||
  { appstreamcli validate --no-net "$prefix/share/metainfo/$app.metainfo.xml"; fail "appstreamcli validate"; }
grep -qx "Exec=\"$prefix/bin/brantel-stock\"" "$prefix/share/applications/$app.desktop" || fail "Exec does not name the launcher"
unit="$prefix/share/systemd/user/brantel-quote-server.service"
grep -qx "ExecStart=$prefix/lib/brantel-stock/brantel-quote-service" "$unit" || fail "the unit does not start the server"
grep -qx "server_type=0" "$prefix/lib/brantel-stock/Config_MNUV.txt" || fail "the installed server selection is not server 0"

[ -x "$prefix/bin/brantel-stock" ] || fail "launcher not executable"
[ -x "$prefix/lib/brantel-stock/StockUpdater" ] || fail "StockUpdater not executable"
# The launcher finds the program folder from any working folder, through a link too.
ln -s "$prefix/bin/brantel-stock" "$prefix/link"
if [ -e "$prefix/lib/brantel-stock/BrantelStock" ]; then
  (cd / && BRANTEL_NO_SERVER=1 "$prefix/link" --help >/dev/null) || fail "the launcher did not start the viewer"
else
  out=$(cd / && BRANTEL_NO_SERVER=1 "$prefix/link" 2>&1 || true)
  case "$out" in *"$prefix/bin/../lib/brantel-stock/BrantelStock"*) ;; *) fail "launcher: $out" ;; esac
fi
rm "$prefix/link"
echo "install layout ok"
