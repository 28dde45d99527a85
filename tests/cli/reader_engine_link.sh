#!/usr/bin/env bash
# The reader makes its page view itself on the page engine's one API: it defines none of the
# engine's functions, and loads no second engine nor the toolkit's web view.
set -uo pipefail
bin=$1
[ -x "$bin/folivo" ] || { echo "reader_engine_link: no reader in this build, skipped"; exit 0; }
defined=$(nm -D --defined-only "$bin/folivo" | awk '{print $NF}' | grep '^webkit_')
[ -z "$defined" ] || { echo "FAIL the reader defines: $defined"; exit 1; }
engines=$(ldd "$bin/folivo" | grep -oE 'libwebkit2gtk-[0-9]+\.[0-9]+|libwx_gtk3u_webview' | sort -u | tr '\n' ' ')
[ "$engines" = "libwebkit2gtk-4.1 " ] || { echo "FAIL the reader links: $engines"; exit 1; }
echo "reader_engine_link: ok"
