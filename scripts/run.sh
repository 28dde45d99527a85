#!/usr/bin/env bash
# Installs what is missing, builds, and starts the reader. With no display it starts the reader
# on a private Xvfb display, waits for its window, saves a screenshot and leaves the reader
# running there (the script prints how to stop it).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/install-deps.sh"
build=${FOLIVO_BUILD_DIR:-$top/build}  # another build folder, e.g. for a developer's own
"$top/scripts/build.sh" "$build"

if [ -n "${DISPLAY:-}" ]; then
  exec "$build/bin/folivo"
fi

display=""
for n in $(seq 90 120); do
  if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then display=":$n"; break; fi
done
[ -n "$display" ] || { echo "run.sh: no free X display number" >&2; exit 1; }
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X${display#:}" ] && break; sleep 0.1; done
export DISPLAY=$display
nohup "$build/bin/folivo" >"$build/folivo.log" 2>&1 &
reader=$!
shown=""
for _ in $(seq 300); do
  if xdotool search --onlyvisible --name "^Korvex Folivo$" >/dev/null 2>&1; then shown=yes; break; fi
  kill -0 "$reader" 2>/dev/null || break
  sleep 0.1
done
if [ -z "$shown" ]; then
  if ! kill -0 "$reader" 2>/dev/null && wait "$reader"; then
    echo "run.sh: a reader already runs in this session (an earlier run.sh?); stop it first" >&2
  else
    echo "run.sh: the window did not appear; see $build/folivo.log" >&2
  fi
  kill "$reader" "$xvfb" 2>/dev/null || true
  exit 1
fi
sleep 3  # let the page view paint the start page
shot="$build/folivo-screenshot.png"
import -display "$display" -window root "$shot"
echo "Folivo runs on the virtual display $display (reader pid $reader, Xvfb pid $xvfb)."
echo "Screenshot: $shot"
echo "Stop it with: kill $reader $xvfb"
