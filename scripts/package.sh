#!/usr/bin/env bash
# Builds Tessavine in Release (build-release, shared with scripts/run.sh) and makes a Debian
# package of its installation with CPack; prints the package's path as the last line.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh package
# Debian's hardening flags (fortified functions, stack protector, read-only relocations bound
# at start); the debugging information they ask for would only be stripped again.
compile_flags="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)"
BUILD_DIR=build-release bash scripts/build.sh -DCMAKE_BUILD_TYPE=Release \
    -DTESSAVINE_BUILD_TESTS=OFF -DTESSAVINE_BUILD_BENCH=OFF \
    "-DCMAKE_CXX_FLAGS=${compile_flags/-g /}" \
    "-DCMAKE_EXE_LINKER_FLAGS=$(DEB_BUILD_MAINT_OPTIONS=hardening=+bindnow dpkg-buildflags --get LDFLAGS)"
if command -v appstreamcli >/dev/null 2>&1; then
    appstreamcli validate --no-net data/*.metainfo.xml
fi
(cd build-release && cpack -G DEB) >&2
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build-release/CMakeCache.txt)
package="$PWD/build-release/tessavine_${version}_$(dpkg --print-architecture).deb"
[ -f "$package" ] || { echo "package.sh: $package was not made" >&2; exit 1; }
echo "$package"
