#!/usr/bin/env bash
# window-test.sh BUILD_DIR: the Windows program's first start, in its window, under Wine on a virtual X
# screen (Xvfb). A fresh copy of dtu-config.exe in a folder of its own starts in a Chinese locale; the window
# must show the program's caption and its Chinese texts (read from outside by winprobe.exe, which also saves
# the window's picture to BUILD_DIR/tests/winview/window.bmp), and File > Exit, chosen by the keyboard, must
# leave program.ini beside the program exactly as the Linux window writes it for the same first start
# (first-start-program.ini, saved from the Linux window with LANG=zh_CN.UTF-8). Then the views' own tests
# run in a process of their own on the same screen.
# Exit status 77 (skipped) when Xvfb, xdotool or the Chinese locale's sources are missing.
set -euo pipefail

build=$(realpath "$1")
here=$(dirname "$(realpath "$0")")
exe=$build/src/main/dtu-config.exe
probe=$build/tests/winview/winprobe.exe
out=$build/tests/winview
for tool in Xvfb xdotool localedef; do
  command -v "$tool" >/dev/null || { echo "window-test.sh: $tool is missing; skipped"; exit 77; }
done
wine=$(command -v wine64 || { [ -x /usr/lib/wine/wine64 ] && echo /usr/lib/wine/wine64; } || command -v wine)
wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver)

# A prefix of the window test's own: its fonts are linked to a Chinese font and its desktop lives on the
# test's X screen, which a prefix shared with the display-less tests cannot offer.
export WINEPREFIX=$build/wineprefix-window
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
# Wine takes the user's locale from the environment; glibc needs the locale built to report it.
export LOCPATH=$build/locale
if [ ! -d "$LOCPATH/zh_CN.UTF-8" ]; then
  mkdir -p "$LOCPATH"
  localedef -i zh_CN -f UTF-8 "$LOCPATH/zh_CN.UTF-8" 2>/dev/null || { echo "window-test.sh: no zh_CN locale; skipped"; exit 77; }
fi
unset LC_ALL LC_MESSAGES LANGUAGE
export LANG=zh_CN.UTF-8

work=$(mktemp -d)
xvfb=
cleanup() {
  "$wineserver" -k 2>/dev/null || true
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# Made before the screen exists, so that no desktop process of Wine's keeps the new prefix's server waiting.
if [ ! -f "$WINEPREFIX/.dtu-window-ready" ]; then
  rm -rf "$WINEPREFIX"
  DISPLAY= wineboot -i >/dev/null 2>&1 || true
  "$wineserver" -w
  # Chinese renders only through a font linked to the faces the windows use.
  for face in "Tahoma" "MS Shell Dlg" "MS Shell Dlg 2" "Microsoft Sans Serif" "Segoe UI"; do
    DISPLAY= "$wine" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' /v "$face" \
      /t REG_MULTI_SZ /d "NotoSansCJK-Regular.ttc,Noto Sans CJK SC" /f >/dev/null 2>&1
  done
  "$wineserver" -w
  touch "$WINEPREFIX/.dtu-window-ready"
fi
# Xvfb takes the first free display and names it on the pipe.
mkfifo "$work/display"
Xvfb -displayfd 8 -screen 0 1280x1024x24 -nolisten tcp 8>"$work/display" >/dev/null 2>&1 &
xvfb=$!
read -r -t 30 display <"$work/display" || { echo "window-test.sh: Xvfb did not start"; exit 1; }
export DISPLAY=:$display

# One server for the whole run.
"$wineserver" -p

mkdir -p "$work/program"
cp "$exe" "$work/program/"
"$wine" "$work/program/dtu-config.exe" >"$work/program.log" 2>&1 &
program=$!

if ! "$wine" "$probe" "$out/window.bmp" >"$out/window.txt"; then
  echo "FAILED: the window did not show; the program wrote:"
  cat "$work/program.log"
  exit 1
fi
status=0
check() {
  if grep -qF -- "$2" "$out/window.txt"; then echo "ok: $1"; else echo "FAILED: $1 (no \"$2\")"; status=1; fi
}
check "the caption names the program and its version" "caption: Torvane-T1 V1.7.3.0"
check "the parameter group's caption in Chinese" "DTU设备参数设置"
check "the read button in Chinese" "读取设备配置"
check "the APN list shows China Mobile" "ComboBox: 移动"
# Whether COM1 opens depends on the machine; either way the log's first line says so in Chinese.
check "the log reports the port in Chinese" "Edit:   [提示]："

# The window as the X screen knows it: its title reached the window system.
window=$(timeout 60 xdotool search --sync --name "Torvane-T1 V1.7.3.0" | head -1)
[ -n "$window" ] || { echo "FAILED: no X window with the program's title"; status=1; }
# File > Exit by the keyboard: Alt+F opens File, Up goes round to its last item, Enter chooses it.
xdotool windowfocus --sync "$window"
xdotool key --delay 100 alt+f Up Return
if ! timeout 60 tail --pid="$program" -f /dev/null; then
  echo "FAILED: the program did not end after File > Exit"
  kill "$program" 2>/dev/null || true
  exit 1
fi
wait "$program" || { echo "FAILED: the program ended with status $?"; status=1; }

if cmp -s "$work/program/program.ini" "$here/first-start-program.ini"; then
  echo "ok: program.ini as the Linux window writes it"
else
  echo "FAILED: program.ini differs from the Linux window's:"
  diff <(tr -d '\r' <"$here/first-start-program.ini") <(tr -d '\r' <"$work/program/program.ini" 2>/dev/null) || true
  status=1
fi

# The views in the process on the same screen: models and controls in step, Escape, modal dialogs and
# questions (WinViewsTest.cpp).
if "$wine" "$build/tests/winview/winview_screen_tests.exe" >"$out/screen-tests.txt" 2>&1; then
  echo "ok: $(grep -c '^\[       OK' "$out/screen-tests.txt") view tests in the process"
else
  echo "FAILED: the view tests in the process:"
  grep -E '^\[  FAILED|Failure|Expected|Which is|Value of|Actual' "$out/screen-tests.txt" || cat "$out/screen-tests.txt"
  status=1
fi
exit "$status"
