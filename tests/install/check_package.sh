#!/bin/sh
# Builds the Debian package from the build BUILD (already built), checks it
# with lintian when lintian is installed (no errors allowed), unpacks it with
# dpkg-deb -x into a temporary folder whose program folder nobody may write,
# as in a package install, and starts the viewer there through its launcher,
# headless and scripted, on a machine where nothing else runs: the launcher
# starts the package's reference server, the title has no "DEV-", MyPage and
# the market list fill from the sample market (after the first start's help
# page is ticked away), and the viewer says in its
# log that it leaves updating to the package manager.
set -eu
build=$1 source=$2
work=$(mktemp -d /tmp/brantel-package-test-XXXXXX)
trap 'chmod -R u+w "$work" 2>/dev/null; [ -n "${KEEP:-}" ] || rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

deb=$("$source/scripts/package" "$build" --no-build --out "$work")
case "$deb" in *"/brantel-stock_"*"_$(dpkg --print-architecture).deb") ;; *) fail "package name: $deb" ;; esac
# A sanitizer build is no release: its programs are not what lintian judges.
if ldd "$build/bin/BrantelStock" 2>/dev/null | grep -q libasan; then
  echo "sanitizer build: lintian is not run"
elif command -v lintian >/dev/null 2>&1; then
  lintian --fail-on error "$deb" 2>&1 | grep -v "root privileges" || true
  lintian --fail-on error "$deb" >/dev/null 2>&1 || fail "lintian reports errors"
else
  echo "lintian is not installed: the package is not checked with it"
fi

dpkg-deb -x "$deb" "$work/root"
chmod -R a-w "$work/root/usr/lib/brantel-stock"
mkdir "$work/home" "$work/config"
cat >"$work/script.txt" <<EOF2
wait 2500
idle
dump $work/mypage.txt
tap 100 621
tap 240 703
wait 300
idle
tap 240 96
wait 2500
idle
dump $work/market.txt
screenshot $work/market.png
quit
EOF2
# No systemd user manager is reached here (XDG_RUNTIME_DIR points nowhere),
# so the launcher runs the server itself.
BRANTEL_HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/no-runtime" \
  DBUS_SESSION_BUS_ADDRESS="unix:path=$work/no-bus" BRANTEL_DISPLAY=headless \
  timeout 60 "$work/root/usr/bin/brantel-stock" --script "$work/script.txt" 2>"$work/viewer.log" ||
  { cat "$work/viewer.log" >&2; fail "the viewer did not end by its script"; }

head -n 1 "$work/mypage.txt" | grep -q '"증권정보 NUV"$' || fail "title: $(head -n 1 "$work/mypage.txt")"
grep -q '  CMyPageDlg id=104 .* visible' "$work/mypage.txt" || fail "MyPage is not shown"
grep -q 'Stock Help Page Window' "$work/mypage.txt" || fail "no help page on the first start"
grep -q '  CMarketInfoDlg id=105 .* visible' "$work/market.txt" || fail "the market lists are not shown"
[ -s "$work/market.png" ] || fail "no screenshot"
grep -q 005930 "$work/home/masterinfo" || fail "the sample market's master did not arrive"
rows=$(sqlite3 "$work/home/qelstockdb" "select count(*) from StockRank")
[ "$rows" -gt 0 ] || fail "the market list stayed empty"
grep -q "is not writable: the updater is not started" "$work/viewer.log" || fail "no word of the updater in the log"
echo "package ok: $(basename "$deb")"
