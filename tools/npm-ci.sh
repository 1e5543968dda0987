#!/usr/bin/env bash
# Installs the npm packages a folder's package-lock.json pins (npm ci), only
# when they are missing or the lock changed since the last install.
set -euo pipefail
dir=$1
stamp=$dir/node_modules/.springlab-lock
if [ -f "$stamp" ] && cmp -s "$stamp" "$dir/package-lock.json"; then
    exit 0
fi
(cd "$dir" && npm ci --no-audit --no-fund --loglevel=error)
cp "$dir/package-lock.json" "$stamp"
