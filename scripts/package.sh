#!/usr/bin/env bash
# Builds the Debian package from a clean tree: a fresh ./build-deb configured for /usr, then
# CPack's DEB generator. The package lands in the top folder as qmvvlt_<version>_<arch>.deb;
# install it with `sudo apt install ./qmvvlt_<version>_<arch>.deb`.
set -euo pipefail
cd "$(dirname "$0")/.."
export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
bash scripts/install-deps.sh
rm -rf build-deb
# Debian's hardening flags, as its own packages are built: stack protector, fortified C library
# calls, relocations read-only and bound at start.
eval "$(DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --export=sh)"
export CXXFLAGS="$CPPFLAGS $CXXFLAGS"
cmake -S . -B build-deb -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_INSTALL_PREFIX=/usr \
  -DQMVVLT_BUILD_TESTS=OFF -DQMVVLT_BUILD_BENCH=OFF
cmake --build build-deb --parallel "$(nproc)"
(cd build-deb && cpack -G DEB)
deb=$(find build-deb -maxdepth 1 -name 'qmvvlt_*.deb' -newer build-deb/CMakeCache.txt)
mv "$deb" .
echo "Built $(basename "$deb")"
