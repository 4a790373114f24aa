#!/usr/bin/env bash
# Tests the Windows build under Wine against the Linux build:
#  - dist/windows/Ravo.8bf is a PE32+ DLL whose export table lists exactly the 36
#    entry points, with 36 PIPL and 36 AETE resources, ids 16000..16035, language neutral;
#  - the PIPL and AETE bytes the stand-in host reads back from it under Wine equal the
#    generated ones;
#  - `ravo.exe list` and `ravo.exe params` say what the Linux command says;
#  - every available filter renders the sample photos at 8 and 16 bits into files
#    bit-identical to the Linux build's (PNG; TIFF and JPEG too for one photo; a TIFF input);
#    the filters that read texture files do so with every file of the Textures folder, placed
#    as it is and moved, scaled, turned and corner-pinned;
#  - every filter's dialog (`ravo.exe dialog ... --snapshot`) and the about box are drawn into
#    the same picture files, and the dialog's OK writes the same output;
#  - with the stand-in host's dialog manager withheld, every filter's dialog opens as a real
#    window of the plug-in's own dialog manager on a virtual X display, driven with xdotool
#    (scripts/windows/native-dialog.sh).
#
#   scripts/test-windows.sh
#
# Builds what it compares: the Linux build in build/ (RAVO_LINUX_BUILD=DIR for
# another), then dist/windows (scripts/build-windows.sh). Wine runs headless in a
# private prefix under build-win/. Exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")/.."
linux=${RAVO_LINUX_BUILD:-build}
win=build-win
dist=dist/windows
work=$win/test
objdump=x86_64-w64-mingw32-objdump
wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver
jobs=$(nproc)
started=$SECONDS
stage() { echo "== $1 (at $((SECONDS - started)) s)"; }

stage "packages"
source scripts/windows/packages.sh
ensure_packages "${windows_build_packages[@]}" "${windows_dialog_packages[@]}" wine64

stage "Linux build ($linux)"
[ -f "$linux/CMakeCache.txt" ] || cmake -S . -B "$linux" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
ninja -C "$linux" --quiet Ravo ravo ravo_textures ravo_windows_resources ravo_texture_patterns

stage "Windows build"
# The Linux build's native tools serve the cross build too: the same sources, built once.
RAVO_RESOURCE_WRITER="$(cd "$linux" && pwd)/ravo_windows_resources" \
  RAVO_TEXTURE_PATTERNS="$(cd "$linux" && pwd)/ravo_texture_patterns" scripts/build-windows.sh
ninja -C "$win" --quiet ravo_dump_resources

rm -rf "$work"
mkdir -p "$work/linux" "$work/windows" "$work/results"
"$linux/ravo_windows_resources" "$work/generated"

passed=0
failed=0
pass() { passed=$((passed + 1)); }
fail() {
  failed=$((failed + 1))
  echo "FAIL: $*"
}

stage "plug-in file"
header=$("$objdump" -p "$dist/Ravo.8bf")
if grep -q '^Magic.*(PE32+)' <<<"$header" && grep -qx $'\tDLL' <<<"$header"; then pass; else fail "Ravo.8bf is not a PE32+ DLL"; fi

# The export table: exactly the entry points of the command table, no more.
sed -n '/^\[Ordinal\/Name Pointer\] Table/,/^$/s/^\t\[ *[0-9]*\] //p' <<<"$header" | sort >"$work/exports.txt"
cut -f1 "$work/generated/commands.txt" | sort >"$work/entry-points.txt"
if [ "$(wc -l <"$work/entry-points.txt")" = 36 ] && cmp -s "$work/exports.txt" "$work/entry-points.txt"; then
  pass
else
  fail "the export table is not the 36 entry points:"
  diff "$work/entry-points.txt" "$work/exports.txt" || true
fi

# The resource directory: type, id and language of every resource. objdump shows the
# three levels of the tree by indentation; ids and languages are hexadecimal.
sed -n '/^The .rsrc Resource Directory section:/,$p' <<<"$header" | awk '
  /^[0-9a-f]+ +Entry: / {
    match($0, /^[0-9a-f]+ +/); depth = RLENGTH - length($1)
    name = $3 == "name:" ? $8 : $4; sub(/,$/, "", name)
    if (depth <= 4) type = name
    else if (depth <= 6) id = name
    else print type, id, name
  }' | while read -r type id language; do
    [[ $id == 0x* ]] && id=$((16#${id#0x}))  # named resources keep their name
    echo "$type $id $((16#$language))"
  done >"$work/resources.txt"
for type in PIPL AETE; do
  expected=$(seq 16000 16035 | sed "s/.*/$type & 0/")
  if [ "$(grep "^$type " "$work/resources.txt" | sort -n -k2)" = "$expected" ]; then
    pass
  else
    fail "the $type resources are not ids 16000..16035, language neutral:"
    grep "^$type " "$work/resources.txt" | head -5
  fi
done

stage "Wine"
export WINEPREFIX="$(pwd)/$win/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEARCH=win64
unset DISPLAY WAYLAND_DISPLAY
[ -f "$WINEPREFIX/system.reg" ] || "$wine" wineboot --init >/dev/null 2>&1
"$wineserver" -p || true  # a server of this prefix may be running already
trap '"$wineserver" -k 2>/dev/null || true' EXIT

stage "resources read back under Wine"
if "$wine" "$win/ravo_dump_resources.exe" "$dist/Ravo.8bf" "$work/readback" | tr -d '\r' >"$work/readback.txt"; then
  if [ "$(cat "$work/readback.txt")" = "$(seq 16000 16035)" ]; then pass; else fail "the host finds other PIPL ids"; fi
  for id in $(seq 16000 16035); do
    for type in pipl aete; do
      if cmp -s "$work/readback/${type}_$id.bin" "$work/generated/${type}_$id.bin"; then pass; else fail "$type $id differs"; fi
    done
  done
else
  fail "ravo_dump_resources could not read the plug-in"
fi

stage "list and params"
"$linux/ravo" list >"$work/linux/list.txt"
"$wine" "$dist/ravo.exe" list | tr -d '\r' >"$work/windows/list.txt"
# Effects without a menu command are out of a Windows host's reach; the menu commands must agree.
if [ "$(grep -c PIMAIN_ "$work/windows/list.txt")" = 36 ] &&
   cmp -s <(grep PIMAIN_ "$work/linux/list.txt") <(grep PIMAIN_ "$work/windows/list.txt"); then
  pass
else
  fail "ravo.exe list differs:"
  diff "$work/linux/list.txt" "$work/windows/list.txt" || true
fi
available=$(awk '{ for (i = 2; i <= NF; ++i) if ($i ~ /^PIMAIN_/ && $(i + 1) == "available") print $(i - 1) }' \
  "$work/windows/list.txt")
echo "available: $(echo $available)"
for key in $available; do
  "$linux/ravo" params "$key" >"$work/linux/params-$key.txt" 2>&1 || true
  "$wine" "$dist/ravo.exe" params "$key" 2>&1 | tr -d '\r' >"$work/windows/params-$key.txt" || true
  if cmp -s "$work/linux/params-$key.txt" "$work/windows/params-$key.txt"; then pass; else fail "params $key differs"; fi
done

stage "bad input"
# The same refusal on both: exit status and message. Platform code is on these paths
# (picture files, the replacing writer, loading the plug-in).
head -c 2000 samples/coffee.png >"$work/truncated.png"
bad_cases=(
  "apply WarmCool samples/missing.png $work/x.png"
  "apply WarmCool samples/coffee.png $work/no-folder/x.png"
  "apply WarmCool samples/coffee.png $work/x.bmp"
  "apply WarmCool samples/coffee.png samples/coffee.png"
  "apply WarmCool samples/LICENSES.md $work/x.png"
  "apply WarmCool $work/truncated.png $work/x.png"
  "apply WarmCool samples/coffee.png $work/x.png --set temperature=1000"
  "apply NoSuchFilter samples/coffee.png $work/x.png"
)
for arguments in "${bad_cases[@]}"; do
  linuxStatus=0 windowsStatus=0
  # shellcheck disable=SC2086 # the arguments hold no spaces
  linuxMessage=$("$linux/ravo" $arguments 2>&1) || linuxStatus=$?
  windowsMessage=$("$wine" "$dist/ravo.exe" $arguments 2>&1 | tr -d '\r'; exit "${PIPESTATUS[0]}") || windowsStatus=$?
  if [ "$linuxStatus" != 0 ] && [ "$linuxStatus" = "$windowsStatus" ] && [ "$linuxMessage" = "$windowsMessage" ]; then
    pass
  else
    fail "ravo $arguments: Linux $linuxStatus \"$linuxMessage\", Windows $windowsStatus \"$windowsMessage\""
  fi
done
# Effects without a menu command: the Windows plug-in exports no entry for them.
status=0
message=$("$wine" "$dist/ravo.exe" apply FastBlur samples/coffee.png "$work/x.png" 2>&1 | tr -d '\r'
          exit "${PIPESTATUS[0]}") || status=$?
if [ "$status" = 4 ] && [ "$message" = "ravo: FastBlur (FastBlur) is not available in this build" ]; then
  pass
else
  fail "ravo.exe apply FastBlur: exit $status \"$message\""
fi
# A file that is no Ravo plug-in, and no file at all: exit 5 (the reasons are the system's own).
for plugin in "$dist/ravo.exe" "$work/missing.8bf"; do
  status=0
  RAVO_PLUGIN=$plugin "$wine" "$dist/ravo.exe" list >/dev/null 2>&1 || status=$?
  if [ "$status" = 5 ]; then pass; else fail "ravo.exe with RAVO_PLUGIN=$plugin: exit $status"; fi
done

stage "filters on the sample photos"
# One case: FILTER INPUT DEPTH EXTENSION TAG [--set ...]. Both builds filter INPUT;
# their exit statuses must agree and, on success, their files be identical.
run_case() {
  local key=$1 input=$2 depth=$3 ext=$4 tag=$5
  shift 5
  local name="$key-$(basename "${input%.*}")-$depth-$tag.$ext"
  local linuxStatus=0 windowsStatus=0
  "$linux/ravo" apply "$key" "$input" "$work/linux/$name" --depth "$depth" "$@" >/dev/null \
    2>"$work/linux/$name.err" || linuxStatus=$?
  "$wine" "$dist/ravo.exe" apply "$key" "$input" "$work/windows/$name" --depth "$depth" "$@" >/dev/null \
    2>"$work/windows/$name.err" || windowsStatus=$?
  # ravo.exe never exits 1 and always names its failure; a silent 1 is Wine failing to start
  # the process (seen once in many hundred runs), so that run is tried once more.
  if [ "$windowsStatus" = 1 ] && [ ! -s "$work/windows/$name.err" ]; then
    echo "Wine did not start ravo.exe for $name; running it again" >&2
    windowsStatus=0
    "$wine" "$dist/ravo.exe" apply "$key" "$input" "$work/windows/$name" --depth "$depth" "$@" >/dev/null \
      2>"$work/windows/$name.err" || windowsStatus=$?
  fi
  if [ "$linuxStatus" != "$windowsStatus" ]; then
    echo "FAIL $name: exit $linuxStatus on Linux, $windowsStatus on Windows: $(tr -d '\r' <"$work/windows/$name.err")"
  elif [ "$linuxStatus" != 0 ]; then
    echo "PASS $name (both exit $linuxStatus)"
  elif cmp -s "$work/linux/$name" "$work/windows/$name"; then
    echo "PASS $name"
  else
    echo "FAIL $name: the files differ"
  fi
}
export -f run_case
export linux dist work wine

# Every visible Number parameter of an effect moved off its default (most defaults
# leave the float paths of an effect idle): 37.13 % into its range, whole for whole
# numbers, by index.
varied_settings() {
  awk -F'\t' 'NR > 1 && $2 == "Number" && int($5 / 64) % 2 == 0 {
    value = $6 + 0.3713 * ($7 - $6)
    printf int($5 / 8192) % 2 ? " --set %d=%.0f" : " --set %d=%.1f", $1, value
  }' "$work/generated/fx_$1.txt"
}

# Quads of the effects with corner points, moved off the picture's own corners: turned (and
# reaching past the picture), sheared, and scaled down in perspective. The corners are in
# fractions of the picture about its centre.
quads=(
  "turned --set ul=-0.6,-0.3 --set ur=0.4,-0.55 --set lr=0.55,0.35 --set ll=-0.35,0.6"
  "sheared --set ul=-0.3,-0.4 --set ur=0.2,-0.4 --set lr=0.45,0.3 --set ll=-0.05,0.3 --set dir=Left-to-right"
  "perspective --set ul=-0.1,-0.45 --set ur=0.3,-0.2 --set lr=0.25,0.4 --set ll=-0.45,0.1 --set size=60"
)

photos=(samples/*.png samples/*.jpg)
{
  for key in $available; do
    for photo in "${photos[@]}"; do
      for depth in 8 16; do echo "$key $photo $depth png defaults"; done
    done
    echo "$key ${photos[0]} 16 tif defaults"
    echo "$key ${photos[0]} 8 jpg defaults"
    for depth in 8 16; do echo "$key ${photos[1]} $depth png varied $(varied_settings "$key")"; done
    if grep -qP '\tul\t' "$work/generated/fx_$key.txt"; then
      for quad in "${quads[@]}"; do
        for depth in 8 16; do echo "$key ${photos[2]} $depth png $quad"; done
        echo "$key ${photos[0]} 16 png $quad $(varied_settings "$key")"
      done
    fi
    # Effects that read a texture file: a bundled texture under the varied values, the
    # placement's crop opened again (the varied values close it to nothing).
    texture=$(awk -F'\t' '$2 == "ImageFile" { print $3; exit }' "$work/generated/fx_$key.txt")
    if [ -n "$texture" ]; then
      for depth in 8 16; do
        echo "$key ${photos[1]} $depth png textured $(varied_settings "$key") --set $texture=brick.png" \
          "--set dveCropTop=10 --set dveCropBottom=90 --set dveCropLeft=5 --set dveCropRight=85"
      done
    fi
  done
  # The texture filters with each picture of the Textures folder, taken in turn by the ones
  # available, at both depths and through the blend modes; then a pattern placed off the
  # picture's frame (Light also displaced by the picture).
  texture_filters=()
  for key in Diffusion Light; do
    if [[ " $(echo $available) " == *" $key "* ]]; then texture_filters+=("$key"); fi
  done
  declare -A texture_key=([Diffusion]=diffTexture [Light]=pattern)
  declare -A blend_key=([Diffusion]=diffTexBlend [Light]=compositeFunc)
  declare -A placed_extra=([Diffusion]="" [Light]="--set lDisplacement=40")
  placements=(
    "moved --set dvePosition=0.12,-0.08 --set dveScaleX=140 --set dveRotate=17.5"
    "pinned --set dveCornerPinUL=-0.35,-0.4 --set dveScaleX=65 --set dveRotate=-30"
  )
  if [ ${#texture_filters[@]} -gt 0 ]; then
    i=0
    for texture in $(cd "$dist/Textures" && ls | grep -Ei '\.(png|jpe?g)$'); do
      key=${texture_filters[i % ${#texture_filters[@]}]}
      for depth in 8 16; do
        echo "$key samples/chelsea.png $depth png tex-${texture%.*} --set ${texture_key[$key]}=$texture" \
          "--set ${blend_key[$key]}=$((i % 8))"
      done
      i=$((i + 1))
    done
    for key in "${texture_filters[@]}"; do
      for placement in "${placements[@]}"; do
        for depth in 8 16; do
          echo "$key samples/coffee.png $depth png placed-$placement" \
            "--set ${texture_key[$key]}=dappled-light.png ${placed_extra[$key]}"
        done
      done
    done
  fi
} >"$work/cases.txt"
xargs -P "$jobs" -L 1 bash -c 'run_case "$@"' _ <"$work/cases.txt" >"$work/results/cases.txt"
# A TIFF input: the Linux build's 16-bit TIFF of the first filter, filtered once more.
first=$(echo $available | cut -d' ' -f1)
if [ -n "$first" ]; then
  cp "$work/linux/$first-$(basename "${photos[0]%.*}")-16-defaults.tif" "$work/input.tif"
  run_case "$first" "$work/input.tif" 16 png tiff-input >>"$work/results/cases.txt"
fi
while read -r verdict rest; do
  if [ "$verdict" = PASS ]; then pass; else fail "$rest"; fi
done <"$work/results/cases.txt"
echo "cases: $(wc -l <"$work/results/cases.txt") filter runs compared"

stage "dialogs"
# Every available filter's dialog, answered with OK: its snapshot (text through FreeType, the
# preview through the plug-in) and the output must be the same files on both builds; the same
# for the about box.
dialog_case() {
  local key=$1 status
  for side in linux windows; do
    local program=("$linux/ravo")
    [ "$side" = windows ] && program=("$wine" "$dist/ravo.exe")
    status=0
    "${program[@]}" dialog "$key" samples/chelsea.png "$work/$side/dialog-$key.png" \
      --snapshot "$work/$side/snapshot-$key.png" >/dev/null 2>"$work/$side/dialog-$key.err" || status=$?
    # A silent exit 1 is Wine failing to start the process: once more.
    if [ "$status" = 1 ] && [ ! -s "$work/$side/dialog-$key.err" ]; then
      status=0
      "${program[@]}" dialog "$key" samples/chelsea.png "$work/$side/dialog-$key.png" \
        --snapshot "$work/$side/snapshot-$key.png" >/dev/null 2>"$work/$side/dialog-$key.err" || status=$?
    fi
    [ "$status" = 0 ] || { echo "FAIL dialog $key on $side: exit $status $(tr -d '\r' <"$work/$side/dialog-$key.err")"; return; }
  done
  if cmp -s "$work/linux/snapshot-$key.png" "$work/windows/snapshot-$key.png" &&
     cmp -s "$work/linux/dialog-$key.png" "$work/windows/dialog-$key.png"; then
    echo "PASS dialog $key"
  else
    echo "FAIL dialog $key: the snapshots or outputs differ"
  fi
}
export -f dialog_case
echo $available | tr ' ' '\n' | xargs -P "$jobs" -L 1 bash -c 'dialog_case "$@"' _ >"$work/results/dialogs.txt"
"$linux/ravo" about --snapshot "$work/linux/about.png" >/dev/null 2>&1 || true
"$wine" "$dist/ravo.exe" about --snapshot "$work/windows/about.png" >/dev/null 2>&1 || true
if [ -s "$work/linux/about.png" ] && cmp -s "$work/linux/about.png" "$work/windows/about.png"; then
  echo "PASS about" >>"$work/results/dialogs.txt"
else
  echo "FAIL about: the snapshots differ or are missing" >>"$work/results/dialogs.txt"
fi
while read -r verdict rest; do
  if [ "$verdict" = PASS ]; then pass; else fail "$rest"; fi
done <"$work/results/dialogs.txt"

stage "the plug-in's own dialog"
scripts/windows/native-dialog.sh "$dist" "$work/native-dialog" --screenshot "$work/native-dialog.png" $available \
  >"$work/results/native-dialog.txt"
while read -r verdict rest; do
  if [ "$verdict" = PASS ]; then pass; else fail "$rest"; fi
done <"$work/results/native-dialog.txt"

stage "done"
echo "windows: $passed passed, $failed failed"
[ "$failed" = 0 ]
