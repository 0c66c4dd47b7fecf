#!/usr/bin/env bash
# Time from starting the program to its window being mapped, on an empty directory and on the
# largest one (32,757 entries, every text filled), in one run of a real X server (Xvfb). The
# map is caught as an X event (xev, from x11-utils), so nothing polls while the program starts.
# Usage: bench/start_time.sh [BUILD_FOLDER] [RUNS]    (RUNS of each, after one warm-up each)
set -euo pipefail
case "${1:-}" in -h|--help) sed -n '2,/^set -euo/p' "$0" | sed '$d' | sed 's/^# \{0,1\}//'; exit 0 ;; esac
build=$(readlink -f "${1:-build}")
runs=${2:-7}
prog=$build/window/zel-kav
generator=$build/bench/generate_directory

for tool in Xvfb xvfb-run xev xprop stdbuf; do
    command -v "$tool" >/dev/null || { echo "start_time.sh needs $tool (xvfb, x11-utils)"; exit 2; }
done
[ -x "$prog" ] && [ -x "$generator" ] || { echo "build zel-kav and generate_directory first"; exit 2; }

if [ -z "${START_TIME_IN_XVFB:-}" ]; then
    export START_TIME_IN_XVFB=1
    exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$build" "$runs"
fi
unset QT_QPA_PLATFORM
export LC_ALL=C.UTF-8

work=$(mktemp -d)
xev_pid=""
cleanup() {
    [ -n "$xev_pid" ] && kill "$xev_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

mkdir "$work/empty" "$work/largest"
"$generator" 0 "$work/empty"
"$generator" 32757 "$work/largest"
title="$(printf '%37s' '')ZEL-KAV Directory of Ore Mineralogists"

mkfifo "$work/events"
stdbuf -oL xev -root -event substructure >"$work/events" &
xev_pid=$!
exec 3<"$work/events"

# Starts the program in folder $1, waits for its window to be mapped and prints the
# milliseconds that took.
start_once() {
    local started ended line window pid
    cd "$1"
    started=$EPOCHREALTIME
    "$prog" 2>/dev/null &
    pid=$!
    cd - >/dev/null
    while IFS= read -r -t 20 line <&3; do
        if [[ $line == MapNotify* ]]; then
            ended=$EPOCHREALTIME
            IFS= read -r -t 5 line <&3
            window=${line#*window }
            window=${window%%,*}
            break
        fi
    done
    if [ -z "${ended:-}" ] || ! xprop -id "$window" WM_NAME | grep -qF "\"$title\""; then
        echo "no window \"$title\" was mapped" >&2
        kill "$pid" 2>/dev/null
        exit 1
    fi
    kill "$pid"
    wait "$pid" 2>/dev/null || true
    awk -v a="$started" -v b="$ended" 'BEGIN { printf "%.1f\n", (b - a) * 1000 }'
}

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

start_once "$work/empty" >/dev/null
start_once "$work/largest" >/dev/null
for kind in empty largest; do : >"$work/$kind.ms"; done
# Alternately, so that a change of the machine's load falls on both alike.
for _ in $(seq "$runs"); do
    start_once "$work/empty" >>"$work/empty.ms"
    start_once "$work/largest" >>"$work/largest.ms"
done
empty=$(median <"$work/empty.ms")
largest=$(median <"$work/largest.ms")
echo "empty directory: $(tr '\n' ' ' <"$work/empty.ms")ms, median $empty ms"
echo "32,757 entries:  $(tr '\n' ' ' <"$work/largest.ms")ms, median $largest ms"
awk -v e="$empty" -v l="$largest" 'BEGIN { printf "ratio: %.2f\n", l / e }'
