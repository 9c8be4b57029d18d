#!/usr/bin/env bash
# Drives the desktop program in a real X server with real key and mouse
# events, and reads every box back through the real clipboard.
#
#   real_window_test.sh <Tolvu> <e2e_expected_writes> <e2e_x_settle> <artefact dir>
#
# It starts its own Xvfb (on a display number the server picks itself), a
# window manager for real frames and the program, and stops all three by
# process id on every way out. The texts the boxes must hold are kept in a
# model that follows every key the test sends; each recalculation in the
# model comes from the engine itself (e2e_expected_writes), and a few
# well-known results are also compared with literal values. Reads wait for
# the program to have handled every key before them (e2e_x_settle), never
# for a fixed time, so a slow machine makes the test slower, not flaky.
#
# Prints one PASS or FAIL line per check and "N passed, M failed" last.
# Exit status: 0 all passed, 1 a check failed, 77 a tool is missing (skip).
set -uo pipefail

if [ $# -ne 4 ]; then
    echo "usage: $0 <Tolvu> <e2e_expected_writes> <e2e_x_settle> <artefact dir>" >&2
    exit 2
fi
app=$1
oracle=$2
settle_tool=$3
out=$4
here=$(cd "$(dirname "$0")" && pwd)

for tool in Xvfb openbox xdotool xclip xwininfo xprop xset xmodmap setxkbmap import; do
    if ! command -v "$tool" >/dev/null; then
        echo "SKIP: $tool is not installed (scripts/install-deps test installs it)"
        exit 77
    fi
done

mkdir -p "$out"
work=$(mktemp -d "${TMPDIR:-/tmp}/tolvu-e2e.XXXXXX")

# ---------------------------------------------------------------- reporting

passed=0
failed=0
pass() {
    passed=$((passed + 1))
    printf 'PASS: %s\n' "$*"
}
fail() {
    failed=$((failed + 1))
    printf 'FAIL: %s\n' "$*"
}
note() { printf '  .. %s\n' "$*"; }
# A failure after which the remaining checks cannot mean anything.
abort() {
    fail "$*"
    echo "  .. stopping here: the remaining checks depend on this one"
    exit 1
}
expect_eq() { # what, expected, actual
    if [[ $3 == "$2" ]]; then
        pass "$1 = \"$3\""
    else
        fail "$1: expected \"$2\", got \"$3\""
    fi
}

# ---------------------------------------------------- processes and cleanup

children=() # every process this script started, in start order
app_pid=
clip_pids=()

forget() { # pid: reaped already, so never signal it again
    local i
    for i in "${!children[@]}"; do
        [ "${children[i]}" = "$1" ] && unset 'children[i]'
    done
}

stop_all() {
    local pid i deadline
    for pid in "${clip_pids[@]}"; do kill "$pid" 2>/dev/null; done
    # newest first: the program, then the window manager, then the server
    for ((i = ${#children[@]} - 1; i >= 0; i--)); do
        [ -n "${children[i]:-}" ] && kill "${children[i]}" 2>/dev/null
    done
    deadline=$((SECONDS + 3))
    for pid in "${children[@]}" "${clip_pids[@]}"; do
        while running "$pid" && [ $SECONDS -lt $deadline ]; do nap 0.05; done
        kill -9 "$pid" 2>/dev/null
        wait "$pid" 2>/dev/null
    done
}

finish() {
    local status=$?
    trap - EXIT
    stop_all
    if [ $failed -gt 0 ] && [ -s "$out/tolvu.log" ]; then
        echo "  .. the program's output:"
        sed 's/^/  .. | /' "$out/tolvu.log"
    fi
    rm -rf "$work"
    echo "$passed passed, $failed failed"
    if [ $failed -gt 0 ]; then exit 1; fi
    exit "$status"
}
trap finish EXIT
trap 'echo "  .. interrupted"; exit 130' INT TERM HUP

# Time and waits without a process per call: the checks read the clock and
# nap hundreds of times.
now_ms() { # into NOW
    local t=${EPOCHREALTIME/[.,]/}
    NOW=$((t / 1000))
}
mkfifo "$work/nap"
exec {nap_fd}<>"$work/nap"
nap() { read -r -t "$1" -u "$nap_fd" || :; }

poll() { # timeout in ms, then a command that succeeds when the wait is over
    local deadline
    now_ms
    deadline=$((NOW + $1))
    shift
    until "$@"; do
        now_ms
        [ $NOW -ge $deadline ] && return 1
        nap 0.01
    done
}

# Running and not yet a zombie: a child that has ended answers kill -0
# until it is reaped.
running() {
    local state=
    [ -r "/proc/$1/stat" ] && read -r _ _ state _ <"/proc/$1/stat" 2>/dev/null && [ "$state" != Z ]
}
app_alive() { [ -n "$app_pid" ] && running "$app_pid"; }

# ------------------------------------------------------------ the X session

xvfb_ready() { [ -s "$work/display" ] || ! kill -0 "${children[0]}" 2>/dev/null; }
wm_ready() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }

start_session() {
    # -displayfd: the server takes the first free display number and writes
    # it to fd 3 once it accepts connections, so parallel runs never clash.
    Xvfb -displayfd 3 -screen 0 1024x768x24 -dpi 96 -nolisten tcp -noreset \
        3>"$work/display" >"$work/xvfb.log" 2>&1 &
    children+=($!)
    poll 10000 xvfb_ready
    if [ ! -s "$work/display" ]; then
        cat "$work/xvfb.log"
        abort "Xvfb started and reported its display"
    fi
    DISPLAY=":$(head -n1 "$work/display")"
    export DISPLAY
    note "Xvfb on display $DISPLAY"

    mkdir -p "$work/config" "$work/runtime"
    chmod 700 "$work/runtime"
    export XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/runtime
    openbox --sm-disable --config-file "$here/openbox-rc.xml" >"$work/openbox.log" 2>&1 &
    children+=($!)
    poll 10000 wm_ready || abort "window manager running on $DISPLAY"

    setxkbmap -layout us
    xdotool key Num_Lock
    if xset q | grep -q 'Num Lock: *on'; then
        pass "NumLock is on (xset q)"
    else
        fail "NumLock is on (xset q)"
    fi
    # The keypad keys by keycode: xdotool given the keysym KP_4 would toggle
    # NumLock around the key press itself.
    kp_codes=()
    local code d
    for d in 0 1 2 3 4 5 6 7 8 9; do
        code=$(xmodmap -pke | awk -v s="KP_$d" '$5 == s { print $2; exit }')
        [ -n "$code" ] || abort "keycode of keypad $d found"
        kp_codes[d]=$code
    done
    kp_decimal=$(xmodmap -pke | awk '$4 == "KP_Delete" && $5 == "KP_Decimal" { print $2; exit }')
    [ -n "$kp_decimal" ] || abort "keycode of the keypad's decimal key found"
}

window_viewable() { xwininfo -id "$1" 2>/dev/null | grep -q 'Map State: IsViewable'; }
window_gone() { ! window_viewable "$1"; }

# Sets WX WY (client area's top left on the screen) and WW WH.
window_geometry() {
    local info
    info=$(xwininfo -id "$1") || return 1
    WX=$(awk '/Absolute upper-left X:/ { print $4 }' <<<"$info")
    WY=$(awk '/Absolute upper-left Y:/ { print $4 }' <<<"$info")
    WW=$(awk '/^ *Width:/ { print $2 }' <<<"$info")
    WH=$(awk '/^ *Height:/ { print $2 }' <<<"$info")
}

# The window manager's frame around a client window: the ancestor just
# below the root.
frame_of() {
    local id=$1 parent root tree
    while :; do
        tree=$(xwininfo -tree -id "$id") || return 1
        parent=$(awk '/Parent window id:/ { print $4 }' <<<"$tree")
        root=$(awk '/Root window id:/ { print $4 }' <<<"$tree")
        [ "$parent" = "$root" ] && break
        id=$parent
    done
    echo "$id"
}

# Finds a visible window of the program by its caption (an exact match).
find_window() { # caption regex, timeout ms; prints the id
    local deadline ids
    now_ms
    deadline=$((NOW + $2))
    while :; do
        ids=$(xdotool search --all --onlyvisible --pid "$app_pid" --name "$1" 2>/dev/null)
        [ -n "$ids" ] && { head -n1 <<<"$ids"; return 0; }
        now_ms
        [ $NOW -ge $deadline ] && return 1
        app_alive || return 1
        nap 0.05
    done
}

# Visible windows of the program other than the ones given, tooltips left out.
other_windows() {
    local id
    for id in $(xdotool search --all --onlyvisible --pid "$app_pid" --name '' 2>/dev/null); do
        [[ " $* " == *" $id "* ]] && continue
        xprop -id "$id" _NET_WM_WINDOW_TYPE 2>/dev/null | grep -q TOOLTIP && continue
        echo "$id"
    done
}

# Pointer moves end away from every window, so no tooltip ever shows up.
park=(mousemove 1020 760)
park_pointer() { xdotool "${park[@]}"; }
click_at() { xdotool mousemove "$1" "$2" click 1 "${park[@]}"; }
click_in() { # window, x, y in its client area
    focus= # whatever the click focuses, focus_box says so itself
    window_geometry "$1" || return 1
    click_at $((WX + $2)) $((WY + $3))
}
# The close button at the right end of the frame's title bar.
click_frame_close() {
    local frame fx fy fw title
    frame=$(frame_of "$1") || return 1
    window_geometry "$1" || return 1
    title=$((WY))
    window_geometry "$frame" || return 1
    fx=$WX fy=$WY fw=$WW
    title=$((title - fy))
    click_at $((fx + fw - 1 - title / 2)) $((fy + title / 2))
}

screenshot() { # window, file name
    settle
    nap 0.3 # let the window finish painting
    if import -window "$1" "$out/$2" 2>"$work/import.log"; then
        note "screenshot $out/$2"
    else
        fail "screenshot $2: $(cat "$work/import.log")"
    fi
}

# --------------------------------------------------------------- clipboard

clip_owns() { [ "$(xclip -selection clipboard -o 2>/dev/null)" = "$1" ]; }

# Puts text on the clipboard from an xclip that stays in the foreground, so
# its pid is known; it ends by itself when another client takes the
# clipboard over.
clip_set() {
    local pid live=()
    printf '%s' "$1" | xclip -selection clipboard -quiet -i >/dev/null 2>&1 &
    clip_pids+=($!)
    for pid in "${clip_pids[@]}"; do
        if running "$pid"; then live+=("$pid"); else wait "$pid" 2>/dev/null; fi
    done
    clip_pids=("${live[@]}")
    poll 3000 clip_owns "$1" || fail "clipboard holds \"$1\" (xclip)"
}

# Waits until the program has handled every key and click sent so far.
settle() {
    "$settle_tool" "$main" 15000 && return 0
    app_alive || abort "the program is running (it ended unexpectedly)"
    fail "the program answers within 15 s (it hangs)"
}

# Copies the focused box's selection with Ctrl+C, after the xdotool
# commands given (those that focus the box), into REPLY. An empty box copies
# nothing, so the clipboard is left without an owner first: still without
# one once the program has handled the keys means the box is empty.
copy_focused() {
    "$settle_tool" --drop-clipboard || fail "the clipboard can be emptied"
    xdotool "$@" key ctrl+c
    settle
    REPLY=$(xclip -selection clipboard -o 2>/dev/null) || REPLY=
}

# ------------------------------------------------------------------ layout

# The 31 boxes in tab order; positions in pixels within the client area.
boxes=(mmBox cmBox mBox kmBox inchBox feetBox yardBox mileBox
    mgBox gBox kgBox mtBox ozBox lbsBox stBox ltBox
    mlBox clBox dlBox lBox flozBox pintBox quartBox gallonBox
    kelvinBox celciusBox fahrBox
    secBox minBox hourBox dayBox)
columns=(8 120 232 344)
rows=(24 64 120 160 216 256 312 368)
declare -A box_x box_y box_index
for i in "${!boxes[@]}"; do
    if [ "$i" -lt 24 ]; then
        row=$((i / 4)) col=$((i % 4))
    elif [ "$i" -lt 27 ]; then
        row=6 col=$((i - 24))
    else
        row=7 col=$((i - 27))
    fi
    box_x[${boxes[i]}]=$((columns[col] + 52)) # centre of a 105 x 19 box
    box_y[${boxes[i]}]=$((rows[row] + 9))
    box_index[${boxes[i]}]=$i
done
length=("${boxes[@]:0:8}")
exit_x=508 exit_y=36 credits_x=508 credits_y=76 about_x=508 about_y=108 # button centres
ok_x=324 ok_y=196                                                         # About's OK

# ------------------------------------------------------------------- model

# What every box must hold, kept in step with each key the test sends.
declare -A model
for b in "${boxes[@]}"; do model[$b]=; done
focus=    # the box that has the focus, as far as the test knows
selected=0 # whether the focused box's whole text is selected
overflow_at=

# The rule as a filtered key released in `box` runs it: the engine says
# which sisters get which texts, and where a result leaves the double range.
recalc() { # box, its text
    local target text
    model[$1]=$2
    overflow_at=
    while IFS=$'\t' read -r target text; do
        if [ "$target" = overflow ]; then
            overflow_at=$text
        else
            model[$target]=$text
        fi
    done < <("$oracle" "$1" "$2")
}

# ------------------------------------------------------------------ moving

# Focuses a box from the keyboard, as a user tabbing into it would: a click
# in the box before it (a click sets the caret, so it cannot select), then
# Tab, which must select the whole text. Leaves the xdotool commands in NAV
# for the caller to run, alone or with more.
focus_box_commands() {
    local i=${box_index[$1]} prev
    if [ "$i" -gt 0 ] && [ "$focus" = "${boxes[i - 1]}" ]; then
        NAV=(key Tab)
    else
        if [ "$i" -eq 0 ]; then prev=cmBox; else prev=${boxes[i - 1]}; fi
        NAV=(mousemove $((MX + box_x[$prev])) $((MY + box_y[$prev])) click 1 "${park[@]}")
        if [ "$i" -eq 0 ]; then NAV+=(key shift+Tab); else NAV+=(key Tab); fi
    fi
    focus=$1
    selected=1
}

focus_box() {
    focus_box_commands "$1"
    xdotool "${NAV[@]}"
}

read_box() { # box; the text lands in REPLY
    focus_box_commands "$1"
    copy_focused "${NAV[@]}"
}

# Reads boxes back and compares each with the model. An entry box=text also
# compares the box with a value written down independently of the engine.
verify() { # description, box or box=text...
    local what=$1 entry b
    shift
    for entry in "$@"; do
        b=${entry%%=*}
        read_box "$b"
        if [[ $entry == *=* ]]; then
            expect_eq "$what: $b" "${entry#*=}" "$REPLY"
            [[ ${model[$b]} == "${entry#*=}" ]] ||
                fail "$what: the engine writes \"${model[$b]}\" into $b, not \"${entry#*=}\""
        else
            expect_eq "$what: $b" "${model[$b]}" "$REPLY"
        fi
    done
}

# ------------------------------------------------------------------ typing

# The text of the focused box once typing starts: a selection is replaced.
current_text() { if [ "$selected" = 1 ]; then echo ""; else echo "${model[$focus]}"; fi; }

type_text() { # characters typed on the main keyboard into the focused box
    local s=$1 text i c keys=()
    text=$(current_text)
    for ((i = 0; i < ${#s}; i++)); do
        c=${s:i:1}
        text+=$c
        case $c in
        [0-9]) keys+=("$c") ;;
        .) keys+=(period) ;;
        -) keys+=(minus) ;;
        [a-z]) keys+=("$c") ;;
        *) abort "no key for \"$c\"" ;;
        esac
        # the digits and the full stop recalculate, the other keys do not
        if [[ $c == [0-9.] ]]; then recalc "$focus" "$text"; else model[$focus]=$text; fi
    done
    xdotool key --delay 15 "${keys[@]}"
    selected=0
}

type_keypad() { # digits and points typed on the numeric keypad
    local s=$1 text i c keys=()
    text=$(current_text)
    for ((i = 0; i < ${#s}; i++)); do
        c=${s:i:1}
        text+=$c
        if [ "$c" = . ]; then
            keys+=("$kp_decimal")
            model[$focus]=$text # the keypad's decimal key does not recalculate
        else
            keys+=("${kp_codes[c]}")
            recalc "$focus" "$text"
        fi
    done
    xdotool key --delay 15 "${keys[@]}"
    selected=0
}

press_end() {
    xdotool key End
    selected=0
}

press_backspace() {
    local text
    text=$(current_text)
    [ "$selected" = 1 ] || text=${text%?}
    xdotool key BackSpace
    selected=0
    recalc "$focus" "$text"
}

press_delete_at_end() {
    xdotool key Delete
    recalc "$focus" "$(current_text)"
    selected=0
}

# Shift+Insert with Shift still held when Insert comes up (the order a user's
# fingers take; xdotool's own "shift+Insert" lets go of Shift first).
paste_shift_insert() {
    local text
    text=$(current_text)$1
    clip_set "$1"
    xdotool keydown Shift_L keydown Insert keyup Insert keyup Shift_L
    selected=0
    recalc "$focus" "$text"
}

paste_insert_after_shift() { # Shift comes up before Insert: no recalculation
    model[$focus]=$(current_text)$1
    clip_set "$1"
    xdotool keydown Shift_L keydown Insert keyup Shift_L keyup Insert
    selected=0
}

paste_ctrl_v() {
    model[$focus]=$(current_text)$1
    clip_set "$1"
    xdotool key ctrl+v
    selected=0
}

alt_key() { # letter, the box it must focus
    xdotool key "alt+$1"
    focus=$2
    selected=1
}

# =================================================================== test

start_session
rm -f "$out"/*.png

env -u QT_SCALE_FACTOR -u QT_SCREEN_SCALE_FACTORS -u QT_ENABLE_HIGHDPI_SCALING -u QT_IM_MODULE \
    -u XMODIFIERS -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb "$app" >"$out/tolvu.log" 2>&1 &
app_pid=$!
children+=("$app_pid")

main=$(find_window '^Velmora Convert 2\.14$' 20000) ||
    abort "main window \"Velmora Convert 2.14\" mapped within 20 s"
pass "main window \"Velmora Convert 2.14\" mapped (window $main)"
window_geometry "$main"
MX=$WX MY=$WY # the client area's top left; the window never moves
expect_eq "main window client area" "569x393" "${WW}x${WH}"
hints=$(xprop -id "$main" WM_NORMAL_HINTS)
if grep -q 'minimum size: 569 by 393' <<<"$hints" && grep -q 'maximum size: 569 by 393' <<<"$hints"; then
    pass "main window cannot be resized (minimum = maximum = 569 by 393)"
else
    fail "main window cannot be resized: WM_NORMAL_HINTS are $(tr '\n' ' ' <<<"$hints")"
fi
main_active() { [ "$(xdotool getactivewindow 2>/dev/null)" = "$main" ]; }
poll 3000 main_active
expect_eq "active window at start" "$main" "$(xdotool getactivewindow)"

# --- digits into mmBox, which has the focus at start
focus=mmBox selected=1
type_text 1234
verify "1234 typed at start" "${length[@]}"
verify "a Length key leaves the other groups alone" celciusBox

# --- Tab on to another box: the focus selects its text, typing replaces it
focus_box_commands mmBox
xdotool "${NAV[@]}" key Tab key Tab key Tab key Tab
focus=inchBox selected=1
type_text 1
verify "1 in" mmBox=25.4 cmBox=2.54 mBox=0.0254 kmBox inchBox=1 feetBox=0.0833333 yardBox mileBox=1.57828E-05

# --- Alt+T focuses mBox
alt_key t mBox
type_text 3
verify "Alt+T then 3" mmBox=3000 mBox=3 mileBox

# --- keypad digits with NumLock on
focus_box mBox
type_keypad 42
verify "keypad 4 2 in mBox" mmBox=42000 mBox=42 mileBox

# --- the main full stop recalculates at once: a lone point reads as 0
focus_box celciusBox
type_text .
verify "main full stop alone in celciusBox" kelvinBox=273.15 celciusBox=. fahrBox=32

# --- the keypad's decimal key does not recalculate; the next digit does
focus_box celciusBox
type_text 100
verify "100 C" kelvinBox=373.15 celciusBox=100 fahrBox=212
focus_box celciusBox
type_keypad .
verify "keypad decimal key alone in celciusBox (no recalculation)" kelvinBox=373.15 celciusBox=. fahrBox=212
focus_box celciusBox
press_end
type_keypad 5
verify "keypad 5 after it" kelvinBox=273.65 celciusBox=.5 fahrBox=32.9

# --- a minus sign alone changes nothing; the digit after it recalculates
focus_box inchBox
type_text -
verify "minus alone in inchBox (no recalculation)" mmBox inchBox mileBox
focus_box inchBox
press_end
type_text 1
verify "-1 in" mmBox=-25.4 cmBox=-2.54 mBox kmBox inchBox=-1 feetBox yardBox mileBox

# --- Backspace: a lone minus reads as 0, the empty text empties the sisters
focus_box inchBox
press_end
press_backspace
verify "Backspace to \"-\" in inchBox" mmBox=0 cmBox=0 mBox=0 kmBox=0 inchBox=- feetBox=0 yardBox=0 mileBox=0
focus_box inchBox
press_end
press_backspace
verify "Backspace to the empty text in inchBox" "${length[@]/%/=}"

# --- Shift+Insert pastes and recalculates; Insert let go after Shift does not
focus_box feetBox
paste_shift_insert 2.5
verify "Shift+Insert of 2.5 into feetBox" mmBox cmBox mBox kmBox inchBox=30 feetBox=2.5 yardBox mileBox
focus_box feetBox
paste_insert_after_shift 4
verify "Shift up before Insert: 4 pasted into feetBox, no recalculation" mmBox inchBox feetBox

# --- Ctrl+V pastes without recalculating, until the next filtered key
focus_box yardBox
paste_ctrl_v 7
verify "Ctrl+V of 7 into yardBox (no recalculation)" "${length[@]}"
focus_box yardBox
press_end
press_delete_at_end
verify "Delete after the pasted 7 in yardBox" mmBox cmBox mBox kmBox inchBox=252 feetBox=21 yardBox=7 mileBox

# --- a value that overflows: no sister changes, a message, the program goes on
focus_box kmBox
type_text 1e303
expect_eq "the engine overflows 1e303 km at" mmBox "$overflow_at"
message=
message_shown() { message=$(other_windows "$main" | head -n1) && [ -n "$message" ]; }
if poll 5000 message_shown; then
    pass "a message is shown on overflow: \"$(xdotool getwindowname "$message")\" (window $message)"
    screenshot "$message" overflow-message.png
    xdotool key Return
    poll 2000 window_gone "$message" || { xdotool key Escape; poll 2000 window_gone "$message"; }
    if window_gone "$message"; then pass "the overflow message closes"; else fail "the overflow message closes"; fi
else
    fail "a message is shown on overflow"
fi
app_alive || abort "the program keeps running after the overflow"
pass "the program keeps running after the overflow"
poll 2000 main_active
expect_eq "active window after the message" "$main" "$(xdotool getactivewindow)"
focus=
verify "after 1e303 km" mmBox cmBox mBox kmBox=1e303 inchBox feetBox yardBox mileBox

# --- access keys of the other groups, with values worth a screenshot
alt_key i mileBox
type_text 1
verify "Alt+I then 1" mmBox=1609340 cmBox=160934 mBox=1609.34 kmBox=1.60934 inchBox=63360 feetBox=5280 \
    yardBox=1760 mileBox=1
alt_key k kgBox
type_text 75
verify "Alt+K then 75" mgBox gBox kgBox=75 mtBox ozBox lbsBox stBox ltBox
alt_key l lBox
type_text 2
verify "Alt+L then 2" mlBox=2000 clBox dlBox lBox=2 flozBox pintBox quartBox gallonBox
alt_key c celciusBox
type_text 37
verify "Alt+C then 37" kelvinBox=310.15 celciusBox=37 fahrBox=98.6
alt_key a dayBox
type_text 1
verify "Alt+A then 1" secBox=86400 minBox=1440 hourBox=24 dayBox=1

# --- the whole tab order, every box read back
focus=
read_box mmBox
expect_eq "tab walk: mmBox" "${model[mmBox]}" "$REPLY"
for b in "${boxes[@]:1}"; do
    copy_focused key Tab
    expect_eq "tab walk: $b" "${model[$b]}" "$REPLY"
done
copy_focused key Tab key Tab key Tab key Tab # Exit, Credits..., About..., round to mmBox
expect_eq "tab walk: 4 Tabs after dayBox, back in mmBox" "${model[mmBox]}" "$REPLY"
focus=mmBox selected=1

# --- the main window with values in it
park_pointer
screenshot "$main" main-window.png
screenshot "$(frame_of "$main")" main-window-framed.png

# --- the dialogs: modal, owned by the main window and centred over it
owner_of() { xprop -id "$1" WM_TRANSIENT_FOR | sed -n 's/.*window id # //p'; }

# Finds a dialog by its caption and checks what the dialogs share; the
# dialog's window lands in DIALOG.
check_dialog() { # how it was opened, caption, caption as a regex, width, height
    local how=$1 caption=$2 dx dy
    if ! DIALOG=$(find_window "$3" 5000); then
        fail "$how opens \"$caption\""
        return 1
    fi
    pass "$how opens \"$caption\" (window $DIALOG)"
    window_geometry "$DIALOG"
    expect_eq "$caption: client area" "$4x$5" "${WW}x${WH}"
    expect_eq "$caption: owned by the main window (WM_TRANSIENT_FOR)" "$(printf '0x%x' "$main")" \
        "$(owner_of "$DIALOG")"
    dx=$((WX + WW / 2 - MX - 569 / 2)) dy=$((WY + WH / 2 - MY - 393 / 2))
    if [ ${dx#-} -le 2 ] && [ ${dy#-} -le 2 ]; then
        pass "$caption: centred over the main window (centres $dx,$dy px apart)"
    else
        fail "$caption: centred over the main window: the centres are $dx,$dy px apart"
    fi
}

expect_closed() { # window, what closed it
    if poll 3000 window_gone "$1"; then pass "$2"; else fail "$2"; fi
}

# About: a real click; while it is open the main window takes no click
click_in "$main" "$about_x" "$about_y"
if check_dialog "About... click" "About Velmora Convert" '^About Velmora Convert$' 385 217; then
    screenshot "$DIALOG" about-dialog.png
    click_in "$main" "$exit_x" "$exit_y"
    settle
    nap 0.3 # an Exit that got through would end the program by now
    app_alive || abort "Exit clicked while About is open: ignored, the dialog is modal"
    if window_viewable "$DIALOG"; then
        pass "Exit clicked while About is open: ignored, the dialog is modal"
    else
        fail "Exit clicked while About is open: ignored, the dialog is modal (About went away)"
    fi
    click_in "$DIALOG" "$ok_x" "$ok_y"
    expect_closed "$DIALOG" "About closes with a click on OK"
fi

# About again, from the keyboard: Shift+Tab from mmBox reaches About...
focus_box_commands mmBox
xdotool "${NAV[@]}" key shift+Tab key space
focus=
if check_dialog "Shift+Tab from mmBox, Space" "About Velmora Convert" '^About Velmora Convert$' 385 217; then
    click_frame_close "$DIALOG"
    expect_closed "$DIALOG" "About closes with the frame's close button"
fi

# Credits: a real click; it has no button and closes through its frame
click_in "$main" "$credits_x" "$credits_y"
if check_dialog "Credits... click" "Credits..." '^Credits\.\.\.$' 370 129; then
    screenshot "$DIALOG" credits-dialog.png
    click_frame_close "$DIALOG"
    expect_closed "$DIALOG" "Credits closes with the frame's close button"
fi

# --- the values survived the dialogs
verify "after the dialogs" mmBox celciusBox dayBox

# --- Exit: the process ends with status 0 within a second
now_ms
clicked=$NOW
click_in "$main" "$exit_x" "$exit_y"
app_ended() { ! app_alive; }
poll 1000 app_ended
now_ms
took=$((NOW - clicked))
if app_alive; then
    fail "Exit click ends the program within 1 s (still running after $took ms)"
else
    wait "$app_pid"
    status=$?
    forget "$app_pid"
    app_pid=
    if [ $status -eq 0 ]; then
        pass "Exit click ends the program with status 0 in $took ms"
    else
        fail "Exit click ends the program with status 0: status $status after $took ms"
    fi
fi
