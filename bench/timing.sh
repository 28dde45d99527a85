# Sourced by the benchmarks. best_reset clears the figures; run_timed runs one command under
# /usr/bin/time -v (output discarded) and keeps BEST_WALL and BEST_CPU (user+sys, seconds) and
# PEAK_RSS (KiB) over the runs since the last reset. time.txt is left in the current folder.
best_reset() {
  BEST_WALL="" BEST_CPU="" PEAK_RSS=0
}

run_timed() {
  /usr/bin/time -v -o time.txt "$@" >/dev/null 2>&1
  local wall used rss
  wall=$(awk -F': ' '/Elapsed \(wall clock\)/ {n = split($2, p, ":"); s = 0; for (i = 1; i <= n; i++) s = s * 60 + p[i]; print s}' time.txt)
  used=$(awk -F': ' '/(User|System) time \(seconds\)/ {s += $2} END {print s}' time.txt)
  rss=$(awk -F': ' '/Maximum resident set size/ {print $2}' time.txt)
  if [ -z "$BEST_WALL" ] || awk "BEGIN {exit !($wall < $BEST_WALL)}"; then BEST_WALL=$wall; fi
  if [ -z "$BEST_CPU" ] || awk "BEGIN {exit !($used < $BEST_CPU)}"; then BEST_CPU=$used; fi
  if ((rss > PEAK_RSS)); then PEAK_RSS=$rss; fi
}
