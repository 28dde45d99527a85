#!/usr/bin/env bash
# Extraction benchmark: libkvx.so (through kvxtool when it is built, and through a small driver
# that calls the library directly) against unzip and bsdtar, on generated issues of two sizes.
#   bench/extract.sh [BIN_DIR] [SIZE_MB...]     (defaults: build/bin, 100 200)
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
bin="$(cd "${1:-$here/../build/bin}" && pwd)"
shift || true
sizes=("${@:-100 200}")
[ $# -eq 0 ] && sizes=(100 200)
work="$(mktemp -d "${TMPDIR:-/tmp}/kvx-bench.XXXXXX")"
trap 'rm -rf "$work"' EXIT

g++ -std=c++20 -O2 -I"$here/.." "$here/kvx_driver.cpp" -o "$work/kvx_driver" -ldl

# An issue: HTML pages that compress well and pictures (random bytes) that do not, about half each.
make_issue() {
  local mb=$1 dir=$2
  python3 - "$mb" "$dir" <<'PY'
import os, random, sys
mb, root = int(sys.argv[1]), sys.argv[2]
rnd = random.Random(42)
words = "korvex issue article page news culture science opinion letters reader".split()
total, n = 0, 0
while total < mb * 1024 * 1024:
    sec = os.path.join(root, "sec%02d" % (n % 20))
    os.makedirs(os.path.join(sec, "img"), exist_ok=True)
    body = " ".join(rnd.choice(words) for _ in range(rnd.randint(2000, 12000)))
    page = "<html><head><title>Page %d</title></head><body><p>%s</p></body></html>\n" % (n, body)
    with open(os.path.join(sec, "page%d.htm" % n), "w") as f:
        f.write(page)
    pic = os.urandom(rnd.randint(40000, 400000))
    with open(os.path.join(sec, "img", "pic%d.jpg" % n), "wb") as f:
        f.write(pic)
    total += len(page) + len(pic)
    n += 1
open(os.path.join(root, "index.htm"), "w").write("<html><body>index</body></html>\n")
PY
}

# Prints "seconds peak_kib" for a command run in an empty folder: the best of three runs.
measure() {
  local out="$work/out" best=""
  for _ in 1 2 3; do
    rm -rf "$out" && mkdir "$out"
    (cd "$out" && /usr/bin/time -f "%e %M" -o "$work/time" "$@" >/dev/null 2>"$work/stderr") || {
      echo "failed: $* ($(head -c 200 "$work/stderr"))" >&2
    }
    best="$(printf "%s\n%s\n" "$best" "$(cat "$work/time")" | sed '/^$/d' | sort -n | head -1)"
  done
  echo "$best"
}

printf "%-8s %-22s %9s %11s %12s %12s\n" size tool seconds peak_KiB time/bsdtar mem/bsdtar
for mb in "${sizes[@]}"; do
  rm -rf "$work/issue" && mkdir "$work/issue"
  make_issue "$mb" "$work/issue"
  (cd "$work/issue" && zip -r -q "$work/issue.kvx" .)
  archive="$work/issue.kvx"
  declare -A secs=() mem=()
  tools=(bsdtar unzip kvx_driver)
  read -r secs[bsdtar] mem[bsdtar] < <(measure bsdtar -xf "$archive")
  read -r secs[unzip] mem[unzip] < <(measure unzip -q -o "$archive")
  read -r secs[kvx_driver] mem[kvx_driver] < <(measure "$work/kvx_driver" "$bin/libkvx.so" "$archive" .)
  if [ -x "$bin/kvxtool" ] && "$bin/kvxtool" extract -d "$work" --test "$archive" >/dev/null 2>&1; then
    tools+=(kvxtool)
    read -r secs[kvxtool] mem[kvxtool] < <(measure "$bin/kvxtool" extract -d . "$archive")
  fi
  for t in "${tools[@]}"; do
    printf "%-8s %-22s %9s %11s %12s %12s\n" "$(du -m "$archive" | cut -f1)MB" "$t" "${secs[$t]}" "${mem[$t]}" \
      "$(python3 -c "print('%.2f' % (${secs[$t]} / max(${secs[bsdtar]}, 0.01)))")" \
      "$(python3 -c "print('%.2f' % (${mem[$t]} / ${mem[bsdtar]}))")"
  done
  rm -f "$archive"
  unset secs mem
done
