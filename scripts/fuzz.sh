#!/usr/bin/env bash
# Builds the fuzz preset and runs one libFuzzer target for a number of seconds, keeping its corpus under
# build/ so that later runs start from what earlier ones found, and from the committed seeds in fuzz/corpus/.
# scripts/fuzz-all.sh runs every target in turn.
#   scripts/fuzz.sh NAME SECONDS        e.g. scripts/fuzz.sh HandleReplyFuzzer 300
# BUILD_DIR overrides the build folder (default build/fuzz, the preset's own).
set -euo pipefail

if [[ $# -ne 2 || ! $2 =~ ^[0-9]+$ ]]; then
  echo "usage: $0 NAME SECONDS" >&2
  exit 2
fi
name=$1
seconds=$2
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${BUILD_DIR:-$root/build/fuzz}
corpus=$root/build/fuzz-corpus/$name

cmake --preset fuzz -S "$root" -B "$build" >/dev/null
cmake --build "$build" --target "$name"
seeds=$root/fuzz/corpus/$name
mkdir -p "$corpus" "$seeds"
exec "$build/fuzz/$name" -max_total_time="$seconds" -max_len=4096 -print_final_stats=1 "$corpus" "$seeds"
