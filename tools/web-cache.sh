#!/usr/bin/env bash
# Makes the emscripten cache folder of the web build (EM_CACHE), which must
# be writable, so it lives in the build folder. Debian's emscripten ships
# its system libraries prebuilt in a read-only cache marked frozen; the new
# cache links to them instead of building them again.
set -euo pipefail
cache="$1"
mkdir -p "$cache"
root="$(em-config EMSCRIPTEN_ROOT 2>/dev/null || echo /usr/share/emscripten)"
shipped="$root/cache"
if [ -d "$shipped/sysroot" ] && [ ! -e "$cache/sysroot" ]; then
    ln -s "$shipped/sysroot" "$cache/sysroot"
    cp "$shipped/sysroot_install.stamp" "$cache/" 2>/dev/null || true
fi
