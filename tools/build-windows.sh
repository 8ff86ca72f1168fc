#!/bin/bash
# Cross-builds the Windows programs with mingw-w64 from a Debian 12 machine:
# gardenlume.scr, config.exe, pak.exe and the six packs in build-windows/bin/,
# the installer build-windows/gardenlume-setup-<version>.exe (NSIS), plus the
# Windows unit tests in build-windows/tests/ (run them under Wine
# with tests/windows/run_wine_tests.sh).
#
#   tools/build-windows.sh     build dir: ./build-windows (GARDENLUME_WINDOWS_BUILD_DIR)
#
# SDL 1.2 for mingw is in no Debian package: it is built once from Debian's
# source package, with our patches (win32/sdl-*.patch), and kept in
# build-windows/deps/, so later builds take seconds. The packs are painted by artgen built for this machine (the
# bytes of a pack are the same on both systems).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
out=${GARDENLUME_WINDOWS_BUILD_DIR:-$root/build-windows}
deps=$out/deps
sdl_prefix=$deps/sdl-1.2
# The exact source the static SDL was built from, our patches applied: the
# LGPL asks for it to travel with the programs, so it lies beside the installer.
sdl_source=libsdl1.2-1.2.15+dfsg2-8-gardenlume.tar.gz
jobs=$(nproc)
host=x86_64-w64-mingw32

"$root/tools/install_packages.sh"

# ---- SDL 1.2, static, for mingw-w64 ----
# Built again when our patches of its source change: the stamp holds their sum.
sdl_patches=("$root"/win32/sdl-*.patch)
sdl_stamp=$(cat "${sdl_patches[@]}" | sha256sum | cut -d' ' -f1)
# GARDENLUME_SDL_PREFIX names an SDL 1.2 of your own, built static for
# mingw-w64 (its include/SDL and lib), to link the programs with instead.
if [ -n "${GARDENLUME_SDL_PREFIX:-}" ]; then
  sdl_prefix=$GARDENLUME_SDL_PREFIX
elif [ ! -f "$sdl_prefix/lib/libSDL.a" ] || [ ! -f "$deps/$sdl_source" ] ||
  [ "$(cat "$sdl_prefix/patches.sha256" 2>/dev/null)" != "$sdl_stamp" ]; then
  echo "== Building SDL 1.2 for $host (once; kept in $sdl_prefix)"
  # The source package needs deb-src lines; the archive's own deb822 file
  # gives them, with the suite pinned below (the default picks files that
  # are not served).
  src_list=/etc/apt/sources.list.d/gardenlume-deb-src.sources
  if ! apt-get source --print-uris -qq libsdl1.2/bookworm >/dev/null 2>&1; then
    if [ "$(id -u)" -ne 0 ]; then
      echo "build-windows.sh: SDL's source package needs deb-src entries; run as root" >&2
      exit 1
    fi
    sed 's/^Types:.*/Types: deb-src/' /etc/apt/sources.list.d/debian.sources > "$src_list"
    apt-get -o DPkg::Lock::Timeout=600 update -q
  fi
  rm -rf "$deps/sdl-src" "$sdl_prefix"
  mkdir -p "$deps/sdl-src"
  (cd "$deps/sdl-src" && apt-get source -q libsdl1.2/bookworm)
  sdl_dir=$(find "$deps/sdl-src" -maxdepth 1 -mindepth 1 -type d -name 'libsdl1.2-*' | head -n1)
  (cd "$sdl_dir" && for p in "${sdl_patches[@]}"; do patch -p1 -s <"$p"; done) ||
    { echo "build-windows.sh: our patches do not apply to $sdl_dir" >&2; exit 1; }
  # Before anything is built in it: the source as it is compiled.
  tar -C "$deps/sdl-src" --sort=name --owner=0 --group=0 --numeric-owner --mtime=@0 \
    -czf "$deps/$sdl_source" "$(basename "$sdl_dir")"
  (
    cd "$sdl_dir"
    # Without --disable-stdio-redirect SDL writes stdout.txt beside the
    # program, and a child process truncates its parent's file.
    ./configure --host=$host --prefix="$sdl_prefix" --disable-shared --enable-static \
      --disable-stdio-redirect >"$deps/sdl-configure.log" 2>&1
    make -j"$jobs" >"$deps/sdl-make.log" 2>&1
    make install >"$deps/sdl-install.log" 2>&1
  ) || { echo "build-windows.sh: SDL 1.2 did not build; see $deps/sdl-*.log" >&2; exit 1; }
  echo "$sdl_stamp" >"$sdl_prefix/patches.sha256"
  rm -rf "$deps/sdl-src"
fi

# ---- artgen and pak for this machine: they paint the packs and the icon ----
# (config.exe too: the Wine tests compare the cfg bytes both write.)
# GARDENLUME_HOST_TOOLS may name a folder that has them already (tools/test.sh
# passes the normal build's bin/).
host_tools=${GARDENLUME_HOST_TOOLS:-}
if [ -z "$host_tools" ] || [ ! -x "$host_tools/artgen" ] || [ ! -x "$host_tools/pak" ]; then
  echo "== Building artgen and pak for this machine in $out/host"
  cmake -S "$root" -B "$out/host" -G Ninja -DGARDENLUME_TESTS=OFF -DGARDENLUME_BENCH=OFF >/dev/null
  cmake --build "$out/host" -j"$jobs" --target artgen pak gardenlume_config
  host_tools=$out/host/bin
fi

# ---- the Windows programs, packs and unit tests ----
echo "== Building the Windows programs in $out"
cmake -S "$root" -B "$out" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$root/tools/mingw-w64.cmake" \
  -DGARDENLUME_SDL_PREFIX="$sdl_prefix" \
  -DGARDENLUME_HOST_TOOLS="$host_tools" \
  -DGARDENLUME_WERROR=ON -DGARDENLUME_BENCH=OFF
cmake --build "$out" -j"$jobs"
for f in gardenlume.scr config.exe pak.exe main.pak butterfly1.pak butterfly2.pak \
  butterfly3.pak butterfly4.pak butterfly5.pak; do
  [ -s "$out/bin/$f" ] || { echo "build-windows.sh: $out/bin/$f was not made" >&2; exit 1; }
done
echo "Windows programs and packs: $out/bin"

# ---- the installer ----
cmake --build "$out" --target installer
version=$(sed -n 's/^set(GARDENLUME_VERSION_TEXT \(.*\))$/\1/p' "$root/win32/Resources.cmake")
setup=$out/gardenlume-setup-$version.exe
[ -s "$setup" ] || { echo "build-windows.sh: $setup was not made" >&2; exit 1; }
echo "Installer: $setup"
if [ -z "${GARDENLUME_SDL_PREFIX:-}" ]; then
  cp "$deps/$sdl_source" "$out/$sdl_source"
  echo "SDL's source, as built: $out/$sdl_source"
fi
