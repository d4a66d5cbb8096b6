# Shared steps of the end-to-end tests of the Windows programs. Source after assert.sh; set
# $name first (the test's folder under the prefix's C: drive).
T=$'\t'
work=$MRF_WINE_ROOT/prefix/drive_c/$name
app=$work/app
winapp="C:\\$name\\app"
main_class=TMainForm

# A control or command id of mrf.exe, as src/mrf/resource.h defines it: rid ID_CMD_EXIT.
rid() {
    local v
    v=$(awk -v n="$1" '$1 == "#define" && $2 == n {print $3; exit}' "$MRF_SOURCE/src/mrf/resource.h")
    [[ -n $v ]] || { echo "no id $1 in resource.h" >&2; return 1; }
    echo "$v"
}
ID_CMD_EXIT=$(rid ID_CMD_EXIT) IDC_TOOLBAR=$(rid IDC_TOOLBAR) IDC_EDIT1=$(rid IDC_EDIT1)

# Real input through the X server of the test's Wine: keys and clicks go where a person's would.
display=$(cat "$MRF_WINE_ROOT/state/display" 2>/dev/null)
key() { DISPLAY=$display xdotool key --clearmodifiers "$@"; }
type_text() { DISPLAY=$display xdotool type --delay 40 "$1"; }
click_at() { DISPLAY=$display xdotool mousemove "$1" "$2" click 1; }
# The virtual desktop's place on the X screen, to turn its coordinates into the screen's.
desk_origin() {
    local w
    w=$(DISPLAY=$display xdotool search --onlyvisible --name 'Wine desktop' 2>/dev/null | head -1)
    if [[ -n $w ]]; then
        DISPLAY=$display xdotool getwindowgeometry --shell "$w" | awk -F= '/^X=/ {x=$2} /^Y=/ {y=$2} END {print x+0, y+0}'
    else
        echo "0 0"
    fi
}

wrun() { "$MRF_WINE_ENV" run "$@" 2>/dev/null | tr -d '\r'; return "${PIPESTATUS[0]}"; }
ui() { wrun "$app/uidriver.exe" "$@"; }
ctl() { wrun "$app/mrfctl.exe" "$@"; }
calls() { [[ -f $app/calls.log ]] && tr -d '\r' <"$app/calls.log"; }
active() { wrun "$app/vexcheck.exe" list; }

# The program folder: the programs, the reference engine with its state and call log in the
# folder, the driver registration it looks for, and stand-ins for the programs mrf.exe starts.
setup_app() {
    rm -rf "$work"
    mkdir -p "$app"
    cp "$MRF_BIN"/{mrf.exe,vexcore.dll,vexcheck.exe,mrfctl.exe,uidriver.exe,enginehost.exe} "$app/"
    cp "$MRF_BIN/uidriver.exe" "$app/ulksrv.exe"
    printf 'state=state\\vexcore.state\r\nlog=calls.log\r\n' >"$app/vexcore.ini"
    wrun sc create ZFPUni type= kernel binpath= 'C:\windows\system32\drivers\ZFPUni.sys' >/dev/null
    user=$(wrun "$app/enginehost.exe" user)
}

teardown_app() {
    stop_all
    wrun sc delete ZFPUni >/dev/null
    rm -rf "$work"
}

# Every mrf.exe of this test still running is ended.
stop_all() {
    local p
    for p in "${started[@]:-}"; do [[ -n $p ]] && kill "$p" 2>/dev/null; done
    wrun "$app/uidriver.exe" list 2>/dev/null | awk '/\[TMainForm\]/ {print $1}' | while read -r w; do
        wrun "$app/uidriver.exe" command "$w" $ID_CMD_EXIT >/dev/null
    done
    started=()
}

# Writes the settings file from lines.
seed() { printf '%s\r\n' "$@" | ctl encode "$winapp\\mrf.dat"; }

# Runs mrf.exe in the background; its pid (of the wine process) goes to $last.
started=()
mrf_bg() {
    "$MRF_WINE_ENV" run "$winapp\\mrf.exe" "$@" >/dev/null 2>&1 &
    last=$!
    started+=("$last")
}

# Waits (bounded) for a background process to end; 0 when it did.
ended() { # pid seconds
    local end=$((SECONDS + $2))
    while kill -0 "$1" 2>/dev/null; do
        ((SECONDS < end)) || return 1
        sleep 0.1
    done
    wait "$1" 2>/dev/null
    return 0
}

# A tool-bar button of the main window is checked (1) or not (0); the window sets them when idle.
tb_is() { [[ "$(ui tbchecked "$1" $IDC_TOOLBAR "$2")" == "$3" ]]; }

# mrf.exe run to its end in the foreground, bounded; its exit code.
mrf_fg() { timeout 60 "$MRF_WINE_ENV" run "$winapp\\mrf.exe" "$@" >/dev/null 2>&1; }

# Types into the password prompt and confirms.
answer_prompt() { # text
    local dlg
    dlg=$(ui wait '#32770' Password 30000) || return 1
    ui settext "$dlg" $IDC_EDIT1 "$1" && ui click "$dlg" 1
}

# Confirms the "The Password is wrong !" box and waits until it has closed: an answer typed while
# it is still up would reach the prompt from inside the box's own message loop.
dismiss_error() {
    local box
    box=$(ui wait '#32770' Error 30000) || return 1
    ui command "$box" 1 && ui gone "$box" 10000
}

entries_of() { awk -F'\t' '$1 == "AddEntry" {print $3}' <<<"$(calls)"; }
