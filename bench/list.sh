#!/usr/bin/env bash
# kvxtool list against unzip -l (and zipinfo) on one archive of 65 535 entries, the most an end
# record can count. Usage: bench/list.sh BIN_DIR [RUNS]   (RUNS defaults to 5)
# Prints, per tool, the best wall time, the best user+sys CPU time and the largest peak resident set.
set -euo pipefail
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
  local label=$1 best="" cpu="" peak=0 wall used rss
  shift
  for _ in $(seq 1 "$runs"); do
    cat many.zip >/dev/null
    /usr/bin/time -v -o time.txt "$@" >/dev/null 2>&1
    wall=$(awk -F': ' '/Elapsed \(wall clock\)/ {n = split($2, p, ":"); s = 0; for (i = 1; i <= n; i++) s = s * 60 + p[i]; print s}' time.txt)
    used=$(awk -F': ' '/(User|System) time \(seconds\)/ {s += $2} END {print s}' time.txt)
    rss=$(awk -F': ' '/Maximum resident set size/ {print $2}' time.txt)
    if [ -z "$best" ] || awk "BEGIN {exit !($wall < $best)}"; then best=$wall; fi
    if [ -z "$cpu" ] || awk "BEGIN {exit !($used < $cpu)}"; then cpu=$used; fi
    ((rss > peak)) && peak=$rss
  done
  printf '%-20s best wall %6.2f s   best cpu %6.2f s   peak %8d KiB\n' "$label" "$best" "$cpu" "$peak"
}

measure "unzip -l" unzip -l many.zip
measure "zipinfo" zipinfo many.zip
measure "kvxtool list" "$bin/kvxtool" list many.zip
measure "kvxtool list --json" "$bin/kvxtool" list --json many.zip
