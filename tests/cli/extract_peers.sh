#!/usr/bin/env bash
# kvxtool extract against the peers: the same files with the same bytes as unzip writes, for
# archives made now by zip, 7z, bsdtar and Python and for the shared corpus; hostile archives write
# nothing outside the target folder.
set -uo pipefail
# The peers keep UTF-8 names as they are only under a UTF-8 locale, whatever the caller's is.
export LC_ALL=C.UTF-8
bin=$1
src=$2
tool=$bin/kvxtool
corpus=$src/../shared/corpus/libarchive
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0
fail() { echo "FAIL $*"; failed=1; }

# Extracts with both tools; with "unzip" also compares against unzip's tree, else only the source.
check() {  # archive source-tree compare-with-unzip(yes/no)
  local archive=$1 tree=$2 peer=$3 name
  name=$(basename "$archive")
  rm -rf "$work/k" "$work/u"
  "$tool" extract -d "$work/k" "$archive" 2>"$work/err" </dev/null || { fail "$name: exit $?"; cat "$work/err"; }
  if [[ -n $tree ]]; then diff -r "$tree" "$work/k" >/dev/null || fail "$name: tree differs from its source"; fi
  if [[ $peer == yes ]]; then
    unzip -qq -o "$archive" -d "$work/u" >/dev/null 2>&1 || fail "$name: unzip failed"
    diff -r "$work/u" "$work/k" >/dev/null || { fail "$name: tree differs from unzip's"; diff -r "$work/u" "$work/k" | head -5; }
  fi
}

t=$work/tree
mkdir -p "$t/pages/images" "$t/empty dir" "$t/caf$(printf '\xc3\xa9')"
printf '<html>index</html>\n' >"$t/index.htm"
: >"$t/pages/empty.txt"
head -c 1500000 /dev/urandom >"$t/pages/images/noise.bin"
yes 'the same line again and again' | head -c 800000 >"$t/pages/repeat.txt"
printf 'accent\n' >"$t/caf$(printf '\xc3\xa9')/n$(printf '\xc3\xa4')me with space.htm"

(cd "$t" && zip -qr "$work/zip-deflate.zip" . && zip -qr -0 "$work/zip-stored.zip" . &&
  zip -qr -Z bzip2 "$work/zip-bzip2.zip" .)
(cd "$t" && 7z a -tzip -bd -bso0 "$work/7z-deflate.zip" . && 7z a -tzip -mm=LZMA -bd -bso0 "$work/7z-lzma.zip" .) ||
  fail "7z could not make archives"
(cd "$t" && bsdtar -a -cf "$work/bsdtar.zip" -- *) || fail "bsdtar could not make an archive"
python3 - "$t" "$work" <<'PY' || fail "python could not make archives"
import os, sys, zipfile
tree, work = sys.argv[1], sys.argv[2]
for name, method in (("py-deflate", zipfile.ZIP_DEFLATED), ("py-lzma", zipfile.ZIP_LZMA),
                     ("py-bzip2", zipfile.ZIP_BZIP2), ("py-stored", zipfile.ZIP_STORED)):
    with zipfile.ZipFile(os.path.join(work, name + ".zip"), "w", method) as z:
        for root, dirs, files in os.walk(tree):
            for d in dirs:
                z.write(os.path.join(root, d), os.path.relpath(os.path.join(root, d), tree))
            for f in files:
                z.write(os.path.join(root, f), os.path.relpath(os.path.join(root, f), tree))
PY

for a in zip-deflate zip-stored zip-bzip2 7z-deflate bsdtar py-deflate py-bzip2 py-stored; do
  check "$work/$a.zip" "$t" yes
done
for a in 7z-lzma py-lzma; do check "$work/$a.zip" "$t" no; done

# The shared corpus, when this checkout has it beside it.
if [[ -d $corpus ]]; then
  # Corpus archives that both tools extract completely.
  for n in test_compat_zip_1.zip test_compat_zip_2.zip test_compat_zip_5.zip test_compat_zip_7.xps \
    test_read_format_zip_bzip2.zipx test_read_format_zip_comment_stored_2.zip \
    test_read_format_zip_filename_utf8_jp.zip test_read_format_zip_high_compression.zip \
    test_read_format_zip_length_at_end.zip test_read_format_zip_nested.zip \
    test_read_format_zip_padded2.zip test_read_format_zip_ux.zip test_read_format_zip_zip64a.zip \
    test_read_format_zip_zip64b.zip test_write_disk_appledouble_zip.zip; do
    check "$corpus/$n" "" yes
  done

  # Every corpus archive: no crash, and nothing lands outside the target folder.
  for f in "$corpus"/*; do
    rm -rf "$work/box"
    mkdir -p "$work/box/out"
    timeout 60 "$tool" extract -d "$work/box/out" "$f" >/dev/null 2>&1 </dev/null
    rc=$?
    [[ $rc -le 1 ]] || fail "$(basename "$f"): exit $rc"
    [[ $(ls -A "$work/box") == out ]] || fail "$(basename "$f"): wrote beside the target"
  done
fi

# Hostile names and links.
mkdir -p "$work/host/out"
python3 - "$work/host" <<'PY'
import sys, zipfile
box = sys.argv[1]
with zipfile.ZipFile(box + "/hostile.zip", "w") as z:
    z.writestr("../up.txt", "up")
    z.writestr("a/../../up2.txt", "up")
    z.writestr(box + "/abs.txt", "abs")
    z.writestr("..\\back.txt", "back")
    link = zipfile.ZipInfo("link")
    link.external_attr = (0o120777 << 16)
    z.writestr(link, box)
    z.writestr("link/through.txt", "through")
    z.writestr("fine.txt", "fine")
PY
"$tool" extract -d "$work/host/out" "$work/host/hostile.zip" >/dev/null 2>&1 </dev/null
[[ $? -le 1 ]] || fail "hostile archive: crash"
[[ $(ls -A "$work/host" | sort | tr '\n' ' ') == "hostile.zip out " ]] ||
  fail "hostile archive wrote beside the target: $(ls -A "$work/host")"
[[ -z $(find "$work/host/out" -type l) ]] || fail "hostile archive created a link"
[[ -f $work/host/out/fine.txt ]] || fail "hostile archive: the harmless entry is missing"

exit $failed
