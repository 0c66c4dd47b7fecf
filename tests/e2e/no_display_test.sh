#!/bin/sh
# The built program without any display: a clear message and status 1, while --help and
# --version still answer. Usage: no_display_test.sh <zel-kav> <scratch folder>
program=$1
scratch=$2
mkdir -p "$scratch" && cd "$scratch" || exit 1
failed=0

expect() { # <status wanted> <text wanted in the output> <command...>
    wanted_status=$1 wanted_text=$2
    shift 2
    "$@" >out.txt 2>&1
    status=$?
    if [ "$status" != "$wanted_status" ] || ! grep -qF -- "$wanted_text" out.txt; then
        echo "FAIL: $* gave status $status (wanted $wanted_status), said:"
        head -c 2000 out.txt
        failed=1
    fi
}

no_display="env -u QT_QPA_PLATFORM DISPLAY= WAYLAND_DISPLAY="
expect 1 "needs a graphical display (X11 or Wayland)" $no_display "$program"
expect 1 "xvfb-run" $no_display "$program" --maintain
expect 0 "--maintain" $no_display "$program" --help
expect 0 "zel-kav " $no_display "$program" --version
# A display that is named but cannot be reached.
expect 1 "none could be opened" env -u QT_QPA_PLATFORM DISPLAY=:4711 WAYLAND_DISPLAY= "$program"
exit $failed
