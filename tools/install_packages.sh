#!/bin/bash
# Installs the Debian 12 packages the build and the tests need, only those
# that are missing, without questions. Needs root only when something is
# missing.
set -euo pipefail

packages=(
  g++ cmake ninja-build
  libsdl1.2-dev libsdl-image1.2-dev libglu1-mesa-dev
  libgtest-dev libbenchmark-dev libpng-dev libfreetype-dev fonts-dejavu-core
  xvfb xauth xdotool x11-apps imagemagick
  clang libclang-rt-14-dev valgrind
  dpkg-dev file xscreensaver
  # The package stage holds the .deb to what a distribution accepts.
  lintian
  # The display-sleep test reads the X server's idle time (MIT-SCREEN-SAVER).
  libxss-dev
  # The tests ask XFIXES for the pointer's picture: hidden or shown.
  libxfixes-dev
  # The package test runs the garden under the MATE screen saver too.
  mate-screensaver desktop-file-utils dbus
  # ... and under xsecurelock, which runs the hacks of the XScreenSaver list.
  xsecurelock
  # The full screen's monitor covers ask Xinerama for the monitors and hear
  # from RandR when they change; the monitor tests run a dummy Xorg server
  # placed with xrandr.
  libxinerama-dev libxrandr-dev xserver-xorg-core xserver-xorg-video-dummy x11-xserver-utils
  # pak import-obj reads OBJ files with it (the Windows build compiles its header).
  libtinyobjloader-dev
  # The Windows build (tools/build-windows.sh) and its tests under Wine.
  gcc-mingw-w64-x86-64-posix g++-mingw-w64-x86-64-posix wine wine64
  libstb-dev googletest nsis patch
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing missing packages: ${missing[*]}"
if [ "$(id -u)" -ne 0 ]; then
  echo "install_packages.sh: missing packages and not root; run as root or install: ${missing[*]}" >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
apt-get -o DPkg::Lock::Timeout=600 update -q
apt-get -o DPkg::Lock::Timeout=600 install -y -q --no-install-recommends "${missing[@]}"
