#!/usr/bin/env bash
# Starts the built program in a real X server and uses it as a user would: clicks at the
# places the window's layout gives the controls, then reads the correction file it wrote.
# Also starts it on a missing and on a malformed data file. Every wait is bounded.
# Usage: real_window_test.sh PROGRAM ARTEFACT_FOLDER
set -euo pipefail
prog=$(readlink -f "$1")
artefacts=$(readlink -f "$2")

# -noreset: the server would otherwise reset whenever its last client leaves, between two
# starts of the program, and refuse the next one's connection while it does.
if [ -z "${E2E_IN_XVFB:-}" ]; then
    export E2E_IN_XVFB=1
    exec timeout -k 5 170 xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" "$0" "$@"
fi
unset QT_QPA_PLATFORM QT_SCALE_FACTOR
export LC_ALL=C.UTF-8

work=$(mktemp -d)
pids=()
cleanup() {
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT

failures=0
main_title="$(printf '%37s' '')ZEL-KAV Directory of Ore Mineralogists"
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# A window's client point in pixels from a control's place in twips (15 twips a pixel).
twips() { echo $(($1 / 15)); }

# Waits up to $2 seconds for a visible window of process $1; prints its id.
wait_window() {
    local pid=$1 seconds=$2 w=""
    for _ in $(seq $((seconds * 10))); do
        w=$(xdotool search --onlyvisible --pid "$pid" 2>/dev/null | head -n 1 || true)
        [ -n "$w" ] && { echo "$w"; return 0; }
        kill -0 "$pid" 2>/dev/null || return 1
        sleep 0.1
    done
    return 1
}

# Waits up to $2 seconds for process $1 to end; prints its exit status.
wait_exit() {
    local pid=$1 seconds=$2
    for _ in $(seq $((seconds * 10))); do
        if ! kill -0 "$pid" 2>/dev/null; then
            wait "$pid" && echo 0 || echo $?
            return 0
        fi
        sleep 0.1
    done
    return 1
}

click() { # window x-twips y-twips
    xdotool mousemove --window "$1" "$(twips "$2")" "$(twips "$3")" click 1
    sleep 0.4
}

double_click() { # window x-twips y-twips
    xdotool mousemove --window "$1" "$(twips "$2")" "$(twips "$3")" click --repeat 2 --delay 100 1
    sleep 0.4
}

drag() { # window x-twips from-y-twips to-y-twips: press on one place, release on another
    xdotool mousemove --window "$1" "$(twips "$2")" "$(twips "$3")" mousedown 1
    sleep 0.2
    xdotool mousemove --window "$1" "$(twips "$2")" "$(twips $((($3 + $4) / 2)))"
    sleep 0.1
    xdotool mousemove --window "$1" "$(twips "$2")" "$(twips "$4")"
    sleep 0.2
    xdotool mouseup 1
    sleep 0.4
}

# One entry of the data file: 41 numbers after the date, then 22 texts, each item followed by
# a comma. Arguments: date salutation "titles organisations equipment" then the 22 texts.
entry() {
    local date=$1 sal=$2 numbers=$3
    shift 3
    printf '%s,%s,' "$date" "$sal"
    printf '%s,' $numbers
    for t in "$@"; do printf '"%s",' "$t"; done
}
zeros() { printf '0 %.0s' $(seq "$1"); }

mkdir -p "$work/run" "$work/home"
{
    printf '3\r\n#2026-11-30#\r\n'
    entry '#2003-05-12#' 1 "0 1  1 0 0 0 0 0  $(zeros 9) 1 1 $(zeros 19) 1" \
        "" "Sample" "Anna" "" "Graz" "8010" "Austria" "+43 316 1" "" "anna@example.org" \
        "Lecturer" "" "" "" "" "" "" "" "" "" "" ""
    entry '#2004-01-02#' 0 "1 0  0 1 0 0 0 0  $(zeros 31)" \
        "" "Berger" "Tomas" "" "Oslo" "0150" "Norway" "+47 22 1" "" "tb@example.org" \
        "Curator" "" "" "" "" "" "" "" "" "" "" ""
    entry '#2005-03-04#' 2 "0 0  0 0 0 0 1 0  1 $(zeros 29) 2" \
        "" "Castell" "Ines" "" "Lima" "15001" "Peru" "+51 1 2" "" "ic@example.org" \
        "Geologist" "Ore deposits" "" "" "" "" "" "" "" "" "Likes maps" ""
} >"$work/run/KAV-Addresses.dat"

echo "== the window on a small directory"
(cd "$work/run" && HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" exec "$prog") &
pid=$!
pids+=("$pid")
if ! win=$(wait_window "$pid" 20); then
    fail "the window did not appear within 20 s"
else
    name=$(xdotool getwindowname "$win")
    [ "$name" = "$main_title" ] || fail "window title is '$name'"
    found=$(xdotool search --name "^ {37}ZEL-KAV Directory of Ore Mineralogists\$" | head -n 1 || true)
    [ -n "$found" ] || fail "no window found by its title"
    sleep 1
    import -window root "$artefacts/e2e-window-start.png" || true

    click "$win" 600 400          # "Surname": closes the surname look-up opened at start
    double_click "$win" 600 400   # a double click opens it again, as one click would
    # In the lower box (Berger, Castell, Sample): press on Castell, release on Berger.
    drag "$win" 7950 4455 4245
    click "$win" 570 4890         # "Correction        File"
    dragged="$work/home/Desktop/Berger_KAV.TXT"
    for _ in $(seq 50); do [ -s "$dragged" ] && break; sleep 0.1; done
    [ -f "$dragged" ] || fail "after the drag, no correction file for Berger; desktop holds: $(ls -A "$work/home/Desktop" 2>/dev/null)"
    click "$win" 6240 435         # ">": entry 3, Castell
    click "$win" 570 4890         # "Correction        File"
    import -window root "$artefacts/e2e-window.png" || true

    file="$work/home/Desktop/Castell_KAV.TXT"
    for _ in $(seq 50); do [ -s "$file" ] && break; sleep 0.1; done
    if [ ! -f "$file" ]; then
        fail "no correction file on the desktop; desktop holds: $(ls -A "$work/home/Desktop" 2>/dev/null)"
    else
        cp "$file" "$artefacts/e2e-correction.txt"
        mapfile -t lines < <(sed 's/\r$//' "$file")
        expect() { # line-number text
            [ "${lines[$(($1 - 1))]-}" = "$2" ] || fail "line $1 is '${lines[$(($1 - 1))]-}', expected '$2'"
        }
        expect 1 "Mr:  no"
        expect 3 "Ms:  yes"
        expect 6 "  Prof.:  no"
        expect 8 "  Other:  ..."
        expect 10 "Surname:  Castell"
        expect 11 "First Name (s):  Ines"
        expect 13 "Mailing Address:  "
        expect 14 "..."
        expect 16 "City:  Lima"
        expect 18 "Country:  Peru"
        expect 24 "Position:  Geologist"
        expect 31 "  Company:  yes"
        expect 36 "  A:  Ore deposits"
        expect 44 "  Sample Prep.Lab.:  yes"
        expect 69 "  :  no"
        expect 78 "  some:  yes"
        expect 81 "Likes maps"
        [ "${#lines[@]}" -eq 81 ] || fail "the file has ${#lines[@]} lines, expected 81"
        crlf=$(grep -c $'\r$' "$file" || true)
        [ "$crlf" -eq 81 ] || fail "$crlf of 81 lines end in CR LF"
    fi

    # One find from the keyboard: Ctrl+F, part of Sample's e-mail address, Ctrl+Return finds
    # it in every text; Return shows the entry found, whose correction file then follows.
    xdotool key ctrl+f && sleep 0.3
    xdotool type --delay 20 "ANNA@exam" && sleep 0.3
    xdotool key ctrl+Return && sleep 0.5
    import -window root "$artefacts/e2e-find.png" || true
    xdotool key Return && sleep 0.4
    click "$win" 570 4890         # "Correction        File"
    found="$work/home/Desktop/Sample_KAV.TXT"
    for _ in $(seq 50); do [ -s "$found" ] && break; sleep 0.1; done
    grep -q '^First Name (s):  Anna' "$found" 2>/dev/null ||
        fail "the find did not show Sample; desktop holds: $(ls -A "$work/home/Desktop" 2>/dev/null)"
    kill "$pid" 2>/dev/null || true
    wait_exit "$pid" 10 >/dev/null || fail "the program did not end when killed"
fi

# The compiler's round in maintenance mode: Import a batch of two files through the file
# dialog (a corrected file of Castell's and its second copy as a mail program names it), the
# first reviewed and stored with Return, the copy then unchanged, the summary answered, then
# EXIT; the saved data file differs from the old one by exactly the change.
echo "== maintenance: a batch of two files, Store each, EXIT"
correction="$work/home/Desktop/Castell_KAV.TXT"

# Waits up to 10 s for a visible window of process $1 other than $2; prints its id.
wait_dialog() {
    local found=""
    for _ in $(seq 100); do
        found=$(xdotool search --onlyvisible --pid "$1" 2>/dev/null | grep -vx "$2" | head -n 1 || true)
        [ -n "$found" ] && { echo "$found"; return 0; }
        sleep 0.1
    done
    return 1
}

# Answers the next dialog of process $1 (main window $2) with Return, after a screenshot
# named $4; $3 says what the dialog is, for a failure.
answer_dialog() {
    if ! wait_dialog "$1" "$2" >/dev/null; then
        fail "maintenance: no $3"
        return 1
    fi
    sleep 0.5
    import -window root "$artefacts/e2e-$4.png" || true
    xdotool key Return || true
    sleep 0.6
}

if [ -f "$correction" ]; then
    sed -i 's/^Telephone:  +51 1 2\r$/Telephone:  +51 999 0\r/' "$correction"
    cp "$correction" "$work/home/Desktop/Castell_KAV-1.txt"
    today=$(date +%Y-%m-%d)
    expected="$work/expected.dat"
    sed -e "s/^#2026-11-30#/#$today#/" -e "s/#2005-03-04#/#$today#/" -e 's/"+51 1 2"/"+51 999 0"/' \
        "$work/run/KAV-Addresses.dat" >"$expected"
    (cd "$work/run" && HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" exec "$prog" --maintain) &
    pid=$!
    pids+=("$pid")
    if ! win=$(wait_window "$pid" 20); then
        fail "maintenance: the window did not appear within 20 s"
    else
        sleep 1
        click "$win" 500 6480             # Import
        if ! wait_dialog "$pid" "$win" >/dev/null; then
            fail "maintenance: Import opened no file dialog"
        else
            sleep 0.5
            import -window root "$artefacts/e2e-import-dialog.png" || true
            # The dialog opens in the desktop folder, its file name field has the focus.
            xdotool type --delay 20 '"Castell_KAV.TXT" "Castell_KAV-1.txt"' || true
            sleep 0.3
            xdotool key Return || true
            sleep 0.6
            # The first file finds Castell and is reviewed; Return stores it. The second copy
            # then changes nothing and is not reviewed. Then the summary.
            answer_dialog "$pid" "$win" "review of the first file" import-review &&
                answer_dialog "$pid" "$win" "summary of the batch" import-summary
            click "$win" 500 5970         # EXIT
            if ! status=$(wait_exit "$pid" 20); then
                fail "maintenance: EXIT did not end the program"
            else
                [ "$status" -eq 0 ] || fail "maintenance: exit status $status"
                cmp -s "$expected" "$work/run/KAV-Addresses.dat" ||
                    fail "maintenance: the saved data file differs from the expected one: $(diff <(tr ',' '\n' <"$expected") <(tr ',' '\n' <"$work/run/KAV-Addresses.dat") | head -5)"
            fi
        fi
    fi
    kill "$pid" 2>/dev/null || true
else
    fail "maintenance: no correction file to import"
fi

# On a data file that cannot be loaded the program tells why and ends with a failure status,
# without showing its window.
bad_start() { # label folder
    echo "== start on $1"
    (cd "$2" && HOME="$work/home" exec "$prog") &
    local pid=$! status
    pids+=("$pid")
    if win=$(wait_window "$pid" 20); then
        [ "$(xdotool getwindowname "$win")" != "$main_title" ] || fail "$1: the main window was shown"
        sleep 0.5
        import -window root "$artefacts/e2e-$(echo "$1" | tr ' ' '-').png" || true
        # Answer the message box as a user would: OK.
        xdotool windowfocus --sync "$win" key Return 2>/dev/null || true
    fi
    if ! status=$(wait_exit "$pid" 20); then
        fail "$1: the program did not end within 20 s"
        kill -9 "$pid" 2>/dev/null || true
        return
    fi
    [ "$status" -ne 0 ] || fail "$1: exit status 0"
}
mkdir -p "$work/missing" "$work/malformed"
printf '2\r\n#2026-11-30#\r\n#2003-05-12#,1,zero,' >"$work/malformed/KAV-Addresses.dat"
bad_start "missing file" "$work/missing"
bad_start "malformed file" "$work/malformed"

if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed; screenshots in $artefacts"
    exit 1
fi
echo "all checks passed; screenshots in $artefacts"
