#!/usr/bin/env bash
# A cut issue: list and extract refuse it unless asked to salvage; with --salvage they take every
# whole entry up to the cut and say how many and where, and at every cut point tried they recover
# at least every file 7z recovers whole, each byte for byte what unzip unpacks from the whole file.
set -uo pipefail
bin=$(cd "$1" && pwd)
top=$(cd "$2" && pwd)
tool=$bin/kvxtool
command -v 7z >/dev/null && command -v unzip >/dev/null || { echo "7z or unzip missing: skipped"; exit 0; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0
fail() { echo "FAIL $*"; failed=1; }
cd "$work"

python3 - <<'PY'
import io, os, zipfile
class Stream(io.RawIOBase):  # no seeking: every entry gets a data descriptor
    def __init__(self, f): self.f = f
    def writable(self): return True
    def write(self, b): return self.f.write(b)
with open("streamed.zip", "wb") as raw, zipfile.ZipFile(Stream(raw), "w") as z:
    for i in range(5):
        z.writestr(zipfile.ZipInfo("raw/s%d.bin" % i), os.urandom(200 * i + 7))
        z.writestr("pages/p%d.htm" % i, "page %d " % i * 150, compress_type=zipfile.ZIP_DEFLATED)
with zipfile.ZipFile("methods.zip", "w") as z:
    for n, m in (("a.txt", zipfile.ZIP_STORED), ("b.txt", zipfile.ZIP_DEFLATED),
                 ("d.txt", zipfile.ZIP_LZMA)):
        z.writestr(n, ("text of %s " % n) * 300, compress_type=m)
PY
head -c "$(($(stat -c %s "$top/samples/korvex-01.kvx") * 2 / 3))" "$top/samples/korvex-01.kvx" >cut.kvx

rc=0; "$tool" list cut.kvx >out.txt 2>err.txt || rc=$?
((rc == 1)) && grep -q '^kvxtool: 11036: ' err.txt || fail "cut without --salvage: exit $rc, $(cat err.txt)"
rc=0; "$tool" list --salvage cut.kvx >out.txt 2>err.txt || rc=$?
((rc == 0)) && grep -Eq '^kvxtool: 11050: Salvaged [0-9]+ entries from a cut archive of [0-9]+ bytes: what starts at byte [0-9]+ is not a whole entry$' err.txt ||
  fail "list --salvage: exit $rc, $(cat err.txt)"
grep -q 'index.htm' out.txt || fail "list --salvage shows no index.htm"
head -c 20 cut.kvx >stub.kvx
rc=0; "$tool" extract --salvage -d none stub.kvx 2>err.txt || rc=$?
((rc == 1)) && grep -q '^kvxtool: 11051: ' err.txt && [ -z "$(ls -A none)" ] || fail "nothing to salvage: exit $rc, $(cat err.txt)"

archives=("$top/samples/korvex-01.kvx" streamed.zip methods.zip)
corpus=$top/../shared/corpus/libarchive
for name in test_read_format_zip_7z_lzma.zip test_read_format_zip_zstd_multi.zipx test_read_format_zip_filename_cp932.zip; do
  [ -f "$corpus/$name" ] && archives+=("$corpus/$name")
done
python3 "$top/tests/cli/salvage_cut.py" "$tool" 97 "${archives[@]}" || failed=1

((failed == 0)) && echo "salvage: all cases passed"
exit $failed
