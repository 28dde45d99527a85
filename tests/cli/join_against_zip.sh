#!/usr/bin/env bash
# kvxtool join against zip -s 0: the same bytes from the same numbered set; part 001 and a middle
# part refused with the component's report; usage errors; a failed join leaves OUTPUT alone;
# extract unpacks the set quietly.
set -euo pipefail
bin=$(cd "$1" && pwd)
tool=$bin/kvxtool
command -v zip >/dev/null || { echo "zip missing: skipped"; exit 0; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

cd "$work"
mkdir -p tree/sub
for i in $(seq 1 40); do head -c $((i * 3000)) /dev/urandom >"tree/r$i.bin"; done
for i in $(seq 1 200); do seq $i $((i * 50)) >"tree/sub/t$i.txt"; done
zip -q -r -s 128k set.zip tree
zip -q -s 0 set.zip --out ref.zip
mkdir parts
n=0
for part in set.z[0-9][0-9]; do n=$((n + 1)); cp "$part" "parts/set$(printf %03d $n).zip"; done
last=parts/set$(printf %03d $((n + 1))).zip
cp set.zip "$last"
((n >= 2)) || fail "expected a set of three parts or more, got $((n + 1))"

# The joined archive is zip's own, byte for byte, and unpacks to the tree.
"$tool" join "$last" joined.kvx 2>err.txt || fail "join exited $?: $(cat err.txt)"
[ ! -s err.txt ] || fail "join printed: $(cat err.txt)"
cmp -s joined.kvx ref.zip || fail "joined archive differs from zip -s 0 --out"
unzip -tq joined.kvx >/dev/null || fail "unzip -t rejects the joined archive"
mkdir x && (cd x && unzip -q ../joined.kvx) && diff -r tree x/tree || fail "unpacked tree differs"
[ -z "$(ls -A | grep '^zip.*\.zip$' || true)" ] || fail "a temporary file was left next to OUTPUT"

# extract joins the set itself and unpacks it; the join's progress is no report.
mkdir y
"$tool" extract -d y "$last" 2>err.txt || fail "extract of the set exited $?: $(cat err.txt)"
[ ! -s err.txt ] || fail "extract of the set printed: $(cat err.txt)"
diff -r tree y/tree || fail "tree extracted from the set differs"

# An existing OUTPUT is replaced whole.
echo old >again.zip
"$tool" join "$last" again.zip 2>err.txt || fail "join over an existing file exited $?"
cmp -s again.zip ref.zip || fail "existing OUTPUT not replaced by the joined archive"

# The first and a middle part are refused on a fixed drive; OUTPUT stays as it was.
echo keep >kept.zip
rc=0; "$tool" join parts/set001.zip kept.zip 2>err.txt || rc=$?
((rc == 1)) || fail "part 001: exit $rc"
grep -q '^kvxtool: 11037: This is the first disk in a backup set,' err.txt || fail "part 001: $(cat err.txt)"
rc=0; "$tool" join parts/set002.zip kept.zip 2>err.txt || rc=$?
((rc == 1)) || fail "part 002: exit $rc"
grep -q '^kvxtool: 11038: This is the 2th disk in a backup set,' err.txt || fail "part 002: $(cat err.txt)"
[ "$(cat kept.zip)" = keep ] || fail "a failed join touched OUTPUT"

# A missing part: 11001 and the part's name, no output.
mv parts/set002.zip hidden.zip
rc=0; "$tool" join "$last" missing.zip 2>err.txt || rc=$?
((rc == 1)) && grep -q '^kvxtool: 11001: ' err.txt && grep -q '^kvxtool: missing file: .*/parts/set002.zip$' err.txt ||
  fail "missing part: exit $rc, $(cat err.txt)"
[ ! -e missing.zip ] || fail "missing part: an output was left"
mv hidden.zip parts/set002.zip

# Usage errors, and an output that would replace the archive.
rc=0; "$tool" join "$last" 2>/dev/null || rc=$?
((rc == 2)) || fail "one argument: exit $rc"
rc=0; "$tool" join "$last" "$last" 2>/dev/null || rc=$?
((rc == 1)) && cmp -s "$last" set.zip || fail "OUTPUT naming the archive: exit $rc"
# nor one that is another file of the set, by its name or through a link.
cp parts/set001.zip first.zip
ln -s set001.zip parts/link.zip
for output in parts/set001.zip parts/link.zip; do
  rc=0; "$tool" join "$last" "$output" 2>/dev/null || rc=$?
  ((rc == 1)) && cmp -s parts/set001.zip first.zip || fail "OUTPUT $output of the set: exit $rc"
done
echo "join: all cases passed"
