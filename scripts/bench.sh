#!/usr/bin/env bash
# bench.sh [RUNS]: builds the benchmarks and the program (in build/bench, or BENCH_BUILD_DIR), then prints
# every figure, each against a baseline measured in the same run:
#   1. serial throughput of the component against a plain read() loop, and its reply delay;
#   2. read and write-all through the whole program against the floor of read intervals and pauses;
#   2b. write --verify on 64 simulated DTUs at once against one DTU, and the memory each port adds;
#   2c. a port open's read of a 2 MB program.ini against reading the file's bytes alone;
#   2d. the line search for a DTU at its first, a middle and its last setting (virtual time) against the former
#       search, which gave every setting before it the full reply time-out;
#   3. start-up to a mapped window and peak memory of dtu-config against cutecom, under Xvfb (median of RUNS);
#   4. processor use of the open, idle window attached to dtu-sim over 10 s, cutecom idle beside it.
set -euo pipefail
cd "$(dirname "$0")/.."
root="$PWD"
runs="${1:-5}"
build="${BENCH_BUILD_DIR:-$root/build/bench}"

cmake --preset default -B "$build" >/dev/null
cmake --build "$build" -j "$(nproc)" --target serial_throughput_bench dtu_sequence_bench batch_bench ini_read_bench search_bench dtu-config \
  dtu-sim

echo "== serial throughput"
"$build/bench/serial_throughput_bench"
echo
echo "== read and write-all against the simulated DTU"
"$build/bench/dtu_sequence_bench"
echo
echo "== a batch: write --verify on 64 simulated DTUs against one"
"$build/bench/batch_bench"
echo
echo "== a port open's read of a 2 MB program.ini"
"$build/bench/ini_read_bench"
echo
echo "== the line search, on the virtual clock"
"$build/bench/search_bench"
echo

for tool in Xvfb xdotool cutecom; do
  if ! command -v "$tool" >/dev/null; then
    echo "$tool is missing (scripts/setup.sh installs it): window figures skipped"
    exit 0
  fi
done

scratch="$(mktemp -d)"
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$scratch"
}
trap cleanup EXIT

# A display of our own; -displayfd tells which number the server took.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$scratch/display" 2>/dev/null &
pids+=($!)
for _ in $(seq 100); do [ -s "$scratch/display" ] && break; sleep 0.05; done
export DISPLAY=":$(cat "$scratch/display")"
# Both programs keep their settings away from the user's own.
export HOME="$scratch/home" XDG_CONFIG_HOME="$scratch/home/.config"
mkdir -p "$XDG_CONFIG_HOME"
unset QT_QPA_PLATFORM

# The program reads program.ini beside its own file, so it runs from a folder of its own.
program="$scratch/program"
mkdir -p "$program"
cp "$build/src/main/dtu-config" "$program/"

now_ms() { echo $(($(date +%s%N) / 1000000)); }

# Starts a program, waits for its first visible window, lets it settle, and prints
# "milliseconds-to-window peak-RSS-KiB"; leaves the process id in started_pid.
start_and_measure() {
  local start pid window=""
  start=$(now_ms)
  "$@" >/dev/null 2>&1 &
  pid=$!
  pids+=("$pid")
  started_pid=$pid
  for _ in $(seq 2000); do
    window=$(xdotool search --onlyvisible --pid "$pid" 2>/dev/null | head -1 || true)
    [ -n "$window" ] && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.005
  done
  local shown=$(($(now_ms) - start))
  if [ -z "$window" ]; then
    echo "no-window 0"
    return
  fi
  sleep 0.5  # first paint and whatever the program does right after showing
  echo "$shown $(awk '/VmHWM/ {print $2}' "/proc/$pid/status")"
}

# stop PID NAME: ends a program started here; says so when it died of anything but the stop itself.
stop() {
  local status=0
  kill "$1" 2>/dev/null || true
  wait "$1" 2>/dev/null || status=$?
  if [ "$status" -gt 128 ] && [ "$status" -ne 143 ]; then
    echo "  (note: $2 ended with signal $((status - 128)) when stopped)" >&2
  fi
}

median() { sort -n | awk '{a[NR]=$1} END {print (NR ? a[int((NR + 1) / 2)] : "n/a")}'; }

echo "== start-up to a mapped window and peak memory, median of $runs runs (goal: faster and smaller)"
: >"$scratch/ours"
: >"$scratch/cutecom"
for _ in $(seq "$runs"); do
  # No program.ini: the window comes up with its defaults, as on a first start.
  rm -f "$program/program.ini"
  start_and_measure "$program/dtu-config" >>"$scratch/ours"
  stop "$started_pid" dtu-config
  start_and_measure cutecom >>"$scratch/cutecom"
  stop "$started_pid" cutecom
done
ours_ms=$(cut -d' ' -f1 "$scratch/ours" | median)
ours_kb=$(cut -d' ' -f2 "$scratch/ours" | median)
cute_ms=$(cut -d' ' -f1 "$scratch/cutecom" | median)
cute_kb=$(cut -d' ' -f2 "$scratch/cutecom" | median)
printf '  dtu-config: %6s ms to window, peak RSS %7s KiB\n' "$ours_ms" "$ours_kb"
printf '  cutecom:    %6s ms to window, peak RSS %7s KiB\n' "$cute_ms" "$cute_kb"
awk -v a="$ours_ms" -v b="$cute_ms" -v c="$ours_kb" -v d="$cute_kb" \
  'BEGIN { if (b > 0 && d > 0) printf "  ratio dtu-config / cutecom: start-up %.2f, memory %.2f (goal < 1)\n", a / b, c / d }'
echo

echo "== processor use of the open, idle window over 10 s (goal < 0.5 % of a core)"
"$build/tools/dtu-sim/dtu-sim" --link "$scratch/dtu-port" >/dev/null 2>&1 &
sim_pid=$!
pids+=("$sim_pid")
for _ in $(seq 100); do [ -e "$scratch/dtu-port" ] && break; sleep 0.05; done
printf '[Sys]\r\nLang=0\r\n[Ports]\r\nCOM1=%s\r\n' "$scratch/dtu-port" >"$program/program.ini"

ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
idle_share() {
  local before after hz
  hz=$(getconf CLK_TCK)
  sleep 1
  before=$(ticks "$1")
  sleep 10
  after=$(ticks "$1")
  awk -v t=$((after - before)) -v hz="$hz" 'BEGIN { printf "%.2f", t / hz / 10 * 100 }'
}
start_and_measure "$program/dtu-config" >/dev/null
ours_pid=$started_pid
port="$(readlink -f "$scratch/dtu-port")"
if ls -l "/proc/$ours_pid/fd" 2>/dev/null | grep -q -- "-> $port\$"; then opened=yes; else opened=no; fi
ours_idle=$(idle_share "$ours_pid")
start_and_measure cutecom >/dev/null
cute_pid=$started_pid
cute_idle=$(idle_share "$cute_pid")
printf '  dtu-config attached to dtu-sim: %s %% of a core (port open: %s)\n' "$ours_idle" "$opened"
printf '  cutecom, idle:                  %s %% of a core\n' "$cute_idle"
stop "$ours_pid" dtu-config
stop "$cute_pid" cutecom
