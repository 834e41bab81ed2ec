#!/usr/bin/env bash
# mutants.sh BASE | PATH... [--sample N] [--seed S] [--list] [--only FILE]
# Mutation testing: makes mutants of the product lines changed since the commit BASE (or of every
# line of the files and folders given under src/ and tools/, --sample N of them drawn with seed S),
# builds each in build-mutants (MUTANTS_BUILD_DIR), runs the suites that reach the mutated folder
# until one fails, and prints each survivor and the kill rate. The tree is put back after each
# mutant and whenever the run stops; do not build or edit the same tree while it runs.
# Equivalent mutants, each with its reason, are listed in scripts/mutants-equivalent.txt.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh mutants
export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$PWD}
if command -v ccache >/dev/null 2>&1; then
    export CMAKE_CXX_COMPILER_LAUNCHER=${CMAKE_CXX_COMPILER_LAUNCHER:-ccache}
    export CMAKE_C_COMPILER_LAUNCHER=${CMAKE_C_COMPILER_LAUNCHER:-ccache}
fi
exec python3 scripts/mutants.py "$@"
