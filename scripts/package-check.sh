#!/usr/bin/env bash
# package-check.sh: builds the Debian package (scripts/package.sh) and checks it as a user and an IT
# department would meet it:
#   1. lintian reports no errors; desktop-file-validate and appstreamcli validate pass; the metainfo's release
#      is the project's version; the dependencies were computed from the linked libraries;
#   2. it installs (dpkg -i, then apt-get -f install), the installed dtu-config answers --help, and its
#      command line finds COM1 through the [Ports] section of ~/.config/dtu-config/program.ini;
#   3. the installed window, under Xvfb with a scratch HOME and XDG_CONFIG_HOME unset, saves
#      ~/.config/dtu-config/program.ini when it closes, and reads a program.ini written there beforehand;
#   4. it purges cleanly. A dtu-config package installed before the check is installed again afterwards.
# Needs root or sudo for the install.
set -euo pipefail
cd "$(dirname "$0")/.."

deb="$(bash scripts/package.sh | tail -n 1)"
echo "== $deb"

as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)

scratch="$(mktemp -d)"
pids=()
was_installed=""
if dpkg-query -W -f='${Status}' dtu-config 2>/dev/null | grep -q "install ok installed"; then
  was_installed=yes
fi
cleanup() {
  if [ -z "$was_installed" ] && dpkg-query -W dtu-config >/dev/null 2>&1; then
    "${as_root[@]}" dpkg --purge dtu-config >/dev/null || true
  fi
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$scratch"
}
trap cleanup EXIT
fail() {
  echo "package-check: $*" >&2
  exit 1
}

echo "== lintian"
lintian --fail-on error --display-info "$deb"
echo "lintian: no errors"

dpkg-deb -x "$deb" "$scratch/tree"
echo "== desktop-file-validate"
desktop-file-validate "$scratch"/tree/usr/share/applications/*.desktop
echo "desktop entry valid"
echo "== appstreamcli validate"
appstreamcli validate --no-net "$scratch"/tree/usr/share/metainfo/*.metainfo.xml

version="$(sed -n 's/^project(dtu_config VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)"
grep -q "<release version=\"$version\"" "$scratch"/tree/usr/share/metainfo/*.metainfo.xml ||
  fail "the metainfo has no release $version"
zcat "$scratch/tree/usr/share/doc/dtu-config/changelog.gz" | head -n 1 | grep -qF "($version)" ||
  fail "the changelog's newest entry is not $version"
depends="$(dpkg-deb -f "$deb" Depends)"
echo "Depends: $depends"
for library in libc6 libstdc++6 libqt6widgets6 libjpeg62-turbo; do
  grep -q "$library" <<<"$depends" || fail "Depends lacks $library"
done

echo "== install"
if ! "${as_root[@]}" dpkg -i "$deb"; then
  DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get -f install -y -qq
fi
dpkg-query -W -f='${Status}\n' dtu-config | grep -q "install ok installed" || fail "dtu-config did not install"
[ "$(command -v dtu-config)" = /usr/bin/dtu-config ] || fail "dtu-config is not /usr/bin/dtu-config"
# Asked of the package, not of man: minimal images may leave /usr/share/man out when unpacking.
for page in dtu-config dtu-sim; do
  dpkg -L dtu-config | grep -q "/man1/$page.1.gz$" || fail "the manual page $page(1) is missing"
done

echo "== /usr/bin/dtu-config --help"
/usr/bin/dtu-config --help | tee "$scratch/help" | head -n 3
grep -q "^usage: dtu-config read" "$scratch/help" || fail "--help shows no usage"

# Everything from here runs as an ordinary user would: a home of its own, no XDG_CONFIG_HOME.
home="$scratch/home"
mkdir -p "$home"
own="$home/.config/dtu-config"
run() { env -u XDG_CONFIG_HOME HOME="$home" "$@"; }

echo "== the installed command line reads COM1 from the user's program.ini"
/usr/bin/dtu-sim --link "$scratch/dtu-port" >"$scratch/sim.out" 2>"$scratch/sim.log" &
pids+=($!)
for _ in $(seq 100); do [ -e "$scratch/dtu-port" ] && break; sleep 0.05; done
[ -e "$scratch/dtu-port" ] || fail "the installed dtu-sim did not start: $(cat "$scratch/sim.log")"
mkdir -p "$own"
printf '[Ports]\r\nCOM1=%s\r\n' "$scratch/dtu-port" >"$own/program.ini"
run /usr/bin/dtu-config read --port COM1 --lang en --timeout 30 >"$scratch/read.ini" 2>"$scratch/read.log" ||
  fail "read from COM1 failed: $(cat "$scratch/read.log")"
grep -q '^\[DTU\]' "$scratch/read.ini" || fail "the read printed no [DTU] section"
echo "read through COM1 = $scratch/dtu-port: $(grep -c = "$scratch/read.ini") keys"

echo "== the installed window saves its settings in the user's folder"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$scratch/display" 2>/dev/null &
pids+=($!)
for _ in $(seq 100); do [ -s "$scratch/display" ] && break; sleep 0.05; done
[ -s "$scratch/display" ] || fail "Xvfb did not start"
DISPLAY=":$(cat "$scratch/display")"
export DISPLAY
unset QT_QPA_PLATFORM

# Starts the installed window, waits for it, and closes it through its File menu (Alt+F, up to the last
# item, Exit), as a user would: the window saves program.ini only when it is closed, not when it is killed.
start_and_close() {
  local pid window=""
  # Not through run(): the window's process id must be the one started here.
  env -u XDG_CONFIG_HOME HOME="$home" /usr/bin/dtu-config >"$scratch/window.log" 2>&1 &
  pid=$!
  pids+=("$pid")
  for _ in $(seq 600); do
    window="$(xdotool search --onlyvisible --pid "$pid" 2>/dev/null | head -n 1 || true)"
    [ -n "$window" ] && break
    kill -0 "$pid" 2>/dev/null || fail "the window ended at start: $(cat "$scratch/window.log")"
    sleep 0.05
  done
  [ -n "$window" ] || fail "the window did not show: $(cat "$scratch/window.log")"
  sleep 1
  xdotool windowfocus --sync "$window"
  xdotool key alt+f
  sleep 0.5
  xdotool key Up Return
  for _ in $(seq 100); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  if kill -0 "$pid" 2>/dev/null; then
    fail "the window did not close from its File menu"
  fi
  wait "$pid" || fail "the window ended with status $?: $(cat "$scratch/window.log")"
}

rm -f "$own/program.ini"
rmdir "$own" "$home/.config"
start_and_close
[ -f "$own/program.ini" ] || fail "no $own/program.ini after closing the window"
for key in '\[Sys\]' 'Lang=' '\[Com\]' 'BaudRate=' '\[DTU\]' 'Port=' 'RestartTime='; do
  grep -q "^$key" "$own/program.ini" || fail "program.ini lacks $key"
done
echo "saved $own/program.ini: $(grep -c = "$own/program.ini") keys"
[ ! -e /usr/bin/program.ini ] || fail "the window wrote /usr/bin/program.ini"

echo "== the installed window reads the user's program.ini"
sed -i 's/^Port=.*/Port=4321\r/; s/^DevID=.*/DevID=packaged\r/' "$own/program.ini"
printf '[Ports]\r\nCOM1=%s\r\n' "$scratch/dtu-port" >>"$own/program.ini"
start_and_close
grep -q $'^Port=4321\r$' "$own/program.ini" || fail "the saved Port is not the one read"
grep -q $'^DevID=packaged\r$' "$own/program.ini" || fail "the saved DevID is not the one read"
grep -q '^COM1=' "$own/program.ini" || fail "the [Ports] section was lost"
echo "Port=4321 and DevID=packaged were read and saved again"

echo "== purge"
"${as_root[@]}" dpkg --purge dtu-config
! dpkg-query -W -f='${Status}\n' dtu-config 2>/dev/null | grep -q "installed" || fail "dtu-config is still there"
for file in "$scratch"/tree/usr/bin/* "$scratch"/tree/usr/share/applications/*; do
  [ ! -e "${file#"$scratch/tree"}" ] || fail "${file#"$scratch/tree"} is left after the purge"
done
if [ -n "$was_installed" ]; then
  "${as_root[@]}" dpkg -i "$deb" >/dev/null
fi
echo "package checks passed"
