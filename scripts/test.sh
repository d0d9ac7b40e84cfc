#!/usr/bin/env bash
# Sets up, builds and runs every test: the normal build, then the address+undefined and thread sanitizer builds.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
for preset in default asan tsan; do
  echo "== $preset build"
  bash scripts/build.sh "$preset"
  echo "== $preset tests"
  ctest --preset "$preset"
done
