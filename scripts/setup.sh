#!/usr/bin/env bash
# Sets Ravo up on a Debian 12 machine: installs the missing packages (as root; otherwise
# prints the apt-get line to run), builds the Release build into build/, and filters a
# bundled sample photo with Warm/Cool, printing where the result is.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(cmake ninja-build g++ pkg-config libgtest-dev libbenchmark-dev libpng-dev libjpeg-dev libtiff-dev libdeflate-dev zlib1g-dev
          libfreetype-dev fonts-dejavu-core)
missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
if ((${#missing[@]})); then
  if [ "$(id -u)" = 0 ]; then
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}"
  else
    echo "Missing packages. Run as root:"
    echo "  apt-get install -y ${missing[*]}"
    exit 1
  fi
fi

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DRAVO_TESTS=ON -DRAVO_BENCH=ON >/dev/null
ninja -C build

mkdir -p out
build/ravo apply WarmCool samples/coffee.png out/coffee-warm.png --set temperature=-15
echo "Filtered sample: $(pwd)/out/coffee-warm.png"
