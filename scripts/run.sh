#!/usr/bin/env bash
# Installs what is needed, builds the program alone in Release (build-release), and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "run.sh: no display (neither DISPLAY nor WAYLAND_DISPLAY is set): run it from a desktop session or with ssh -X; bash scripts/test.sh and bash scripts/package.sh need no display." >&2
    exit 1
fi
bash scripts/install-deps.sh run build
BUILD_DIR=build-release BUILD_TARGET=tessavine bash scripts/build.sh -DCMAKE_BUILD_TYPE=Release \
    -DTESSAVINE_BUILD_TESTS=OFF -DTESSAVINE_BUILD_BENCH=OFF
exec ./build-release/tessavine "$@"
