#!/bin/sh
# Plays the product tour headless against a fixed-clock reference server and
# checks that it reached every screen: each screenshot it names is written,
# in the orientation its screen has, and the steps that should change the
# screen did (each market tab, the message, the detail).
#   check_tour.sh SOURCE_DIR BUILD_DIR
set -eu
src=$1
build=$2
work=$(mktemp -d)
server_pid=""
cleanup() {
  [ -n "$server_pid" ] && { kill "$server_pid" 2>/dev/null || true; wait "$server_pid" 2>/dev/null || true; }
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "check_tour: $*" >&2; exit 1; }

"$build/bin/brantel-quote-server" --port 0 --fixed-clock "2026-12-07 10:56" >"$work/server.out" 2>&1 &
server_pid=$!
port=""
for _ in $(seq 1 100); do
  port=$(sed -n 's/^listening on 127\.0\.0\.1:\([0-9]*\)$/\1/p' "$work/server.out" | head -1)
  [ -n "$port" ] && break
  sleep 0.1
done
[ -n "$port" ] || fail "the server did not start"

BRANTEL_DISPLAY=headless "$src/scripts/demo-viewer" "$build" "$work/out" "$port" >/dev/null

# Width and height from the PNG header (IHDR at byte 16).
size() { od -An -tu1 -j16 -N8 "$1" | awk '{print $3*256+$4 "x" $7*256+$8}'; }
shots=$(sed -n 's/^screenshot //p' "$src/scripts/viewer-tour.txt")
[ -n "$shots" ] || fail "the tour names no screenshots"
for shot in $shots; do
  [ -f "$work/out/$shot" ] || fail "$shot was not written"
  want=480x800
  case $shot in *landscape*) want=800x480 ;; esac
  [ "$(size "$work/out/$shot")" = "$want" ] || fail "$shot is $(size "$work/out/$shot"), not $want"
done

differ() { cmp -s "$work/out/$1" "$work/out/$2" && fail "$1 and $2 show the same screen"; return 0; }
differ viewer-03-mypage.png viewer-04-market-ranking.png
differ viewer-04-market-ranking.png viewer-06-market-indices.png
differ viewer-06-market-indices.png viewer-07-market-exchange.png
differ viewer-07-market-exchange.png viewer-08-market-rates.png
differ viewer-08-market-rates.png viewer-09-market-commodities.png
differ viewer-12-mypage-menu.png viewer-13-message.png
differ viewer-14-mypage-refreshed.png viewer-15-detail.png
differ viewer-15-detail.png viewer-16-detail-scrolled.png
echo "check_tour: $(echo "$shots" | wc -w) screens"
