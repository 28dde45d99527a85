#!/usr/bin/env bash
# Installs the build into a temporary prefix and runs what landed there: kvxtool lists the sample
# issue and, through the unzip library it finds from there, unpacks it; the reader's launcher passes
# desktop-file-validate.
set -euo pipefail
bin=$1
top=$2
sample=$top/samples/korvex-01.kvx
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$(dirname "$bin")" --prefix "$prefix" >/dev/null
test ! -e "$prefix/bin/libkvx.so"  # found through the run path, not beside the program
"$prefix/bin/kvxtool" list "$sample" | grep -q 'index.htm'
"$prefix/bin/kvxtool" extract -d "$prefix/out" "$sample"
cmp "$prefix/out/index.htm" "$top/samples/issue-01/index.htm"
test -f "$prefix/share/man/man1/kvxtool.1"
if [ -e "$bin/folivo" ]; then
  test -x "$prefix/bin/folivo"
  desktop-file-validate "$prefix/share/applications/folivo.desktop"
  grep -qx 'Exec=folivo' "$prefix/share/applications/folivo.desktop"
  test -f "$prefix/share/icons/hicolor/32x32/apps/folivo.png"
fi
echo "install_prefix: ok"
