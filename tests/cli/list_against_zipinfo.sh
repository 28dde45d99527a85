#!/usr/bin/env bash
# kvxtool list --json against zipinfo -v: names, sizes, CRCs and methods of every entry, for the
# corpus archives zipinfo reads and for archives made here by zip, 7z, bsdtar and Python.
set -euo pipefail
bin=$1
src=$2
tool=$bin/kvxtool
command -v zipinfo >/dev/null || { echo "zipinfo missing: skipped"; exit 0; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

compare() {  # archive
  local archive=$1 zrc=0 krc=0
  zipinfo -v "$archive" >"$work/zipinfo.txt" 2>/dev/null || zrc=$?
  ((zrc <= 1)) || return 0  # zipinfo cannot read it either
  "$tool" list --json "$archive" >"$work/list.json" 2>"$work/list.err" || krc=$?
  if ((krc != 0)) && python3 -c 'import sys; sys.exit(b"PK\x06\x06" not in open(sys.argv[1], "rb").read())' "$archive"; then
    return 0  # a zip64 directory: outside what the 32-bit end record describes
  fi
  if ((krc != 0)); then
    echo "FAIL $archive: zipinfo reads it, kvxtool exits $krc: $(cat "$work/list.err")"
    return 1
  fi
  python3 - "$archive" "$work/zipinfo.txt" "$work/list.json" <<'PY'
import json, re, sys
archive, info_path, list_path = sys.argv[1:]
methods = {"none (stored)": 0, "deflated": 8, "enhanced deflated": 9, "bzipped": 12,
           "LZMA-ed": 14, "PPMd-ed": 98}
text = open(info_path, encoding="utf-8", errors="replace").read()
entries = []
for block in re.split(r"\nCentral directory entry #\d+:\n-+\n", text)[1:]:
    lines = [l for l in block.split("\n") if l.strip()]
    lines = [l for l in lines if not l.strip().startswith("There are an extra")]
    field = lambda key: re.search(r"^\s*" + re.escape(key) + r":\s+(.*)$", block, re.M).group(1)
    method = field("compression method")
    m = re.match(r"unknown \((\d+)\)", method)
    entries.append({"name": lines[0][2:], "method": int(m.group(1)) if m else methods.get(method),
                    "crc32": int(field("32-bit CRC value (hex)"), 16),
                    "compressed": int(field("compressed size").split()[0]),
                    "uncompressed": int(field("uncompressed size").split()[0])})
listed = json.load(open(list_path, encoding="utf-8"))
problems = []
if len(listed["entries"]) + listed["skipped_dirs"] != len(entries):
    problems.append("count %d + %d skipped vs %d" % (len(listed["entries"]), listed["skipped_dirs"],
                                                     len(entries)))
for e in listed["entries"]:
    z = entries[e["seq"] - 1]
    name = e["name"]
    if name.isascii() and name.isprintable() and z["name"].isascii() \
            and name != z["name"].replace("/", "\\"):
        problems.append("name %r vs %r" % (name, z["name"]))
    for key in ("crc32", "method", "compressed", "uncompressed"):
        if key in ("compressed", "uncompressed") and (e[key] == 0xFFFFFFFF or z[key] > 0xFFFFFFFF):
            continue  # zip64 sizes live in the extra field
        if z[key] is not None and e[key] != z[key]:
            problems.append("%s of %s: %s vs %s" % (key, name, e[key], z[key]))
for p in problems:
    print("FAIL %s: %s" % (archive, p))
sys.exit(1 if problems else 0)
PY
}

failed=0
checked=0
for archive in "$src"/../shared/corpus/libarchive/*; do
  compare "$archive" || failed=1
  checked=$((checked + 1))
done

# Archives made by the peer tools, with a sub-folder, an empty file and a non-ASCII name.
tree=$work/tree
mkdir -p "$tree/pages/pics" "$tree/empty"
printf '<html>index</html>\n' >"$tree/index.htm"
head -c 20000 /dev/urandom >"$tree/pages/pics/noise.bin"
seq 1 3000 >"$tree/pages/numbers.txt"
: >"$tree/pages/empty.txt"
printf 'grüße\n' >"$tree/pages/grüße.htm"
made=()
(cd "$tree" && zip -qr "$work/by-zip.zip" . && echo "issue comment" | zip -qz "$work/by-zip.zip") && made+=(by-zip.zip)
command -v 7z >/dev/null && (cd "$tree" && 7z a -tzip "$work/by-7z.zip" . >/dev/null) && made+=(by-7z.zip)
command -v bsdtar >/dev/null && (cd "$tree" && bsdtar --format zip -cf "$work/by-bsdtar.zip" .) && made+=(by-bsdtar.zip)
python3 - "$tree" "$work/by-python.zip" <<'PY' && made+=(by-python.zip)
import os, sys, zipfile
tree, out = sys.argv[1:]
with zipfile.ZipFile(out, "w") as z:
    z.comment = b"made by zipfile"
    for folder, dirs, files in os.walk(tree):
        for name in sorted(dirs + files):
            path = os.path.join(folder, name)
            method = zipfile.ZIP_STORED if name.endswith(".bin") else zipfile.ZIP_DEFLATED
            z.write(path, os.path.relpath(path, tree), compress_type=method)
PY
for archive in "${made[@]}"; do
  compare "$work/$archive" || failed=1
  checked=$((checked + 1))
done
# The non-ASCII name comes through as UTF-8 wherever the maker flagged it.
"$tool" list --json "$work/by-python.zip" | grep -q '"pages\\\\grüße.htm"' || {
  echo "FAIL by-python.zip: UTF-8 name not kept"; failed=1; }
"$tool" list --json "$work/by-zip.zip" | grep -q '"comment":"issue comment' || {
  echo "FAIL by-zip.zip: archive comment"; failed=1; }
echo "checked $checked archives"
exit $failed
