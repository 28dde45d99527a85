#!/usr/bin/env bash
# Rebuilds korvex-01.kvx from issue-01/ (index.htm at the top of the archive).
set -euo pipefail
cd "$(dirname "$0")/issue-01"
rm -f ../korvex-01.kvx
zip -q -X -r ../korvex-01.kvx index.htm style.css pages img
