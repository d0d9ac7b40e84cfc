#!/usr/bin/env bash
# Sets up, builds and opens the tool attached to a simulated DTU, so that Read and Write All can be tried
# without hardware. The simulated DTU runs on a pseudo-terminal that program.ini's [Ports] section maps to COM1.
# On a machine without a display the tool runs under Xvfb and a screenshot is saved instead.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh default dtu-config dtu-sim screenshot

build=build/default
program_dir="$build/src/main"
ini="$program_dir/program.ini"
sim_out="$(mktemp)"
pids=()
cleanup() {
  # The tool first, then the X server and the simulated DTU it was using.
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[i]}" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -f "$sim_out"
}
trap cleanup EXIT

"$build/tools/dtu-sim/dtu-sim" --banner >"$sim_out" 2>"$build/dtu-sim.log" &
pids+=($!)
for _ in $(seq 100); do
  [ -s "$sim_out" ] && break
  sleep 0.05
done
device="$(head -n 1 "$sim_out")"
[ -n "$device" ] || { echo "dtu-sim did not start; see $build/dtu-sim.log" >&2; exit 1; }
echo "Simulated DTU on $device (its dialogue is logged in $build/dtu-sim.log)"

bash scripts/map-port.sh "$ini" COM1 "$device"

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  "$program_dir/dtu-config"
else
  shot="$build/dtu-config-screenshot.png"
  echo "No display here: running the tool under Xvfb; a screenshot goes to $shot"
  display=":$((90 + RANDOM % 400))"
  Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  pids+=($!)
  sleep 1
  DISPLAY="$display" "$program_dir/dtu-config" &
  pids+=($!)
  sleep 4
  # The Tools menu open, so that the picture shows the commands beside the designed ones.
  DISPLAY="$display" xdotool search --name "V1.7.3.0" windowfocus --sync key --clearmodifiers alt+t \
    >/dev/null 2>&1 || true
  sleep 1
  DISPLAY="$display" "$build/tools/screenshot/screenshot" "$shot"
  echo "Saved $shot"
fi
