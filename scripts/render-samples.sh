#!/usr/bin/env bash
# Renders every available filter on the bundled sample photos into a folder, so that two
# builds (say, before and after a change that must keep every pixel) can be compared:
#
#   scripts/render-samples.sh OUT [BUILD]     renders with BUILD (default build/) into OUT
#   scripts/render-samples.sh --compare A B   compares two such folders file by file
#
# Each filter runs on every sample photo at 8 and 16 bits with its default values, and on
# two photos at 8 and 16 bits with every visible Number moved 37.13 % into its range (most
# defaults leave the float paths of an effect idle). Exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")/.."

if [ "${1:-}" = --compare ]; then
  a=$2 b=$3
  total=0 differ=0
  while read -r name; do
    total=$((total + 1))
    if ! cmp -s "$a/$name" "$b/$name"; then
      differ=$((differ + 1))
      echo "differs: $name"
    fi
  done < <(cd "$a" && ls)
  only_b=$(comm -13 <(cd "$a" && ls) <(cd "$b" && ls) | wc -l)
  echo "$total files compared, $differ differ, $only_b only in $b"
  [ "$differ" = 0 ] && [ "$only_b" = 0 ]
  exit
fi

out=${1:?usage: scripts/render-samples.sh OUT [BUILD] | --compare A B}
build=${2:-build}
ninja -C "$build" --quiet ravo Ravo ravo_textures ravo_windows_resources
mkdir -p "$out"
described=$(mktemp -d)
trap 'rm -rf "$described"' EXIT
"$build/ravo_windows_resources" "$described" >/dev/null

# Every visible Number parameter 37.13 % into its range, whole for whole numbers, by index.
varied_settings() {
  awk -F'\t' 'NR > 1 && $2 == "Number" && int($5 / 64) % 2 == 0 {
    value = $6 + 0.3713 * ($7 - $6)
    printf int($5 / 8192) % 2 ? " --set %d=%.0f" : " --set %d=%.1f", $1, value
  }' "$described/fx_$1.txt"
}

available=$("$build/ravo" list | awk '$NF == "available" { for (i = 1; i <= NF; ++i)
  if ($i ~ /^PIMAIN_/ || $i == "-") { print $(i - 1); break } }')
photos=(samples/*.png samples/*.jpg)
{
  for key in $available; do
    for photo in "${photos[@]}"; do
      for depth in 8 16; do echo "$key $photo $depth defaults"; done
    done
    for photo in "${photos[@]:0:2}"; do
      for depth in 8 16; do echo "$key $photo $depth varied $(varied_settings "$key")"; done
    done
  done
} >"$described/cases.txt"

render_case() {
  local key=$1 photo=$2 depth=$3 tag=$4
  shift 4
  local name="$key-$(basename "${photo%.*}")-$depth-$tag.png"
  "$build/ravo" apply "$key" "$photo" "$out/$name" --depth "$depth" "$@" >/dev/null 2>"$out/$name.err" ||
    echo "FAILED: $name: $(cat "$out/$name.err")"
  rm -f "$out/$name.err"
}
export -f render_case
export build out
failures=$(xargs -P "$(nproc)" -L 1 bash -c 'render_case "$@"' _ <"$described/cases.txt")
echo "$(wc -l <"$described/cases.txt") renders of $(echo "$available" | wc -w) filters into $out"
if [ -n "$failures" ]; then
  echo "$failures"
  exit 1
fi
