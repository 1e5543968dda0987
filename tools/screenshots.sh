#!/usr/bin/env bash
# Rebuilds the pictures in docs/ from the program itself, on a virtual X
# display: `make screenshots`.
set -euo pipefail
build=${1:-build}
cd "$(dirname "$0")/.."
cmake --build "$build" --target springlab_screenshots >/dev/null
xvfb-run -a -s "-screen 0 1280x1024x24 -dpi 96" "$build/tools/springlab_screenshots" docs
