#!/usr/bin/env bash
# kvxtool join against zip -s 0 --out on one three-part numbered set of about 100 MB.
# Usage: bench/join.sh BIN_DIR [RUNS]   (BIN_DIR holds kvxtool; RUNS defaults to 3)
# Prints, per tool, the best wall time, the best user+sys CPU time and the largest peak resident
# set of its runs.
set -euo pipefail
source "$(dirname "$0")/timing.sh"
bin=$(cd "${1:?usage: join.sh BIN_DIR [RUNS]}" && pwd)
runs=${2:-3}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

# 90 MB of random bytes and 25 MB of text (about 10 MB once deflated), in parts of 35 MB.
mkdir -p tree/text
for i in $(seq 1 90); do head -c 1000000 /dev/urandom >"tree/r$i.bin"; done
for i in $(seq 1 250); do seq $((i * 1000)) $((i * 1000 + 13000)) >"tree/text/t$i.txt"; done
zip -q -r -1 -s 35m set.zip tree
n=0
for part in set.z[0-9][0-9]; do n=$((n + 1)); mv "$part" "set$(printf %03d $n).zip"; done
last=set$(printf %03d $((n + 1))).zip
mv set.zip "$last"
echo "set: $((n + 1)) parts, $(du -cb set0*.zip | tail -1 | cut -f1) bytes, $(ls tree tree/text | wc -l) files"

measure() {  # label command...
  local label=$1
  shift
  best_reset
  for _ in $(seq 1 "$runs"); do
    rm -f joined.zip set.z[0-9][0-9] set.zip
    [ "$label" = zip ] && for k in $(seq 1 $n); do ln "set$(printf %03d $k).zip" "set.z$(printf %02d $k)"; done \
      && ln "$last" set.zip
    cat set0*.zip >/dev/null  # same cache state for both
    run_timed "$@"
  done
  printf '%-14s best wall %6.2f s   best user+sys %6.2f s   peak RSS %7d KiB\n' "$label" "$BEST_WALL" "$BEST_CPU" "$PEAK_RSS"
  cmp -s joined.zip ref.zip 2>/dev/null && echo "               output identical to zip's" || true
}

measure zip zip -q -s 0 set.zip --out joined.zip
cp joined.zip ref.zip
measure "kvxtool join" "$bin/kvxtool" join "$last" joined.zip
