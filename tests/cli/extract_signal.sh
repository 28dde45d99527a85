#!/usr/bin/env bash
# kvxtool extract stopped by SIGTERM or SIGINT halfway through a large entry: no partial file is
# left behind, hidden or not, and the tool ends by the signal.
set -uo pipefail
bin=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
python3 - "$bin/kvxtool" "$work" <<'PY'
import os, signal, subprocess, sys, time, zipfile
tool, work = sys.argv[1], sys.argv[2]
archive = os.path.join(work, "big.zip")
# 768 MiB of zeros deflate to well under a megabyte: slow to write, quick to make.
with zipfile.ZipFile(archive, "w", zipfile.ZIP_DEFLATED) as z, z.open("big.bin", "w", force_zip64=True) as f:
    block = bytes(1 << 20)
    for _ in range(768):
        f.write(block)
failed = False
for sig in (signal.SIGTERM, signal.SIGINT):
    out = os.path.join(work, "out-%d" % sig)
    proc = subprocess.Popen([tool, "extract", "-d", out, archive], stdin=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL)
    deadline = time.monotonic() + 60
    while proc.poll() is None and time.monotonic() < deadline:
        if os.path.isdir(out) and os.listdir(out):
            break
        time.sleep(0.001)
    proc.send_signal(sig)
    status = proc.wait(60)
    left = os.listdir(out) if os.path.isdir(out) else []
    if status != -sig or left:
        print("FAIL %s: status %s, left %s" % (signal.Signals(sig).name, status, left))
        failed = True
sys.exit(1 if failed else 0)
PY
