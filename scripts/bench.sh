#!/usr/bin/env bash
# Builds and runs the benchmarks; prints one line per workload.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh run build
bash scripts/build.sh >/dev/null
QT_QPA_PLATFORM=offscreen ./build/bench/tessavine_bench 2> >(grep -v -e XDG_RUNTIME_DIR >&2)
