#!/usr/bin/env bash
# Builds Tessavine in Release (build-release, shared with scripts/run.sh) and makes a Debian
# package of its installation with CPack; prints the package's path as the last line.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh package
BUILD_DIR=build-release bash scripts/build.sh -DCMAKE_BUILD_TYPE=Release \
    -DTESSAVINE_BUILD_TESTS=OFF -DTESSAVINE_BUILD_BENCH=OFF
if command -v appstreamcli >/dev/null 2>&1; then
    appstreamcli validate --no-net data/*.metainfo.xml
fi
(cd build-release && cpack -G DEB) >&2
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build-release/CMakeCache.txt)
package="$PWD/build-release/tessavine_${version}_$(dpkg --print-architecture).deb"
[ -f "$package" ] || { echo "package.sh: $package was not made" >&2; exit 1; }
echo "$package"
