#!/usr/bin/env bash
# Cross-builds the static dtu-config.exe and makes the two things a Windows user gets: a 64-bit installer and
# a portable zip, both in build/windows/package/. With --check the installer is then run silently under Wine,
# the installed program asked for its version, and the uninstaller run, all in a Wine prefix of its own.
set -euo pipefail
cd "$(dirname "$0")/.."
check=false
[ "${1:-}" = "--check" ] && check=true

bash scripts/setup.sh
if [ "${DTU_SKIP_BUILD:-}" != 1 ]; then
  cmake --preset windows >/dev/null
  cmake --build --preset windows --target dtu-config
fi

version=$(sed -n 's/^project(dtu_config VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
out=build/windows/package
stage="$out/dtu-config-$version"
rm -rf "$out"
mkdir -p "$stage"
# The build keeps its debugging symbols; what users get is stripped (about a tenth of the size).
x86_64-w64-mingw32-strip -o "$stage/dtu-config.exe" build/windows/src/main/dtu-config.exe
cp packaging/copyright "$stage/copyright.txt"
(cd "$out" && zip -q -r "dtu-config-$version-win64.zip" "dtu-config-$version")

installer="$out/dtu-config-$version-setup.exe"
makensis -V2 -DVERSION="$version" -DEXE="$(realpath "$stage/dtu-config.exe")" \
  -DCOPYRIGHT="$(realpath packaging/copyright)" -DICON="$(realpath src/winview/resources/dtu-config.ico)" \
  -DOUTFILE="$(realpath -m "$installer")" packaging/windows/dtu-config.nsi
echo "Made $installer and $out/dtu-config-$version-win64.zip"
ls -l "$installer" "$out/dtu-config-$version-win64.zip"

if $check; then
  prefix=build/windows/package-prefix
  rm -rf "$prefix" "$prefix.lock"
  run() { bash scripts/wine-run.sh "$prefix" "$@"; }
  run "$installer" /S
  installed="$(WINEPREFIX=$(realpath -m "$prefix") winepath -u 'C:\Program Files\dtu-config')"
  for file in dtu-config.exe copyright.txt uninstall.exe; do
    [ -f "$installed/$file" ] || { echo "the installer left out $file" >&2; exit 1; }
  done
  reported=$(run "$installed/dtu-config.exe" --version | tr -d '\r')
  case "$reported" in
    *"$version"*) echo "Installed under Wine: $reported" ;;
    *) echo "the installed program reports '$reported', not $version" >&2; exit 1 ;;
  esac
  run "$installed/uninstall.exe" /S
  # The uninstaller copies itself away and removes the folder from there: wait for Wine to finish it.
  WINEPREFIX=$(realpath -m "$prefix") "$(command -v wineserver || echo /usr/lib/wine/wineserver)" -w || true
  [ ! -e "$installed/dtu-config.exe" ] || { echo "the uninstaller left dtu-config.exe" >&2; exit 1; }
  bash scripts/wine-run.sh --stop "$prefix"
  rm -rf "$prefix" "$prefix.lock"
  echo "Installer checked under Wine: installs, runs, uninstalls"
fi
