#!/usr/bin/env bash
# Builds the libFuzzer targets in fuzz/ with clang and runs each for SECONDS (default 60).
# Corpora grow in BUILD_DIR/corpus/<target>, findings land in BUILD_DIR/findings/.
# Not part of the test run: a few minutes of fuzzing is too slow for it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh fuzz
seconds=${1:-60}
build_dir=${FUZZ_BUILD_DIR:-build-fuzz}
targets=(fuzz_numericText fuzz_folderPath fuzz_acceptanceRules fuzz_separatorLayout
    fuzz_errorBoxText fuzz_restore fuzz_packReader)

generator=()
if command -v ninja >/dev/null 2>&1; then
    generator=(-G Ninja)
fi
if [ ! -f "$build_dir/CMakeCache.txt" ]; then
    cmake -S fuzz -B "$build_dir" "${generator[@]}" -DCMAKE_CXX_COMPILER=clang++ \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
cmake --build "$build_dir" --parallel "$(nproc)"

export ASAN_OPTIONS=halt_on_error=1:detect_leaks=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
mkdir -p "$build_dir/findings"
failed=()
for target in "${targets[@]}"; do
    corpus="$build_dir/corpus/$target"
    mkdir -p "$corpus"
    options=(-max_total_time="$seconds" -print_final_stats=1
        -artifact_prefix="$build_dir/findings/$target-")
    if [ -f "fuzz/$target.dict" ]; then
        options+=(-dict="fuzz/$target.dict")
    fi
    echo "== $target: $seconds s"
    start=$(date +%s)
    if "$build_dir/$target" "${options[@]}" "$corpus" >"$build_dir/$target.log" 2>&1; then
        result=passed
    else
        result=FAILED
        failed+=("$target")
    fi
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$build_dir/$target.log")
    echo "   $result after $(($(date +%s) - start)) s, ${runs:-?} runs; log: $build_dir/$target.log"
    if [ "$result" = FAILED ]; then
        grep -E -A1 'Property broken|ERROR|runtime error' "$build_dir/$target.log" | head -n 6
    fi
done

if [ ${#failed[@]} -gt 0 ]; then
    echo "Findings in: ${failed[*]} (inputs in $build_dir/findings/)"
    exit 1
fi
