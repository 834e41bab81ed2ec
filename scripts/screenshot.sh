#!/usr/bin/env bash
# Renders the real window, with a few generated words, into docs/screenshot.png, and once more
# under a dark desktop scheme into docs/screenshot-dark.png.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh >/dev/null
mkdir -p docs
./build/tools/render_window docs/screenshot.png
./build/tools/render_window docs/screenshot-dark.png --dark
echo "saved docs/screenshot.png and docs/screenshot-dark.png"
