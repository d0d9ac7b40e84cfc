#!/usr/bin/env bash
# build.sh [PRESET [TARGET...]]: configures and builds one preset (default: the normal build), all targets or
# the ones named.
set -euo pipefail
cd "$(dirname "$0")/.."
preset="${1:-default}"
shift || true
cmake --preset "$preset" >/dev/null
if [ $# -gt 0 ]; then
  cmake --build --preset "$preset" -j "$(nproc)" --target "$@"
else
  cmake --build --preset "$preset" -j "$(nproc)"
fi
