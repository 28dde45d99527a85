#!/usr/bin/env bash
# Installs the build into a temporary prefix and runs what landed there: kvxtool lists the sample
# issue and, through the unzip library it finds from there, unpacks it. The reader's launcher, file
# type and listing are valid, and a desktop reading the prefix knows an issue by its name.
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
  share=$prefix/share
  desktop-file-validate "$share/applications/folivo.desktop"
  grep -qx 'Exec=folivo %f' "$share/applications/folivo.desktop"
  grep -qx 'MimeType=application/x-korvex-issue;' "$share/applications/folivo.desktop"
  appstreamcli validate --no-net "$share/metainfo/org.folivo.Folivo.metainfo.xml" >/dev/null
  test -f "$share/icons/hicolor/32x32/apps/folivo.png"
  xmllint --noout "$share/icons/hicolor/scalable/apps/folivo.svg"
  [[ -z $(groff -man -ww -z "$share/man/man1/folivo.1" 2>&1) ]]
  # What the package's trigger does; then a desktop knows an issue, whatever its bytes, by its name.
  update-mime-database "$share/mime" >/dev/null 2>&1
  cp "$sample" "$prefix/Some Issue.KVX"
  type=$(XDG_DATA_DIRS=$share XDG_DATA_HOME=$prefix/none XDG_CURRENT_DESKTOP=GNOME \
    xdg-mime query filetype "$prefix/Some Issue.KVX")
  [ "$type" = application/x-korvex-issue ] || { echo "filetype: $type"; exit 1; }
fi
echo "install_prefix: ok"
