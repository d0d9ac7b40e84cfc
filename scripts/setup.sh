#!/usr/bin/env bash
# Installs every Debian package the project uses. Safe to run again: it only installs what is missing.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config git
  clang libclang-rt-14-dev clang-format
  libgtest-dev libgmock-dev googletest
  qt6-base-dev libgl-dev libjpeg62-turbo-dev
  qt6-translations-l10n
  xvfb xauth fonts-noto-cjk
  picocom
  cutecom xdotool x11-utils
  file lintian desktop-file-utils appstream
  qemu-system-x86 linux-image-amd64 busybox-static udev kmod cpio
  g++-mingw-w64-x86-64-posix wine wine64 nsis zip locales
)

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

as_root=()
if [ "$(id -u)" -ne 0 ]; then
  as_root=(sudo)
fi
echo "Installing: ${missing[*]}"
"${as_root[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
