#!/usr/bin/env bash
# The rubber cord's tick on the longest cord (32767 nodes), once natively
# (the fast path the processor allows) and once in node (WebAssembly with
# SIMD), one run each on the same machine; then the page's picture of that
# cord (run.raster() at 1/15 and 2/15 device pixels per twip) the same two
# ways. docs/performance.md keeps the figures. Both builds must end with
# the same cord and draw the same pixels.
set -euo pipefail
build="${1:-build}"
ticks="${TICKS:-200}"
pictures="${PICTURES:-200}"
here="$(dirname "$0")"
native=$("$build/bench/chain_timing/springlab_chain_timing" "$ticks")
node=$(node "$build/web/springlab-chain-timing.mjs" "$ticks")
echo "processor: $(lscpu | sed -n 's/^Model name: *//p' | head -n 1)"
echo "native: $native"
echo "node:   $node"
sum() { sed -n 's/.*cord sum \([0-9a-f]*\).*/\1/p' <<<"$1"; }
us() { sed -n 's/.*: \([0-9]*\) us per \(tick\|picture\).*/\1/p' <<<"$1"; }
if [ "$(sum "$native")" != "$(sum "$node")" ]; then
    echo "node_vs_native: the two builds ended with different cords" >&2
    exit 1
fi
awk -v n="$(us "$node")" -v d="$(us "$native")" 'BEGIN { printf "node / native: %.2f\n", n / d }'

native=$("$build/bench/chain_timing/springlab_raster_timing" "$pictures")
node=$(node "$here/raster_timing.mjs" "$build/web" "$pictures")
for line in 1 2; do
    n=$(sed -n "${line}p" <<<"$node")
    d=$(sed -n "${line}p" <<<"$native")
    echo "native: $d"
    echo "node:   $n"
    if [ "${n##*pixels }" != "${d##*pixels }" ]; then
        echo "node_vs_native: the module's pixels are not the native rasterizer's" >&2
        exit 1
    fi
    awk -v n="$(us "$n")" -v d="$(us "$d")" 'BEGIN { printf "node / native: %.2f\n", n / d }'
done
