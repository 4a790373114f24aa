#!/usr/bin/env bash
# Builds the picture libraries of the Windows stand-in host as static mingw-w64
# libraries from Debian's own source packages: libjpeg-turbo, libpng, libdeflate
# and libtiff (zlib comes from libz-mingw-w64-dev), and FreeType for the text of its
# dialogs. They are the versions the Linux build links, so both builds read and write
# the same bytes and draw the same dialogs.
#
#   scripts/windows/libraries.sh BUILD_DIR
#
# Installs into BUILD_DIR/deps/install. A library is rebuilt only when its source
# version or its build recipe changed, so a second run takes seconds.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build="$(mkdir -p "$1" && cd "$1" && pwd)"
deps="$build/deps"
prefix="$deps/install"
toolchain="$here/toolchain-mingw-w64.cmake"
sysroot=/usr/x86_64-w64-mingw32
jobs=$(nproc)
mkdir -p "$deps/src" "$deps/build" "$prefix"

# apt-get source needs deb-src entries; mirror the machine's deb entries once.
ensure_deb_src() {
  if grep -rqsE '^(deb-src |Types:.*deb-src)' /etc/apt/sources.list /etc/apt/sources.list.d/; then return; fi
  if [ "$(id -u)" != 0 ]; then
    echo "No deb-src entry in the apt sources; run this script as root once to add one." >&2
    exit 1
  fi
  local added=/etc/apt/sources.list.d/ravo-deb-src
  if [ -f /etc/apt/sources.list.d/debian.sources ]; then
    # deb822 form: copy each stanza that has binary packages as a source stanza.
    awk 'BEGIN { RS = ""; ORS = "\n\n" }
         $0 ~ /(^|\n)Types:([^\n]* )?deb( |\n|$)/ {
           gsub(/(^|\n)Types:[^\n]*/, "\nTypes: deb-src"); sub(/^\n/, ""); print }' \
      /etc/apt/sources.list.d/debian.sources >"$added.sources"
  fi
  if [ -f /etc/apt/sources.list ]; then
    sed -n 's/^deb \(.*\)$/deb-src \1/p' /etc/apt/sources.list >"$added.list"
    [ -s "$added.list" ] || rm -f "$added.list"
  fi
  apt-get update -qq
}

# The source tree of a Debian source package, fetched with apt-get source once per
# version; prints its folder. The newest version the archive serves is taken (a
# security update may be listed before its source reaches the mirror).
fetch_source() {
  local package=$1 version folder tree
  for folder in "$deps/src/$package"-*/; do
    [ -f "$folder.fetched" ] && { echo "${folder}tree"; return; }
  done
  for version in $(apt-cache showsrc "$package" | sed -n 's/^Version: //p' | sort -rV); do
    folder="$deps/src/$package-${version#*:}"
    rm -rf "$folder" && mkdir -p "$folder"
    if (cd "$folder" && apt-get source -qq "$package=$version" >"$folder.log" 2>&1); then
      # Only the unpacked tree is kept.
      tree=$(find "$folder" -mindepth 1 -maxdepth 1 -type d | head -1)
      mv "$tree" "$folder/tree"
      find "$folder" -mindepth 1 -maxdepth 1 ! -name tree -exec rm -rf {} +
      touch "$folder/.fetched"
      echo "$folder/tree"
      return
    fi
    rm -rf "$folder"
  done
  echo "apt-get source could not fetch $package (see $deps/src/$package-*.log)" >&2
  exit 1
}

# Configures, builds and installs one CMake project unless its stamp is current.
build_cmake() {
  local name=$1 source=$2
  shift 2
  local recipe="$source $*" stamp="$prefix/.built-$name"
  if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$recipe" ]; then
    echo "  $name: up to date"
    return
  fi
  echo "  $name: building from $(basename "$(dirname "$source")")"
  rm -rf "$deps/build/$name"
  cmake -S "$source" -B "$deps/build/$name" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DRAVO_WINDOWS_PREFIX="$prefix" -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DCMAKE_POSITION_INDEPENDENT_CODE=ON \
    -DBUILD_SHARED_LIBS=OFF "$@" >"$deps/build/$name.log" 2>&1 ||
    { tail -40 "$deps/build/$name.log" >&2; exit 1; }
  { ninja -C "$deps/build/$name" -j "$jobs" && ninja -C "$deps/build/$name" install; } >>"$deps/build/$name.log" 2>&1 ||
    { tail -40 "$deps/build/$name.log" >&2; exit 1; }
  echo "$recipe" >"$stamp"
}

# libdeflate 1.14 builds with its own Makefile, in a copy of the tree.
build_deflate() {
  local source=$1 stamp="$prefix/.built-deflate"
  if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$source" ]; then
    echo "  deflate: up to date"
    return
  fi
  echo "  deflate: building from $(basename "$(dirname "$source")")"
  rm -rf "$deps/build/deflate" && cp -r "$source" "$deps/build/deflate"
  make -C "$deps/build/deflate" -j "$jobs" CC=x86_64-w64-mingw32-gcc-posix AR=x86_64-w64-mingw32-ar \
    libdeflatestatic.lib >"$deps/build/deflate.log" 2>&1 || { tail -40 "$deps/build/deflate.log" >&2; exit 1; }
  mkdir -p "$prefix/include" "$prefix/lib"
  cp "$deps/build/deflate/libdeflate.h" "$prefix/include/"
  cp "$deps/build/deflate/libdeflatestatic.lib" "$prefix/lib/libdeflate.a"
  echo "$source" >"$stamp"
}

ensure_deb_src
zlib=(-DZLIB_INCLUDE_DIR="$sysroot/include" -DZLIB_LIBRARY="$sysroot/lib/libz.a")

jpeg_source=$(fetch_source libjpeg-turbo)
png_source=$(fetch_source libpng1.6)
deflate_source=$(fetch_source libdeflate)
tiff_source=$(fetch_source tiff)
freetype_source=$(fetch_source freetype)

# libjpeg-turbo: the libjpeg 6.2 interface, as Debian's libjpeg62-turbo. The plain C
# code path: its accurate DCT and colour conversion give the same bits as the SIMD one.
build_cmake jpeg "$jpeg_source" -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_TURBOJPEG=OFF \
  -DWITH_SIMD=OFF -DWITH_JPEG8=OFF -DWITH_JAVA=OFF -DCMAKE_INSTALL_DEFAULT_LIBDIR=lib
build_cmake png "$png_source" -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF \
  -DSKIP_INSTALL_PROGRAMS=ON -DSKIP_INSTALL_EXECUTABLES=ON "${zlib[@]}"
# libtiff on Linux deflates through libdeflate; so does this one, for the same file bytes.
# Its I/O goes through C runtime descriptors (not Win32 handles), as the host's TIFF
# codec hands it one.
build_deflate "$deflate_source"
build_cmake tiff "$tiff_source" -Dtiff-tools=OFF -Dtiff-tests=OFF -Dtiff-contrib=OFF -Dtiff-docs=OFF \
  -Dtiff-deprecated=OFF -Dcxx=OFF -Dzlib=ON -Dlibdeflate=ON -Djpeg=ON -Dold-jpeg=ON -Djbig=OFF -Dlerc=OFF \
  -Dlzma=OFF -Dzstd=OFF -Dwebp=OFF -Dpixarlog=ON -Djpeg12=OFF -Dwin32-io=OFF "${zlib[@]}" \
  -DJPEG_INCLUDE_DIR="$prefix/include" -DJPEG_LIBRARY="$prefix/lib/libjpeg.a" \
  -DDeflate_INCLUDE_DIR="$prefix/include" -DDeflate_LIBRARY="$prefix/lib/libdeflate.a"
# FreeType draws dialog text from a TrueType file. Its gzip reader is always built; it uses
# the same zlib as the other libraries, since FreeType's own copy of zlib would clash with it.
build_cmake freetype "$freetype_source" -DFT_REQUIRE_ZLIB=ON -DFT_DISABLE_BZIP2=ON -DFT_DISABLE_PNG=ON \
  -DFT_DISABLE_HARFBUZZ=ON -DFT_DISABLE_BROTLI=ON "${zlib[@]}"
