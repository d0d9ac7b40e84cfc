#!/usr/bin/env bash
# Builds the fuzz preset and runs every fuzz target in turn, each for SECONDS, starting from the committed
# seeds (fuzz/corpus/NAME) and from what earlier runs found (build/fuzz-corpus/NAME). A target that finds a
# crash, a leak or a time-out has its input copied to fuzz/regressions/NAME/, where the fault tests replay it;
# the script then goes on with the next target and exits 1 at the end.
#   scripts/fuzz-all.sh SECONDS
# BUILD_DIR overrides the build folder (default build/fuzz); FUZZ_LOG_DIR keeps each target's output
# (default build/fuzz-logs).
set -euo pipefail

if [[ $# -ne 1 || ! $1 =~ ^[0-9]+$ ]]; then
  echo "usage: $0 SECONDS" >&2
  exit 2
fi
seconds=$1
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${BUILD_DIR:-$root/build/fuzz}
logs=${FUZZ_LOG_DIR:-$root/build/fuzz-logs}
mapfile -t targets < <(sed -n 's/^dtu_add_fuzzer(\([A-Za-z0-9_]*\).*/\1/p' "$root/fuzz/CMakeLists.txt")

cmake --preset fuzz -S "$root" -B "$build" >/dev/null
cmake --build "$build" --target "${targets[@]}"
mkdir -p "$logs"

failed=()
for name in "${targets[@]}"; do
  corpus=$root/build/fuzz-corpus/$name
  artifacts=$root/build/fuzz-artifacts/$name/
  seeds=$root/fuzz/corpus/$name
  rm -rf "$artifacts"
  mkdir -p "$corpus" "$artifacts" "$seeds"
  log=$logs/$name.log
  echo "== $name: $seconds s"
  status=0
  "$build/fuzz/$name" -max_total_time="$seconds" -max_len=4096 -timeout=30 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$artifacts" "$corpus" "$seeds" >"$log" 2>&1 || status=$?
  grep -E '^#[0-9]+[[:space:]]+DONE|^Done [0-9]+ runs|^stat::(number_of_executed_units|average_exec_per_sec|peak_rss_mb)' \
    "$log" || true
  if [[ $status -ne 0 ]]; then
    failed+=("$name")
    mkdir -p "$root/fuzz/regressions/$name"
    for found in "$artifacts"*; do
      [[ -f $found ]] && cp "$found" "$root/fuzz/regressions/$name/"
    done
    echo "!! $name failed (exit $status); see $log and fuzz/regressions/$name/" >&2
    tail -n 40 "$log" >&2
  fi
done

if [[ ${#failed[@]} -ne 0 ]]; then
  echo "fuzz targets with findings: ${failed[*]}" >&2
  exit 1
fi
echo "all fuzz targets ran clean"
