#!/usr/bin/env bash
# Installs the Debian/Ubuntu packages that building and testing need, and
# only those that are missing. Uses sudo when not run as root.
set -euo pipefail

# xvfb, xauth and x11-utils let the tests start the program on a virtual X
# display and read its windows' names there; node-typescript checks the
# browser API's types.
packages=(cmake make g++ pkg-config qt6-base-dev qt6-multimedia-dev qt6-tools-dev qt6-l10n-tools qt6-translations-l10n
          libgl-dev fonts-noto-cjk
          qt6-charts-dev libqt6opengl6-dev qt6-svg-dev
          libgtest-dev libgmock-dev libbenchmark-dev libfast-float-dev libfmt-dev
          python3 dpkg-dev file desktop-file-utils appstream xvfb xauth x11-utils node-typescript "$@")

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

if ! command -v apt-get >/dev/null 2>&1; then
    echo "install-deps: apt-get not found; please install: ${missing[*]}" >&2
    exit 1
fi
sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi
echo "install-deps: installing ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
