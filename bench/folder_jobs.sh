#!/usr/bin/env bash
# A folder of pictures through `ravo apply ... --out` at -j 1 and -j 2, against the
# same files run one `ravo apply FILTER INPUT OUTPUT` at a time. Figures are ratios of
# times measured in this one run: the machine is shared, and only ratios compare.
#
#   bench/folder_jobs.sh [BUILD_DIR]        (default: build)
#
# RAVO_BENCH_FILES (20), RAVO_BENCH_SIZE (WIDTHxHEIGHT, 3000x2000), RAVO_BENCH_DEPTH (8 or 16)
# and RAVO_BENCH_FILTER (Defocus) change the folder and the filter. The pictures are
# written by python3's zlib as plain PNG files, each with its own pattern.
set -euo pipefail

folder_jobs_bench() {
    local build=$1 files=${RAVO_BENCH_FILES:-20} size=${RAVO_BENCH_SIZE:-3000x2000}
    local depth=${RAVO_BENCH_DEPTH:-8} filter=${RAVO_BENCH_FILTER:-Defocus}
    local ravo
    ravo=$(cd "$build" && pwd)/ravo
    local work
    work=$(mktemp -d)
    trap 'rm -rf "$work"' RETURN
    mkdir -p "$work/in" "$work/single" "$work/j1" "$work/j2"

    python3 - "$work/in" "$files" "$size" "$depth" <<'PY'
import array, random, struct, sys, zlib
folder, files, size, depth = sys.argv[1], int(sys.argv[2]), sys.argv[3], int(sys.argv[4])
width, height = map(int, size.split("x"))
def chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
for n in range(files):
    # 64 rows of gradients with a little noise, repeated down the picture in bands.
    noise = random.Random(n)
    bands = []
    for k in range(64):
        values = [(x * (c + 1) // 4 + k * 3 + n * 11 + noise.randrange(8)) % 256
                  for x in range(width) for c in range(3)]
        if depth == 8:
            bands.append(b"\0" + bytes(values))
        else:
            samples = array.array("H", (v * 256 + noise.randrange(256) for v in values))
            if sys.byteorder == "little":
                samples.byteswap()
            bands.append(b"\0" + samples.tobytes())
    pixels = b"".join(bands[(y // 16 + n) % 64] for y in range(height))
    header = struct.pack(">IIBBBBB", width, height, depth, 2, 0, 0, 0)
    with open(f"{folder}/picture-{n:03}.png", "wb") as out:
        out.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(pixels, 1))
                  + chunk(b"IEND", b""))
PY

    # Seconds since $1 (a date +%s.%N).
    since() { awk -v start="$1" -v now="$(date +%s.%N)" 'BEGIN { printf "%.3f", now - start }'; }
    local start single j1 j2
    start=$(date +%s.%N)
    for input in "$work"/in/*.png; do "$ravo" apply "$filter" "$input" "$work/single/$(basename "$input")"; done
    single=$(since "$start")
    start=$(date +%s.%N)
    "$ravo" apply "$filter" "$work"/in/*.png --out "$work/j1" -j 1 --quiet
    j1=$(since "$start")
    start=$(date +%s.%N)
    "$ravo" apply "$filter" "$work"/in/*.png --out "$work/j2" -j 2 --quiet
    j2=$(since "$start")
    cmp -s <(cat "$work"/single/*) <(cat "$work"/j2/*) || { echo "the -j 2 outputs differ from the single runs'" >&2; return 1; }

    echo "$files pictures of $size at $depth bits, $filter, PNG in and out:"
    awk -v single="$single" -v j1="$j1" -v j2="$j2" 'BEGIN {
        printf "  one ravo apply per file: %7.2f s  (1.00)\n", single
        printf "  --out -j 1:              %7.2f s  (%.2f of the single runs)\n", j1, j1 / single
        printf "  --out -j 2:              %7.2f s  (%.2f of the single runs, %.2f of -j 1)\n", j2, j2 / single, j2 / j1
    }' 
}

if [[ "${BASH_SOURCE[0]}" == "$0" ]]; then
    cd "$(dirname "$0")/.."
    folder_jobs_bench "${1:-build}"
fi
