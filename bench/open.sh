#!/usr/bin/env bash
# Opening a big issue: the reader's open-issue step through the real window, WebKit and libkvx.so
# (bench/open-issue-bench) against `kvxtool extract` of the same file, run in turns A B A B.
#   bench/open.sh [BUILD_DIR] [RUNS] [WEB_BOOK_DIR]      (defaults: build, 5, none)
# WEB_BOOK_DIR: a folder of web pages to pack as an issue too (index.htm is made from index.html
# when it has none); for it the time until the index is shown is reported.
# Needs a display: under a headless session run it as xvfb-run -a bench/open.sh ...
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build="$(cd "${1:-$here/../build}" && pwd)"
runs="${2:-5}"
book="${3:-}"
driver="$build/bench/open-issue-bench"
kvxtool="$build/bin/kvxtool"
[ -x "$driver" ] && [ -x "$kvxtool" ] || { echo "build $build first (with the GUI)" >&2; exit 2; }
work="$(mktemp -d "${TMPDIR:-/tmp}/open-bench.XXXXXX")"
trap 'rm -rf "$work"' EXIT

# 40 000 small pages in 200 sections, deflated, and an index.
python3 - "$work/big.kvx" <<'PY'
import random, sys, zipfile
rnd = random.Random(40000)
words = "korvex numero articolo pagina cultura scienza lettere lettori notizie".split()
with zipfile.ZipFile(sys.argv[1], "w", zipfile.ZIP_DEFLATED) as z:
    z.writestr("index.htm", "<html><head><title>Indice</title></head><body>indice</body></html>\n")
    for n in range(39999):
        body = " ".join(rnd.choice(words) for _ in range(rnd.randint(20, 200)))
        z.writestr("sez%03d/pag%05d.htm" % (n % 200, n), "<html><body><p>%s</p></body></html>\n" % body)
PY

# Prints the wall seconds of one kvxtool extract into a fresh folder.
kvxtool_seconds() {
  rm -rf "$work/out" && mkdir "$work/out"
  python3 -c 'import subprocess, sys, time
start = time.monotonic()
subprocess.run(sys.argv[1:], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
print("%.3f" % (time.monotonic() - start))' "$kvxtool" extract -d "$work/out" "$1"
}

: >"$work/pairs"
for _ in $(seq "$runs"); do
  read -r _ step _ shown < <("$driver" "$work/big.kvx" "$build/bin")
  echo "$step $shown $(kvxtool_seconds "$work/big.kvx")" >>"$work/pairs"
done
rm -rf "$work/out"

if [ -n "$book" ]; then
  cp -r "$book" "$work/book"
  [ -e "$work/book/index.htm" ] || cp "$work/book/index.html" "$work/book/index.htm"
  (cd "$work/book" && zip -q -r "$work/book.kvx" .)
  : >"$work/book-runs"
  for _ in $(seq "$runs"); do
    read -r _ step _ shown < <("$driver" "$work/book.kvx" "$build/bin")
    echo "$step $shown" >>"$work/book-runs"
  done
fi

python3 - "$work" "$book" <<'PY'
import os, statistics, sys
work, book = sys.argv[1], sys.argv[2]
pairs = [tuple(map(float, line.split())) for line in open(os.path.join(work, "pairs"))]
med = lambda xs: statistics.median(xs)
print("40 000-file issue, %d pairs (medians, seconds):" % len(pairs))
print("  reader open-issue step  %.3f  (index shown after %.3f)" % (med([p[0] for p in pairs]), med([p[1] for p in pairs])))
print("  kvxtool extract         %.3f" % med([p[2] for p in pairs]))
ratios = [p[0] / p[2] for p in pairs]
print("  step / kvxtool          %.2f  (pairs: %s)" % (med(ratios), " ".join("%.2f" % r for r in ratios)))
if book:
    runs = [tuple(map(float, line.split())) for line in open(os.path.join(work, "book-runs"))]
    files = sum(len(f) for _, _, f in os.walk(os.path.join(work, "book")))
    print("web book of %d files, %d runs: step %.3f, index shown after %.3f (medians, seconds)"
          % (files, len(runs), med([r[0] for r in runs]), med([r[1] for r in runs])))
PY
