#!/usr/bin/env bash
# The rubber cord's tick on the longest cord (32767 nodes), once natively
# (the fast path the processor allows) and once in node (WebAssembly with
# SIMD), one run each on the same machine; docs/performance.md keeps the
# figures. Both must end with the same cord.
set -euo pipefail
build="${1:-build}"
ticks="${TICKS:-200}"
native=$("$build/bench/chain_timing/springlab_chain_timing" "$ticks")
node=$(node "$build/web/springlab-chain-timing.mjs" "$ticks")
echo "processor: $(lscpu | sed -n 's/^Model name: *//p' | head -n 1)"
echo "native: $native"
echo "node:   $node"
sum() { sed -n 's/.*cord sum \([0-9a-f]*\).*/\1/p' <<<"$1"; }
us() { sed -n 's/.*: \([0-9]*\) us per tick.*/\1/p' <<<"$1"; }
if [ "$(sum "$native")" != "$(sum "$node")" ]; then
    echo "node_vs_native: the two builds ended with different cords" >&2
    exit 1
fi
awk -v n="$(us "$node")" -v d="$(us "$native")" 'BEGIN { printf "node / native: %.2f\n", n / d }'
