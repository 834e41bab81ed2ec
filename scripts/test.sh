#!/usr/bin/env bash
# Installs what is needed, builds, and runs every test suite headless; then builds the suites
# once more with AddressSanitizer and UndefinedBehaviorSanitizer (build-asan) and runs them there.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh test
bash scripts/build.sh
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build --output-on-failure --timeout 600

# Debug keeps the sanitized build quick to compile; the suites run in seconds either way.
BUILD_DIR=build-asan bash scripts/build.sh -DTESSAVINE_SANITIZE=ON -DTESSAVINE_BUILD_BENCH=OFF \
    -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS=-fsanitize=float-cast-overflow
export ASAN_OPTIONS=halt_on_error=1:detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
ctest --test-dir build-asan --output-on-failure --timeout 600
