#!/usr/bin/env bash
# Times `ravo apply` end to end on 6000 x 4000 pictures at 8 and 16 bits, PNG, TIFF and JPEG in
# and out, and splits each run into decode, render and encode:
#   full    ravo apply Defocus IN OUT               the defaults
#   idle    the same with --set view=Original       the render does nothing; the output is then
#                                                   the grainy input, slower to compress than
#                                                   the blurred output of the full run
#   decode  the same with --rect 0,0,0,0            stops with a usage error right after reading
#   encode  OUT through the idle filter, less OUT's own decode: writing what the full run wrote,
#           with the host's passes over the picture (tiles in and out), which an idle filter
#           costs too
#   render = full - decode - encode
# Each time is the least of RUNS runs (2 unless set). JPEG holds 8 bits: at 16 bits it is read
# with --depth 16, so that the filter works on a 16-bit picture. Shares are of the full run. Peak memory is the largest resident size of the full run, as a
# multiple of the picture's bytes in memory (6000 x 4000 x 3 x 1 or 2).
#
#   bench/cli_end_to_end.sh [RAVO] [BEFORE]
#   FORMATS="tif" DEPTHS=16 bench/cli_end_to_end.sh ...     only those rows (default: png tif jpg, 8 16)
#
# RAVO is the command to measure (build/ravo); BEFORE, when given, is another build of it
# measured the same way in the same run for comparison, with this build's plug-in.
# The pictures are made here: smooth gradients written as a PNG, then given film grain by
# ravo itself, so that they compress like photographs. Work files go to a temporary folder.
# The machine is shared: compare rows of one run, not figures of different runs.
set -euo pipefail
cd "$(dirname "$0")/.."
ravo=$(realpath "${1:-build/ravo}")
before=${2:+$(realpath "$2")}
export RAVO_PLUGIN=${RAVO_PLUGIN:-$(dirname "$ravo")/Ravo.so}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
width=6000 height=4000

# A smooth 8-bit RGB gradient, written with Python's own zlib (no imaging library needed).
python3 - "$work/gradient.png" "$width" "$height" <<'EOF'
import struct, sys, zlib
path, width, height = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
base = bytes(v for x in range(width) for v in (x * 255 // width, (x * 7 // 50) % 256, 255 - x * 200 // width))
rows = []
for y in range(height):
    shift = y * 160 // height
    table = bytes(min(255, v + shift) for v in range(256))
    rows.append(b"\0" + base.translate(table))
def chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
with open(path, "wb") as f:
    f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)))
    f.write(chunk(b"IDAT", zlib.compress(b"".join(rows), 1)) + chunk(b"IEND", b""))
EOF

formats=${FORMATS:-png tif jpg} depths=${DEPTHS:-8 16}
for depth in $depths; do
  "$ravo" apply Grain "$work/gradient.png" "$work/in$depth.png" --depth "$depth" >/dev/null
  for format in $formats; do
    [ "$format" = png ] && continue
    "$ravo" apply Defocus "$work/in$depth.png" "$work/in$depth.$format" --set view=Original >/dev/null
  done
done

# The least seconds of RUNS runs of one command, whatever its exit status, and its largest
# resident kilobytes.
measure() {
  python3 - "${RUNS:-2}" "$@" <<'EOF'
import resource, subprocess, sys, time
times = []
for _ in range(int(sys.argv[1])):
    start = time.perf_counter()
    subprocess.run(sys.argv[2:], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    times.append(time.perf_counter() - start)
print("%.2f %d" % (min(times), resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss))
EOF
}

# One line of the table: the build, the depth, the format in and out.
row() {
  local program=$1 label=$2 depth=$3 format=$4
  local in="$work/in$depth.$format" out="$work/out.$format" again="$work/again.$format" depthOption=()
  [ "$format" = jpg ] && [ "$depth" = 16 ] && depthOption=(--depth 16)
  local apply=("$program" apply Defocus "${depthOption[@]}")
  read -r full peak < <(measure "${apply[@]}" "$in" "$out")
  read -r idle _ < <(measure "${apply[@]}" "$in" "$again" --set view=Original)
  read -r decode _ < <(measure "${apply[@]}" "$in" "$again" --rect 0,0,0,0)
  read -r rewrite _ < <(measure "${apply[@]}" "$out" "$again" --set view=Original)
  read -r reread _ < <(measure "${apply[@]}" "$out" "$again" --rect 0,0,0,0)
  python3 - "$label" "$depth" "$format" "$full" "$idle" "$decode" "$rewrite" "$reread" "$peak" \
    "$((width * height * 3 * depth / 8))" <<'EOF'
import sys
label, depth, fmt = sys.argv[1:4]
full, idle, decode, rewrite, reread = map(float, sys.argv[4:9])
peak, picture = int(sys.argv[9]) * 1024, int(sys.argv[10])
encode = max(rewrite - reread, 0)
render = max(full - decode - encode, 0)
share = lambda t: "%3.0f%%" % (100 * t / full) if full else "-"
print("%-6s %5s  %-4s %6.2f %6.2f  %6.2f %s  %6.2f %s  %6.2f %s  %5.2fx" %
      (label, depth, fmt, full, idle, decode, share(decode), render, share(render), encode, share(encode),
       peak / picture))
EOF
}

echo "6000 x 4000, Defocus at its defaults; seconds, share of the full run, peak memory / picture bytes"
echo "build  depth  file   full   idle  decode         render         encode         memory"
for depth in $depths; do
  for format in $formats; do
    [ -n "$before" ] && row "$before" before "$depth" "$format"
    row "$ravo" after "$depth" "$format"
  done
done

# Folders: a folder of 20 of these pictures through `ravo apply` at -j 1 and at -j 2 belongs
# here, timed the same way, once the command takes whole folders.
