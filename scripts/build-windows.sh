#!/usr/bin/env bash
# Builds the Windows plug-in with Debian's mingw-w64 and lays out dist/windows/:
# Ravo.8bf, its Textures folder, ravo.exe (the command line) with its fonts folder,
# and INSTALL.txt.
#
#   scripts/build-windows.sh
#
# Installs the missing Debian packages when run as root (otherwise prints the
# apt-get line), builds the picture libraries from Debian's source packages into
# build-win/deps (once; later runs reuse them), then cross-builds into build-win/.
# The plug-in's resources and the patterns of the Textures folder are written by native
# tools, built in build-win/native unless RAVO_RESOURCE_WRITER and RAVO_TEXTURE_PATTERNS
# name a ravo_windows_resources and a ravo_texture_patterns that a Linux build of these
# sources made (scripts/test-windows.sh passes its own).
set -euo pipefail
cd "$(dirname "$0")/.."
build=build-win
dist=dist/windows

source scripts/windows/packages.sh
ensure_packages "${windows_build_packages[@]}"

started=$SECONDS
echo "Picture libraries (Debian sources, mingw-w64):"
scripts/windows/libraries.sh "$build"
echo "  ($((SECONDS - started)) s)"

started=$SECONDS

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$(pwd)/scripts/windows/toolchain-mingw-w64.cmake" \
  -DRAVO_WINDOWS_PREFIX="$(pwd)/$build/deps/install" -DRAVO_RESOURCE_WRITER="${RAVO_RESOURCE_WRITER:-}" \
  -DRAVO_TEXTURE_PATTERNS="${RAVO_TEXTURE_PATTERNS:-}" \
  -DRAVO_TESTS=OFF -DRAVO_BENCH=OFF >/dev/null
ninja -C "$build" Ravo ravo ravo_textures ravo_fonts
echo "Cross build: $((SECONDS - started)) s"

rm -rf "$dist"
mkdir -p "$dist"
x86_64-w64-mingw32-strip -o "$dist/Ravo.8bf" "$build/Ravo.8bf"
x86_64-w64-mingw32-strip -o "$dist/ravo.exe" "$build/ravo.exe"
cp -r "$build/Textures" "$dist/Textures"
cp -r "$build/fonts" "$dist/fonts"
# Windows line ends, for Notepad.
sed 's/$/\r/' scripts/windows/INSTALL.txt >"$dist/INSTALL.txt"
sed 's/$/\r/' "$build/Textures/LICENSES.txt" >"$dist/Textures/LICENSES.txt"
sed 's/$/\r/' "$build/fonts/LICENSE.txt" >"$dist/fonts/LICENSE.txt"
echo "Windows plug-in: $(pwd)/$dist"
