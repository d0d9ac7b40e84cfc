#!/usr/bin/env bash
# Sets up, builds and runs every test: the normal build, the address+undefined and the thread sanitizer builds,
# then a one-minute run of each fuzz target.
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
echo "== fuzz targets, one minute each"
bash scripts/fuzz-ci.sh "${FUZZ_SECONDS:-60}"
