# Sourced by the Windows build and test scripts: the Debian packages they need and
# a function that installs the missing ones.

# The Windows cross build: the native tools and libraries the resource writer needs,
# mingw-w64 (posix threads), zlib for mingw-w64, dpkg-dev for apt-get source, and the
# dialog font that ships beside ravo.exe.
windows_build_packages=(cmake ninja-build make g++ pkg-config dpkg-dev libpng-dev libjpeg-dev libtiff-dev
                        zlib1g-dev g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix
                        binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev libz-mingw-w64-dev
                        libfreetype-dev fonts-dejavu-core)

# Installs the named packages that are missing, as root; otherwise prints the
# apt-get line to run and exits.
ensure_packages() {
  local missing=() package
  for package in "$@"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
  done
  ((${#missing[@]})) || return 0
  if [ "$(id -u)" != 0 ]; then
    echo "Missing packages. Run as root:"
    echo "  apt-get install -y ${missing[*]}"
    exit 1
  fi
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

# The checks of the plug-in's own dialog under Wine: a virtual X display, an X input tool,
# window pictures (xwd) and the netpbm tools that crop, count and convert them.
windows_dialog_packages=(xvfb xdotool x11-apps netpbm)
