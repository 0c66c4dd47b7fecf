#!/usr/bin/env bash
# Peak memory (maximum resident set, /usr/bin/time -v) of the program on an empty directory and
# on the largest one (32,757 entries, every text filled), in a real X server (Xvfb): start, then
# every look-up as a user clicks it (labels 0 to 13, the first kind of each two-step look-up, an
# entry). The empty directory gives the fixed cost; the rest is set against the file's size.
# Usage: bench/peak_memory.sh [BUILD_FOLDER]
set -euo pipefail
case "${1:-}" in -h|--help) sed -n '2,/^set -euo/p' "$0" | sed '$d' | sed 's/^# \{0,1\}//'; exit 0 ;; esac
build=$(readlink -f "${1:-build}")
prog=$build/window/zel-kav
generator=$build/bench/generate_directory

for tool in xvfb-run xdotool; do
    command -v "$tool" >/dev/null || { echo "peak_memory.sh needs $tool"; exit 2; }
done
[ -x /usr/bin/time ] || { echo "peak_memory.sh needs /usr/bin/time (package time)"; exit 2; }
[ -x "$prog" ] && [ -x "$generator" ] || { echo "build zel-kav and generate_directory first"; exit 2; }

if [ -z "${PEAK_MEMORY_IN_XVFB:-}" ]; then
    export PEAK_MEMORY_IN_XVFB=1
    exec xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" "$0" "$build"
fi
unset QT_QPA_PLATFORM
export LC_ALL=C.UTF-8

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/empty" "$work/largest"
"$generator" 0 "$work/empty"
"$generator" 32757 "$work/largest"
title="^ {37}ZEL-KAV Directory of Ore Mineralogists\$"

# The centre of each caption label, in twips (15 twips a pixel), as the window lays them out.
labels=("45 45 465 195" "45 315 1140 195" "45 585 1140 195" "45 855 1140 420"
        "45 1440 1140 195" "4365 1440 915 195" "45 1665 1140 195" "45 1890 1140 195"
        "3690 1890 375 195" "45 2115 1050 195" "45 2340 825 195" "0 2700 1095 195"
        "0 3195 1230 465" "45 3825 915 420")
click() { # window x-twips y-twips
    xdotool mousemove --window "$1" $(($2 / 15)) $(($3 / 15)) click 1
    sleep 0.3
}

# Prints the largest resident set, in KiB, of a run in folder $1.
peak_kib() {
    local timer window program
    cd "$1"
    /usr/bin/time -f %M -o "$work/peak" "$prog" 2>/dev/null &
    timer=$!
    cd - >/dev/null
    window=$(timeout 20 xdotool search --sync --onlyvisible --name "$title" | head -n 1)
    for label in "${labels[@]}"; do
        read -r left top width height <<<"$label"
        click "$window" $((left + width / 2)) $((top + height / 2))
    done
    click "$window" 7950 135                  # the first kind of equipment
    click "$window" 7950 4245                 # the first entry of the lower box
    click "$window" 547 2797                  # "Organization"
    click "$window" 7950 135                  # its first kind
    program=$(pgrep -P "$timer")
    kill "$program"
    wait "$timer" 2>/dev/null || true
    tail -n 1 "$work/peak"
}

empty=$(peak_kib "$work/empty")
largest=$(peak_kib "$work/largest")
file=$(stat -c %s "$work/largest/KAV-Addresses.dat")
awk -v e="$empty" -v l="$largest" -v f="$file" 'BEGIN {
    printf "empty directory: %.1f MiB; file %.1f MiB\n", e / 1024, f / 1048576
    printf "32,757 entries: %.1f MiB, above the fixed cost %.1f MiB = %.2f times the file\n",
           l / 1024, (l - e) / 1024, (l - e) * 1024 / f
}'
