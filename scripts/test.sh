#!/usr/bin/env bash
# Sets up, builds and runs every test: the normal build, the address+undefined and the thread sanitizer builds,
# the Debian package, the Windows build under Wine, then a one-minute run of each fuzz target.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
for preset in default asan tsan; do
  echo "== $preset build"
  bash scripts/build.sh "$preset"
  echo "== $preset tests"
  ctest --preset "$preset"
done
echo "== Debian package: lintian, validators, install, the installed window, purge"
bash scripts/package-check.sh
# The Windows program, cross-built, and its tests under Wine in a prefix of the build's own (made here on the
# first run, which takes about half a minute), with one wineserver for the whole run.
echo "== windows build"
bash scripts/wine-run.sh --prepare build/windows/wineprefix
bash scripts/build.sh windows
echo "== windows tests"
ctest --preset windows
echo "== windows packages: the installer and the zip, installed, run and uninstalled under Wine"
bash scripts/windows-package.sh --check
echo "== fuzz targets, one minute each"
bash scripts/fuzz-ci.sh "${FUZZ_SECONDS:-60}"
