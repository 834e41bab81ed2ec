#!/usr/bin/env bash
# Renders the real window, with a few generated words, into docs/screenshot.png.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh >/dev/null
mkdir -p docs
./build/tools/render_window docs/screenshot.png
echo "saved docs/screenshot.png"
