#!/usr/bin/env bash
# package.sh: builds the Debian package of dtu-config (with dtu-sim) into build/package/, from a release
# build of its own in build/package-build with Debian's usual compiler and linker hardening. Prints the path
# of the .deb.
set -euo pipefail
cd "$(dirname "$0")/.."
root="$PWD"
bash scripts/setup.sh
build="$root/build/package-build"
out="$root/build/package"

export DEB_BUILD_MAINT_OPTIONS=hardening=+all
# -O2 as the normal build and Debian use: GCC 12 at -O3 warns falsely about std::string copies (-Wrestrict).
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DDTU_BUILD_TESTS=OFF -DDTU_BUILD_BENCH=OFF -DDTU_BUILD_FUZZERS=OFF \
  -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
  -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" >/dev/null
cmake --build "$build" -j "$(nproc)"
rm -f "$out"/*.deb
(cd "$build" && cpack -B "$out" >/dev/null)
ls "$out"/dtu-config_*.deb
