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

# Archives made by the peer tools, with a sub-folder, an empty file and a non-ASCII name.
tree=$work/tree
mkdir -p "$tree/pages/pics" "$tree/empty"
printf '<html>index</html>\n' >"$tree/index.htm"
head -c 20000 /dev/urandom >"$tree/pages/pics/noise.bin"
seq 1 3000 >"$tree/pages/numbers.txt"
: >"$tree/pages/empty.txt"
printf 'grüße\n' >"$tree/pages/grüße.htm"
made=$work/made
mkdir "$made"
(cd "$tree" && zip -qr "$made/by-zip.zip" . && echo "issue comment" | zip -qz "$made/by-zip.zip")
if command -v 7z >/dev/null; then (cd "$tree" && 7z a -tzip "$made/by-7z.zip" . >/dev/null); fi
if command -v bsdtar >/dev/null; then (cd "$tree" && bsdtar --format zip -cf "$made/by-bsdtar.zip" .); fi
python3 - "$tree" "$made/by-python.zip" <<'PY'
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

# Both tools on every archive; one Python run compares them all.
n=0
shopt -s nullglob
for archive in "$src"/../shared/corpus/libarchive/* "$made"/*; do
  n=$((n + 1))
  zrc=0 krc=0
  zipinfo -v "$archive" >"$work/$n.info" 2>/dev/null || zrc=$?
  "$tool" list --json "$archive" >"$work/$n.json" 2>"$work/$n.err" || krc=$?
  printf '%s\t%s\t%s\t%s\n' "$n" "$zrc" "$krc" "$archive" >>"$work/manifest"
done

# At least the archives made here, and most of the corpus when it is beside this checkout.
least=4
[[ -d $src/../shared/corpus/libarchive ]] && least=60
python3 - "$work" "$least" <<'PY'
import json, os, re, sys
work, least = sys.argv[1], int(sys.argv[2])
methods = {"none (stored)": 0, "deflated": 8, "enhanced deflated": 9, "bzipped": 12,
           "LZMA-ed": 14, "PPMd-ed": 98}

def zipinfo_entries(text):
    entries = []
    for block in re.split(r"\nCentral directory entry #\d+:\n-+\n", text)[1:]:
        lines = [l for l in block.split("\n")
                 if l.strip() and not l.strip().startswith("There are an extra")]
        field = lambda key: re.search(r"^\s*" + re.escape(key) + r":\s+(.*)$", block, re.M).group(1)
        method = field("compression method")
        m = re.match(r"unknown \((\d+)\)", method)
        entries.append({"name": lines[0][2:], "method": int(m.group(1)) if m else methods.get(method),
                        "crc32": int(field("32-bit CRC value (hex)"), 16),
                        "compressed": int(field("compressed size").split()[0]),
                        "uncompressed": int(field("uncompressed size").split()[0])})
    return entries

problems, checked = [], 0
for line in open(os.path.join(work, "manifest"), encoding="utf-8"):
    n, zrc, krc, archive = line.rstrip("\n").split("\t", 3)
    if int(zrc) > 1:
        continue  # zipinfo cannot read it either
    if int(krc) != 0:
        if b"PK\x06\x06" in open(archive, "rb").read():
            continue  # a zip64 directory: outside what the 32-bit end record describes
        problems.append("%s: kvxtool exits %s: %s" % (archive, krc,
                        open(os.path.join(work, n + ".err"), encoding="utf-8").read()))
        continue
    checked += 1
    entries = zipinfo_entries(open(os.path.join(work, n + ".info"), encoding="utf-8",
                                   errors="replace").read())
    listed = json.load(open(os.path.join(work, n + ".json"), encoding="utf-8"))
    if len(listed["entries"]) + listed["skipped_dirs"] != len(entries):
        problems.append("%s: %d entries + %d skipped vs %d" % (
            archive, len(listed["entries"]), listed["skipped_dirs"], len(entries)))
        continue
    for e in listed["entries"]:
        z = entries[e["seq"] - 1]
        name = e["name"]  # "/" between folders, which the component also reads "\\" as
        if name.isascii() and name.isprintable() and z["name"].isascii() \
                and name != z["name"].replace("\\", "/"):
            problems.append("%s: name %r vs %r" % (archive, name, z["name"]))
        for key in ("crc32", "method", "compressed", "uncompressed"):
            if key in ("compressed", "uncompressed") and (e[key] == 0xFFFFFFFF or z[key] > 0xFFFFFFFF):
                continue  # zip64 sizes live in the extra field
            if z[key] is not None and e[key] != z[key]:
                problems.append("%s: %s of %s: %s vs %s" % (archive, key, name, e[key], z[key]))
    base = os.path.basename(archive)
    if base == "by-python.zip" and "pages/grüße.htm" not in [e["name"] for e in listed["entries"]]:
        problems.append("by-python.zip: the UTF-8 name is not kept")
    if base == "by-zip.zip" and not listed["comment"].startswith("issue comment"):
        problems.append("by-zip.zip: archive comment %r" % listed["comment"])
for p in problems:
    print("FAIL " + p)
print("compared %d archives" % checked)
sys.exit(1 if problems or checked < least else 0)
PY
