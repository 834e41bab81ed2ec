#!/usr/bin/env bash
# Configures and builds Tessavine into BUILD_DIR (default: build); BUILD_TARGET names the one
# target to build (default: all). Arguments go to the configure step.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${BUILD_DIR:-build}
generator=()
if command -v ninja >/dev/null 2>&1; then
    generator=(-G Ninja)
fi
if [ ! -f "$build_dir/CMakeCache.txt" ]; then
    cmake -S . -B "$build_dir" "${generator[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
elif [ $# -gt 0 ]; then
    cmake -S . -B "$build_dir" "$@"
fi
targets=()
if [ -n "${BUILD_TARGET:-}" ]; then
    targets=(--target "$BUILD_TARGET")
fi
cmake --build "$build_dir" --parallel "$(nproc)" "${targets[@]}"
