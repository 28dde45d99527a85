#!/usr/bin/env bash
# AES-256 and Deflate64 extraction: kvxtool against `7z x`, side by side in one farm-bench run per
# archive (A = kvxtool, B = 7z; the ratio is A/B). Both extract into an emptied folder each run.
#   bench/formats.sh [BIN_DIR] [SIZE_MB] [RUNS]     (defaults: build/bin, 100, 5)
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
bin="$(cd "${1:-$here/../build/bin}" && pwd)"
mb=${2:-100}
runs=${3:-5}
work="$(mktemp -d "${TMPDIR:-/tmp}/kvx-formats-bench.XXXXXX")"
trap 'rm -rf "$work"' EXIT

# An issue of about SIZE_MB: pages that compress well and pictures (random bytes) that do not.
python3 - "$mb" "$work/issue" <<'PY'
import os, random, sys
mb, root = int(sys.argv[1]), sys.argv[2]
rnd = random.Random(42)
words = "korvex issue article page news culture science opinion letters reader".split()
total, n = 0, 0
while total < mb * 1024 * 1024:
    sec = os.path.join(root, "sec%02d" % (n % 20), "img")
    os.makedirs(sec, exist_ok=True)
    page = "<html><body><p>%s</p></body></html>\n" % " ".join(rnd.choice(words) for _ in range(rnd.randint(2000, 12000)))
    open(os.path.join(root, "sec%02d" % (n % 20), "page%d.htm" % n), "w").write(page)
    pic = os.urandom(rnd.randint(40000, 400000))
    open(os.path.join(sec, "pic%d.jpg" % n), "wb").write(pic)
    total += len(page) + len(pic)
    n += 1
open(os.path.join(root, "index.htm"), "w").write("<html><body>index</body></html>\n")
PY
(cd "$work/issue" && 7z a -tzip -mem=AES256 -pbench "$work/aes256.zip" . >/dev/null &&
  7z a -tzip -mm=Deflate64 "$work/deflate64.zip" . >/dev/null)

for archive in aes256 deflate64; do
  file="$work/$archive.zip"
  # Both extractions must agree before they are timed.
  mkdir -p "$work/ours" "$work/theirs"
  "$bin/kvxtool" extract -p bench -d "$work/ours" "$file" >/dev/null
  (cd "$work/theirs" && 7z x -pbench -y "$file" >/dev/null)
  diff -r "$work/ours" "$work/theirs" >/dev/null || { echo "$archive: extractions differ" >&2; exit 1; }
  rm -rf "$work/ours" "$work/theirs"
  echo "== $archive.zip ($(du -m "$file" | cut -f1) MB)"
  farm-bench -n "$runs" --timeout 1200 \
    --vs "sh -c 'rm -rf $work/out && mkdir $work/out && cd $work/out && exec 7z x -pbench -y $file >/dev/null'" \
    -- sh -c "rm -rf $work/out && mkdir $work/out && exec $bin/kvxtool extract -p bench -d $work/out $file >/dev/null"
done
