#!/usr/bin/env bash
# Remakes docs/window.png: the real program on the sample directory in a virtual X server.
#   docs/make_screenshot.sh [build folder]     (after `make run` or `make test` has built it)
# Needs xvfb-run, xdotool and imagemagick (`make deps` installs them).
set -euo pipefail
case "${1:-}" in -h|--help) sed -n '2,/^set -euo/p' "$0" | sed '$d' | sed 's/^# \{0,1\}//'; exit 0 ;; esac
here="$(cd "$(dirname "$0")" && pwd)"
program="$(cd "$here/.." && pwd)/${1:-build}/window/zel-kav"
[ -x "$program" ] || { echo "no program at $program: run 'make run' or 'make test' first" >&2; exit 1; }
home="$(mktemp -d)"
trap 'rm -rf "$home"' EXIT
export HOME="$home" LANG=C.UTF-8
xvfb-run -a -s "-screen 0 800x600x24" bash -c '
    cd "$1/../sample" && "$2" 2>/dev/null & pid=$!
    window=$(timeout 30 xdotool search --sync --onlyvisible --name "ZEL-KAV Directory of Ore Mineralogists" | head -1)
    sleep 1
    # The first surname of the lower box, so that the picture shows an entry.
    xdotool mousemove --window "$window" 470 284 click 1
    sleep 1
    import -window "$window" "$1/window.png"
    kill "$pid"; wait "$pid" 2>/dev/null || true
' _ "$here" "$program"
echo "wrote $here/window.png"
