#!/usr/bin/env bash
# wine-run.sh PREFIX PROGRAM.exe [ARG...]: runs a Windows program of the cross build under Wine, in the Wine
# prefix PREFIX (created on first use), without Wine's debug output, and with the program's exit status.
# wine-run.sh --prepare PREFIX: only creates the prefix if needed.
# wine-run.sh --start PREFIX: creates the prefix if needed and starts a wineserver that stays until
# wine-run.sh --stop PREFIX, so that a test run pays Wine's start-up once instead of once per test.
set -euo pipefail

stop=false
start=false
prepare=false
case "${1:-}" in
  --start) start=true; shift ;;
  --stop) stop=true; shift ;;
  --prepare) prepare=true; shift ;;
esac
[ $# -ge 1 ] || { echo "usage: wine-run.sh [--prepare|--start|--stop] PREFIX [PROGRAM.exe ARG...]" >&2; exit 2; }

export WINEPREFIX
WINEPREFIX=$(realpath -m "$1")
shift
export WINEDEBUG=-all
# No Mono or Gecko installer dialogs while the prefix is made, and no window for it.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver)

if $stop; then
  "$wineserver" -k 2>/dev/null || true
  exit 0
fi

# Two test programs may start at once on a new prefix: one makes it, the other waits for it under the lock.
mkdir -p "$(dirname "$WINEPREFIX")"
exec 9>"$WINEPREFIX.lock"
flock 9
if [ ! -f "$WINEPREFIX/.dtu-ready" ]; then
  rm -rf "$WINEPREFIX"
  # Without a display, so that no desktop window outlives the making of the prefix and the wait for its end.
  env -u DISPLAY -u WAYLAND_DISPLAY wineboot -i </dev/null >/dev/null 2>&1 || true
  "$wineserver" -w
  [ -f "$WINEPREFIX/system.reg" ] || { echo "wine-run.sh: could not create the Wine prefix $WINEPREFIX" >&2; exit 1; }
  touch "$WINEPREFIX/.dtu-ready"
fi
flock -u 9
exec 9>&-
$prepare && exit 0

# Debian's wine wrapper would only complain that the 32-bit half is missing; our programs are 64-bit.
wine=$(command -v wine64 || { [ -x /usr/lib/wine/wine64 ] && echo /usr/lib/wine/wine64; } || command -v wine)
if $start; then
  # A server left by an earlier run may be one that ends when idle: this run's must stay.
  "$wineserver" -k 2>/dev/null || true
  "$wineserver" -w
  # The server and the system processes that the first program starts (services.exe and the rest) stay after
  # this script, so none of them may hold the caller's output open: ctest would wait for its end.
  "$wineserver" -p </dev/null >/dev/null 2>&1
  "$wine" cmd.exe /c exit </dev/null >/dev/null 2>&1
  exit 0
fi
exec "$wine" "$@"
