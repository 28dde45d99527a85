#!/usr/bin/env bash
# kvxtool list against unzip -l (and zipinfo) on one archive of 65 535 entries, the most an end
# record can count. Usage: bench/list.sh BIN_DIR [RUNS]   (RUNS defaults to 5)
# Prints, per tool, the best wall time, the best user+sys CPU time and the largest peak resident set.
set -euo pipefail
source "$(dirname "$0")/timing.sh"
bin=$(cd "${1:?usage: list.sh BIN_DIR [RUNS]}" && pwd)
runs=${2:-5}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

/usr/bin/python3 - <<'PY'
import zipfile
with zipfile.ZipFile("many.zip", "w", zipfile.ZIP_DEFLATED) as z:
    for i in range(65535):
        z.writestr("section%03d/page%05d.htm" % (i // 1000, i), "<P>%d</P>\r\n" % i)
PY
echo "archive: $(stat -c %s many.zip) bytes, 65535 entries"

measure() {  # label command...
  local label=$1
  shift
  best_reset
  for _ in $(seq 1 "$runs"); do
    cat many.zip >/dev/null
    run_timed "$@"
  done
  printf '%-20s best wall %6.2f s   best cpu %6.2f s   peak %8d KiB\n' "$label" "$BEST_WALL" "$BEST_CPU" "$PEAK_RSS"
}

measure "unzip -l" unzip -l many.zip
measure "zipinfo" zipinfo many.zip
measure "kvxtool list" "$bin/kvxtool" list many.zip
measure "kvxtool list --json" "$bin/kvxtool" list --json many.zip
