#!/usr/bin/env bash
# Drives the real quillon executable from outside, the way a user would: start-up screen,
# language switch to French, three Adds through the add-profile dialog, close with confirmation.
# Usage: run_e2e.sh QUILLON_EXE GLP_ICC FIXTURE_DIR   (needs DISPLAY, xdotool, xwd, convert)
# Exit codes: 0 pass, 1 fail, 77 skipped (a tool is missing).
set -euo pipefail

readonly kSkip=77
# Generous limits: the sanitizer build is several times slower than Release.
readonly kWindowTimeout=60   # seconds for a window to appear or go away
readonly kBuildTimeout=300   # seconds for one gamut build (six colours is the slowest)
readonly kExitTimeout=60     # seconds for the process to end after the confirmation
readonly kPoll=0.05          # seconds between two looks at the screen

# Window layout, from resources/ui/*.ui (fixed minimum sizes, no window manager decorations).
readonly kAboutWidth=820 kAboutHeight=620
readonly kAddFromRight=79 kAddFromTop=60         # Add button, right column of the main window
readonly kOkFromRight=52 kOkFromTop=22           # OK button of the add-profile dialog
readonly kRowLeft=14 kRowTop=55 kRowPitch=14     # view-list rows: first text line and spacing
readonly kRowWidth=380 kRowHeight=10
readonly kMinRowInk=20                           # dark pixels that mean a row holds text
readonly kViewLeft=20 kViewTop=150               # viewport area, inside its frame
readonly kViewRightMargin=300 kViewBottomMargin=20
readonly kMinShapeShare=0.05                     # viewport share the three shapes must add

log() { echo "e2e: $*"; }

if [[ $# -ne 3 ]]; then
    echo "usage: $0 QUILLON_EXE GLP_ICC FIXTURE_DIR" >&2
    exit 2
fi
readonly exe=$1 glp=$2 fixtures=$3

for tool in xdotool xwd convert; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        log "SKIP: $tool is not installed"
        exit "$kSkip"
    fi
done

work=$(mktemp -d)
qpid=""

window_list() {
    # Every visible window of ours with its name, for failure reports.
    local w
    for w in $(xdotool search --onlyvisible --pid "$qpid" 2>/dev/null || true); do
        echo "  window $w '$(xdotool getwindowname "$w" 2>/dev/null || true)'"
    done
}

fail() {
    echo "e2e: FAIL: $*" >&2
    if [[ -n $qpid ]] && alive; then
        window_list >&2
        if [[ -n ${QUILLON_E2E_SHOT_DIR:-} ]]; then
            xwd -root -silent | convert xwd:- "$QUILLON_E2E_SHOT_DIR/e2e_failure.png" || true
            echo "e2e: screenshot in $QUILLON_E2E_SHOT_DIR/e2e_failure.png" >&2
        fi
    fi
    exit 1
}

cleanup() {
    if [[ -n $qpid ]] && kill -0 "$qpid" 2>/dev/null; then
        kill "$qpid" 2>/dev/null || true
        wait "$qpid" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT

[[ -n ${DISPLAY:-} ]] || fail "DISPLAY is not set (run under xvfb-run)"
[[ -x $exe ]] || fail "no executable at $exe"
[[ -f $glp ]] || fail "no GLP.icc at $glp"

# The application folder is the working directory: GLP.icc and, later, prefs.dat.
mkdir -p "$work/app" "$work/data/icc" "$work/empty" "$work/home"
cp "$glp" "$work/app/GLP.icc"
for f in rgb_display.icc cmyk_output.icc six_colour.icc; do
    [[ -f $fixtures/$f ]] || fail "fixture $fixtures/$f is missing"
    cp "$fixtures/$f" "$work/data/icc/"
done

# Returns 0 when "$@" succeeds within the given seconds, polling.
poll_until() {
    local limit=$1
    shift
    local end=$((SECONDS + limit))
    until "$@"; do
        ((SECONDS < end)) || return 1
        sleep "$kPoll"
    done
}

# A child that has ended stays a zombie until waited for, so kill -0 alone cannot tell.
alive() {
    local state
    state=$(ps -o stat= -p "$qpid" 2>/dev/null) || return 1
    [[ $state != Z* ]]
}
require_alive() { alive || fail "quillon ended unexpectedly ($*)"; }

# Waits for a visible window of ours whose name matches the regex; prints its id.
wait_window() {
    local regex=$1 what=$2 id end=$((SECONDS + kWindowTimeout))
    # Polled rather than one `search --sync`: that call gives up at once on an X error from
    # a window closing meanwhile (the start-up screen as the main window opens).
    while :; do
        id=$(xdotool search --all --onlyvisible --pid "$qpid" --name "$regex" 2>/dev/null | head -n 1) || true
        [[ -n $id ]] && break
        require_alive "waiting for $what"
        ((SECONDS < end)) || fail "$what did not appear within ${kWindowTimeout}s"
        sleep "$kPoll"
    done
    echo "$id"
}

is_visible() { xdotool search --onlyvisible --pid "$qpid" 2>/dev/null | grep -qx "$1"; }
is_gone() { ! is_visible "$1"; }

wait_gone() {
    poll_until "$kWindowTimeout" is_gone "$1" || fail "$2 did not close within ${kWindowTimeout}s"
}

# Sets X Y WIDTH HEIGHT of a window.
geometry() {
    local shell
    shell=$(xdotool getwindowgeometry --shell "$1") || fail "cannot read the geometry of window $1"
    eval "$shell"
}

click_at() { xdotool mousemove --sync "$1" "$2" click 1; }

focus() { timeout 5 xdotool windowfocus --sync "$1" 2>/dev/null || xdotool windowfocus "$1"; }

# Share (0..1) of pixels of a window area brighter than a threshold (dark text: negate first).
ink_share() {
    local win=$1 w=$2 h=$3 x=$4 y=$5 threshold=$6 negate=${7:-}
    xwd -id "$win" -silent |
        convert xwd:- -crop "${w}x${h}+${x}+${y}" +repage -colorspace Gray -threshold "$threshold" \
            $negate -format "%[fx:mean]" info:
}

row_has_text() {
    local win=$1 row=$2 share
    share=$(ink_share "$win" "$kRowWidth" "$kRowHeight" "$kRowLeft" $((kRowTop + kRowPitch * (row - 1))) 50% -negate) ||
        return 1
    awk -v s="$share" -v n=$((kRowWidth * kRowHeight)) -v min="$kMinRowInk" 'BEGIN { exit !(s * n >= min) }'
}

viewport_share() {
    local win=$1
    geometry "$win"
    ink_share "$win" $((WIDTH - kViewLeft - kViewRightMargin)) $((HEIGHT - kViewTop - kViewBottomMargin)) \
        "$kViewLeft" "$kViewTop" 4%
}

# Any error or warning box during the Adds ends the test with its text-free caption.
no_message_box() {
    local name
    name=$(xdotool search --all --onlyvisible --pid "$qpid" --name '^(Erreur|Avertissement|Error|Warning)$' 2>/dev/null |
        head -n 1) || true
    [[ -z $name ]]
}

start=$SECONDS
log "starting $exe in $work/app"
(
    cd "$work/app"
    exec env HOME="$work/home" XDG_DATA_HOME="$work/data" XDG_DATA_DIRS="$work/empty" "$exe"
) >"$work/quillon.log" 2>&1 &
qpid=$!

# Start-up screen in English, then the language switch: the box closes and comes back in French.
about=$(wait_window '^About Quillon$' "the start-up screen 'About Quillon'")
geometry "$about"
[[ $WIDTH -eq $kAboutWidth && $HEIGHT -eq $kAboutHeight ]] ||
    fail "start-up screen is ${WIDTH}x${HEIGHT}, expected ${kAboutWidth}x${kAboutHeight}"
[[ ! -e $work/app/prefs.dat ]] || fail "prefs.dat exists before the start-up screen was closed"
log "start-up screen up (window $about); choosing Français"
focus "$about"
# The combo holds the focus; Down moves from English to Français and activates it.
xdotool key Down
wait_gone "$about" "the English start-up screen"
aboutFr=$(wait_window '^Quillon$' "the French start-up screen 'Quillon'")
geometry "$aboutFr"
[[ $WIDTH -eq $kAboutWidth && $HEIGHT -eq $kAboutHeight ]] ||
    fail "window 'Quillon' after the switch is ${WIDTH}x${HEIGHT}, not the start-up screen"
log "French start-up screen up (window $aboutFr); closing it with Escape"
focus "$aboutFr"
xdotool key Escape
wait_gone "$aboutFr" "the French start-up screen"

main=$(wait_window '^Quillon$' "the main window 'Quillon'")
geometry "$main"
[[ ! ($WIDTH -eq $kAboutWidth && $HEIGHT -eq $kAboutHeight) ]] || fail "main window has the start-up screen's size"
log "main window up (window $main, ${WIDTH}x${HEIGHT})"

# The empty viewport shows only the axes and their labels; wait for that first frame.
has_axes() { awk -v s="$(viewport_share "$main")" 'BEGIN { exit !(s > 0) }'; }
poll_until "$kWindowTimeout" has_axes || fail "the viewport never drew its axes"
baseline=$(viewport_share "$main")
log "empty viewport: share of lit pixels $baseline"

progressSeen=0
others_than_main() { xdotool search --onlyvisible --pid "$qpid" 2>/dev/null | grep -vx "$main" || true; }

# Build finished: the dialog and every progress box are gone and the new row is listed.
build_done() {
    no_message_box || fail "a message box came up during the Add: $(window_list)"
    alive || fail "quillon ended during a build"
    local others
    others=$(others_than_main)
    if [[ -n $others ]]; then
        grep -qvx "$addDlg" <<<"$others" && progressSeen=1
        return 1
    fi
    row_has_text "$main" "$row"
}

add_profile() {
    local prefix=$1
    row=$2
    geometry "$main"
    focus "$main"
    click_at $((X + WIDTH - kAddFromRight)) $((Y + kAddFromTop))
    addDlg=$(wait_window '^Ajouter un profil à la liste$' "the add-profile dialog 'Ajouter un profil à la liste'")
    geometry "$addDlg"
    focus "$addDlg"
    # The combo has the focus; typing selects the first name with that prefix (the list is sorted).
    xdotool type --delay 30 "$prefix"
    row_has_text "$main" "$row" && fail "row $row is filled before the Add"
    progressSeen=0
    local t0=$SECONDS
    click_at $((X + WIDTH - kOkFromRight)) $((Y + kOkFromTop))
    # OK leaves the dialog open when nothing is selected.
    poll_until "$kWindowTimeout" is_gone "$addDlg" ||
        fail "OK did not close the add-profile dialog: no profile named '$prefix*' was selected"
    poll_until "$kBuildTimeout" build_done ||
        fail "the build of '$prefix' did not finish within ${kBuildTimeout}s (row $row not filled or a box still up)"
    log "added '$prefix*' as row $row in $((SECONDS - t0))s (progress box observed: $progressSeen)"
}

add_profile rgb 1
add_profile cmyk 2
add_profile six 3

shapes=$(viewport_share "$main")
log "viewport with three shapes: share of lit pixels $shapes"
awk -v a="$shapes" -v b="$baseline" -v min="$kMinShapeShare" 'BEGIN { exit !(a - b >= min) }' ||
    fail "viewport shows too few shape pixels (lit share $shapes, empty $baseline, need +$kMinShapeShare)"

# Closing asks for confirmation; Yes is the default button.
focus "$main"
xdotool key Escape
question=$(wait_window '^Avertissement$' "the close confirmation 'Avertissement'")
log "confirmation box up (window $question); confirming with Return"
focus "$question"
xdotool key Return
exited() { ! alive; }
poll_until "$kExitTimeout" exited ||
    fail "quillon still runs ${kExitTimeout}s after the close was confirmed"
status=0
wait "$qpid" || status=$?
qpid=""
[[ $status -eq 0 ]] || { cat "$work/quillon.log" >&2; fail "quillon exited with status $status"; }

printf 'Kestra001\0\001\000' >"$work/expected_prefs"
[[ -f $work/app/prefs.dat ]] || fail "prefs.dat was not written"
cmp -s "$work/expected_prefs" "$work/app/prefs.dat" ||
    fail "prefs.dat holds $(od -An -tx1 "$work/app/prefs.dat"), expected $(od -An -tx1 "$work/expected_prefs")"
extra=$(cd "$work/app" && ls -A | grep -vx -e GLP.icc -e prefs.dat || true)
[[ -z $extra ]] || fail "quillon wrote other files into its folder: $extra"

log "PASS in $((SECONDS - start))s"
