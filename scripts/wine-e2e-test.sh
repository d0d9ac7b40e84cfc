#!/usr/bin/env bash
# wine-e2e-test.sh [WINDOWS_BUILD [LINUX_BUILD]]: the Windows build's serial component on a real COM port under
# Wine. A Linux-built dtu-sim serves a pseudo-terminal and COM1 of a Wine prefix of this test's own is mapped to
# it; then serial_wine_port_test.exe talks to the DTU through COM1. Where the Windows build has dtu-config.exe,
# it also reads and writes a DTU through COM1, and the bytes that DTU received must be those the Linux
# dtu-config sends a second DTU on its pseudo-terminal, the switch of line settings included. COM12 leads to
# the same DTU, for the ports beyond COM9.
# Defaults: build/windows and build/default. dtu-sim and dtu-config are built in LINUX_BUILD when missing there.
# Exits 77 (skipped) when Wine cannot run.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
win=$(cd "${1:-$root/build/windows}" && pwd)
linux=$(realpath -m "${2:-$root/build/default}")
skip() { echo "SKIPPED: $*"; exit 77; }
fail() { echo "FAILED: $*"; failures=$((failures + 1)); }
failures=0

command -v wine >/dev/null || skip "no wine on this machine"
sim=$linux/tools/dtu-sim/dtu-sim
tool=$linux/src/main/dtu-config
if [ ! -x "$sim" ] || [ ! -x "$tool" ]; then
  echo "Building dtu-sim and dtu-config in $linux"
  [ -f "$linux/build.ninja" ] || (cd "$root" && cmake --preset default >/dev/null)
  cmake --build "$linux" -j2 --target dtu-sim dtu-config >/dev/null
fi
port_test=$win/tests/serial/serial_wine_port_test.exe
[ -f "$port_test" ] || { echo "FAILED: $port_test is not built"; exit 1; }

# A prefix of this test's own: the mapping of COM1 takes a restart of the prefix's wineserver, which must not
# pull the server from under other tests of the run.
export WINEPREFIX=$win/wineprefix-serial WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
run=$(mktemp -d "${TMPDIR:-/tmp}/wine-e2e.XXXXXX")
pids=()
cleanup() {  # cleanup STATUS
  set +e
  kill "${pids[@]}" 2>/dev/null
  wait 2>/dev/null
  wineserver -k 2>/dev/null
  if [ "$1" -eq 0 ] || [ "$1" -eq 77 ]; then rm -rf "$run"; else echo "Logs kept in $run"; fi
  exit "$1"
}
trap 'cleanup $?' EXIT
trap 'exit 143' INT TERM HUP PIPE

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "Creating the Wine prefix $WINEPREFIX"
  wineboot -i >/dev/null 2>&1 || true
  wineserver -w
  [ -f "$WINEPREFIX/system.reg" ] || skip "wine cannot create a prefix here"
fi

start_sim() {  # start_sim NAME [OPTION...]: a dtu-sim whose pseudo-terminal path lands in $run/NAME, its dialogue
  "$sim" "${@:2}" >"$run/$1" 2>"$run/$1.log" &  # in NAME.log
  pids+=($!)
  for _ in $(seq 50); do [ -s "$run/$1" ] && return; sleep 0.1; done
  echo "FAILED: dtu-sim did not start"
  exit 1
}
map_com1() {  # map_com1 PATH: COM1 and COM12 of the prefix lead to PATH from the next wineserver on
  wineserver -k 2>/dev/null || true
  wine reg add 'HKLM\Software\Wine\Ports' /v COM1 /d "$1" /f >/dev/null
  wine reg add 'HKLM\Software\Wine\Ports' /v COM12 /d "$1" /f >/dev/null
  # Wine reads its port map when its server starts, and keeps it for the server's life.
  wineserver -k 2>/dev/null || true
  wineserver -w
  wineserver -p </dev/null >/dev/null 2>&1  # not holding the output of whoever runs this script
}

# Its listing runs past 3000 bytes, for the cutting into chunks.
start_sim component.pty --pad-listing 3000
map_com1 "$(cat "$run/component.pty")"
export DTU_TEST_PORT=COM1
# A worker that cannot be stopped would hang ClosePort: each run is bounded, so that this shows as a failure.
if timeout 120 wine "$port_test" --gtest_filter='WinePort.Talks*' >"$run/component.out" 2>&1; then
  echo "ok: the component talks to the DTU through COM1"
else
  fail "the component through COM1"
  sed 's/^/    /' "$run/component.out" "$run/component.pty.log"
fi
# The DTU's program ends (its pseudo-terminal with it) once the test has the port open.
: >"$run/lost.out"  # there before the loop below looks into it
timeout 120 wine "$port_test" --gtest_filter='WinePort.ALost*' >"$run/lost.out" 2>&1 &
tester=$!
for _ in $(seq 200); do grep -q '^port open' "$run/lost.out" && break; sleep 0.05; done
kill "${pids[0]}"
if wait "$tester"; then
  echo "ok: a lost line is one hang-up"
else
  fail "the line lost under the component"
  sed 's/^/    /' "$run/lost.out"
fi
unset DTU_TEST_PORT

tool_exe=$win/src/main/dtu-config.exe
if [ ! -f "$tool_exe" ]; then
  echo "(no dtu-config.exe in $win: the program's own run is left out)"
else
  # A write-all that moves the DTU from 115200 to 57600 (list indexes: rate, parity, data bits, stop bits).
  ini=$run/write.ini
  printf '[DTU]\r\nAPN Index=0\r\nAPN Str=CMNET\r\nIP=dtu.example.com\r\nPort=2317\r\nProtocol=0\r\n' >"$ini"
  printf 'BaudRate=9\r\nParity=0\r\nByte=1\r\nStop=0\r\nDevID=LOGIN:7\r\nHeartbeatFormat=LOG\r\n' >>"$ini"
  printf 'HeartbeatTime=50\r\nWaitTime=10\r\nWaitLength=200\r\nRestartTime=1800\r\n' >>"$ini"
  printf 'CIPMUX=AT+CIPMUX=0\r\nCIPMODE=AT+CIPMODE=1\r\n' >>"$ini"
  dialogue() { grep -E '^(tool>|dtu <) ' "$run/$1.log"; }

  start_sim linux.pty
  start_sim windows.pty
  map_com1 "$(cat "$run/windows.pty")"
  for action in read write; do
    linux_args=("$action" --lang en --port "$(cat "$run/linux.pty")")
    windows_args=("$action" --lang en --port COM1)
    if [ "$action" = write ]; then
      linux_args+=(--ini "$ini")
      windows_args+=(--ini "$(winepath -w "$ini")")
    fi
    linux_status=0 windows_status=0
    "$tool" "${linux_args[@]}" >"$run/linux.$action" 2>&1 || linux_status=$?
    timeout 120 wine "$tool_exe" "${windows_args[@]}" >"$run/windows.$action" 2>&1 || windows_status=$?
    if [ "$linux_status" -ne 0 ] || [ "$windows_status" -ne 0 ]; then
      fail "$action: dtu-config ended with $linux_status on Linux and $windows_status under Wine"
      sed 's/^/    /' "$run/linux.$action" "$run/windows.$action"
    fi
  done
  if diff <(dialogue linux.pty) <(dialogue windows.pty) >"$run/dialogue.diff"; then
    echo "ok: dtu-config.exe reads and writes through COM1 byte for byte as dtu-config on Linux" \
      "($(dialogue windows.pty | grep -c '^tool>') commands)"
  else
    fail "the DTUs received different bytes (Linux <, Wine >)"
    sed 's/^/    /' "$run/dialogue.diff"
  fi
  # The DTU moves to 57600 when it answers AT+CIPR= and understands nothing sent at another rate: its answer
  # to the last command shows that the tool switched its line before the last two write steps.
  if [ "$(dialogue windows.pty | tail -n 4 | cut -c1-16 | tr '\n' '|')" = \
    'tool> AT+CIPR=57|dtu < \r\nOK\r\n|tool> ATW\r\n|dtu < \r\nOK\r\n|' ]; then
    echo "ok: the line switch before the last two write steps"
  else
    fail "the write-all under Wine did not end with AT+CIPR= and ATW, both answered"
  fi
fi

if [ "$failures" -ne 0 ]; then
  echo "$failures checks failed"
  exit 1
fi
echo "All checks passed"
