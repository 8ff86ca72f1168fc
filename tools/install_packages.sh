#!/bin/bash
# Installs the Debian 12 packages Gardenlume needs, only those that are
# missing, without questions. Needs root only when something is missing.
# One list, two sets:
#
#   tools/install_packages.sh run    what building and running the saver needs
#                                    (tools/run.sh): no test libraries
#   tools/install_packages.sh test   that and everything the tests, the
#                                    Debian package and the Windows build need
#                                    (tools/test.sh, .ci/run, tools/build-windows.sh);
#                                    also the default
#   tools/install_packages.sh desktops  the test set and KDE Plasma's and
#                                    GNOME's compositors, for the by-hand run
#                                    tests/wayland/run_kde_gnome.sh
set -euo pipefail

usage() { echo "usage: tools/install_packages.sh [run|test|desktops]" >&2; exit 2; }
[ $# -le 1 ] || usage
set_name=${1:-test}
case $set_name in run | test | desktops) ;; *) usage ;; esac

# Building and running: the compiler, CMake, SDL 1.2, SDL_image, GL and GLU.
run_packages=(
  g++ cmake ninja-build
  libsdl1.2-dev libsdl-image1.2-dev libglu1-mesa-dev
  # The full screen's monitor covers ask Xinerama for the monitors and hear
  # from RandR when they change.
  libxinerama-dev libxrandr-dev
  # artgen paints the packs with libpng and letters the overlay with FreeType
  # and a DejaVu font.
  libpng-dev libfreetype-dev fonts-dejavu-core
  # stb_image decodes pictures beside SDL_image (pak checks a picture with
  # both); pak import-obj reads materials with tinyobjloader.
  libstb-dev libtinyobjloader-dev
  # A replaced file (a pack, "cfg", ~/.xscreensaver) keeps its access list.
  libacl1-dev
  # tools/run.sh without a DISPLAY: a private X server and its screenshot.
  xvfb xauth xdotool imagemagick
  # gardenlume-idle hears the Wayland compositor's idle notices (client code
  # made from the protocol files) and GNOME's over D-Bus (GDBus).
  libwayland-dev wayland-protocols plasma-wayland-protocols libglib2.0-dev
)

# Testing, packaging and the Windows build, on top of the run set.
test_packages=(
  libgtest-dev libbenchmark-dev x11-apps
  clang libclang-rt-14-dev valgrind
  dpkg-dev file xscreensaver
  # The package stage holds the .deb to what a distribution accepts.
  lintian
  # The replace tests set and read access lists with setfacl and getfacl.
  acl
  # The display-sleep test reads the X server's idle time (MIT-SCREEN-SAVER);
  # the pointer tests read the pointer's picture through XFIXES.
  libxss-dev libxfixes-dev
  # The package test runs the garden under the MATE screen saver too.
  mate-screensaver desktop-file-utils dbus
  # ... and under xsecurelock, which runs the hacks of the XScreenSaver list.
  xsecurelock
  # The monitor tests run a dummy Xorg server placed with xrandr.
  xserver-xorg-core xserver-xorg-video-dummy x11-xserver-utils
  # The Windows build (tools/build-windows.sh) and its tests under Wine.
  gcc-mingw-w64-x86-64-posix g++-mingw-w64-x86-64-posix wine wine64
  googletest nsis patch
  # The garden and gardenlume-idle on headless sway with XWayland: keys typed
  # and screenshots taken through the compositor, the desktop's own idle time.
  sway xwayland wtype grim swayidle
)

# The by-hand run on KDE Plasma's and GNOME's compositors, headless.
desktop_packages=(kwin-wayland mutter dbus)

packages=("${run_packages[@]}")
if [ "$set_name" != run ]; then
  packages+=("${test_packages[@]}")
fi
if [ "$set_name" = desktops ]; then
  packages+=("${desktop_packages[@]}")
fi

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
