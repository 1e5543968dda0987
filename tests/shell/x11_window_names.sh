#!/usr/bin/env bash
# Runs inside a virtual X display (xvfb-run): starts the program with every
# simulation window open, waits until the launcher and the four windows are
# mapped, prints the name the X server holds for each mapped top-level
# window (its _NET_WM_NAME, one a line), then ends the program the way a
# logout does and fails unless it closes cleanly.
#   x11_window_names.sh SPRINGLAB
set -uo pipefail
export LC_ALL=C.UTF-8
program=$1

"$program" --open rotation --open vibration --open two-balls --open rubber-cord 2>"${TMPDIR:-/tmp}/x11_names.$$" &
pid=$!

mapped_names() {
    local id
    for id in $(xwininfo -root -children | awk '$1 ~ /^0x/ {print $1}'); do
        xwininfo -id "$id" | grep -q 'Map State: IsViewable' || continue
        xprop -id "$id" -notype _NET_WM_NAME 2>/dev/null \
            | sed -n 's/^_NET_WM_NAME = "\(.*\)"$/\1/p'
    done
}

# Up to a minute for a start on a busy machine; usually it takes a second.
names=""
for _ in $(seq 600); do
    kill -0 "$pid" 2>/dev/null || break
    names=$(mapped_names)
    [ "$(grep -c . <<<"$names")" -ge 5 ] && break
    sleep 0.1
done
printf '%s\n' "$names"

kill -TERM "$pid" 2>/dev/null
wait "$pid"
status=$?
cat "${TMPDIR:-/tmp}/x11_names.$$" >&2
rm -f "${TMPDIR:-/tmp}/x11_names.$$"
[ "$status" -eq 0 ] || { echo "x11_window_names: the program ended with status $status" >&2; exit 1; }
