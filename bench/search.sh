#!/usr/bin/env bash
# The search across an issue on a generated issue of PAGES pages (default 20 000): the reader's
# index built once against `grep -rliw` reading every page for one word, then the reader's search
# (in-process median of 21 runs: the pages found, the passages of those shown and the results page
# written) for words found on one page, on a tenth of the pages and on every page.
# Usage: bench/search.sh BUILD_DIR [PAGES] [RUNS]   (RUNS of the whole processes, default 5)
set -euo pipefail
source "$(dirname "$0")/timing.sh"
bench=$(cd "${1:?usage: search.sh BUILD_DIR [PAGES] [RUNS]}" && pwd)/bench/search-bench
pages=${2:-20000}
runs=${3:-5}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
"$bench" make issue "$pages"
echo "issue: $pages pages, $(du -sk issue | cut -f1) KiB"

measure() {  # label command...
  local label=$1
  shift
  best_reset
  for _ in $(seq 1 "$runs"); do run_timed "$@"; done
  printf '%-28s best wall %6.2f s   best cpu %6.2f s   peak %8d KiB\n' "$label" "$BEST_WALL" "$BEST_CPU" "$PEAK_RSS"
}

measure "search-bench index" "$bench" index issue
measure "grep -rliw korvex" grep -rliw --include='*.htm' korvex issue
"$bench" index issue
for words in pagina12345 "perché" korvex "korvex perche"; do
  printf '%-16s ' "$words"
  # shellcheck disable=SC2086
  "$bench" search issue 21 $words
done
