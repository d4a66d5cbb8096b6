#!/usr/bin/env bash
# The update check against a stand-in server on a free loopback port, which "UpdateServer" names:
# the request, a reply's message and settings, a server that never answers, no server at all, and
# the check turned off by an empty address.
set -u
source "$MRF_SOURCE/tests/harness/assert.sh"
name=mrf-e2e-update
source "$MRF_SOURCE/tests/harness/gui.sh"
srv_dir=$work/server
srv=
stop_server() {
    [[ -n $srv ]] && kill "$srv" 2>/dev/null && wait "$srv" 2>/dev/null
    srv=
}
cleanup() {
    stop_server
    wrun reg delete 'HKLM\Software\Marrowfold' /v UpdateServer /f >/dev/null
    teardown_app
}
trap cleanup EXIT
setup_app
version=$(sed -n 's/^project(Marrowfold VERSION \([0-9.]*\).*/\1/p' "$MRF_SOURCE/CMakeLists.txt").0

start_server() { # mode
    stop_server
    mkdir -p "$srv_dir"
    rm -f "$srv_dir/port" "$srv_dir/requests"
    python3 "$MRF_SOURCE/tests/e2e/update_server.py" "$srv_dir" "$1" 120 &
    srv=$!
    wait_until 10 test -s "$srv_dir/port" || return 1
    port=$(cat "$srv_dir/port")
    wrun reg add 'HKLM\Software\Marrowfold' /v UpdateServer /d "http://127.0.0.1:$port" /f >/dev/null
}
requests() { [[ -f $srv_dir/requests ]] && cat "$srv_dir/requests"; }
setting() { ctl get "$winapp\\mrf.dat" "$1" '<absent>'; }
# A logon run that stays in the tray; its window in $win.
start_logon() {
    seed "#S=#S" Auto=1 Minimize=1 Password=Secret
    mrf_bg /T
    win=""
    for _ in $(seq 100); do win=$(ui find $main_class Umberlock) && break; sleep 0.1; done
}
no_box() { ! ui find '#32770' Umberlock; }

# A reply with settings and a message, in the command block between the first two "*".
start_server reply
printf 'head*command1=SetStr%%compar11=Minimize%%compar12=0%%command2=SetStr%%compar21=Password%%compar22=%%command3=Message%%compar31=Hello\tfrom the server*tail' \
    >"$srv_dir/reply"
start_logon
box=$(ui wait '#32770' Umberlock 30000)
check "the reply's message shows in a box of its own" test -n "$box"
check_eq "its text, without control characters" "$(ui gettext "$box" 65535)" "Hello from the server"
check_eq "one request" "$(requests | wc -l)" 1
line=$(requests | head -1)
check "the request's path and query" \
    grep -qE "^GET /soft/getver\.php\?pn=Umberlock&un=[0-9A-Y]{10}&ver=${version//./\\.} HTTP/1\.[01]$" <<<"$line"
un=$(sed -n 's/.*&un=\([^&]*\)&.*/\1/p' <<<"$line")
check_eq "the identifier sent is the one saved" "$(setting UniStr)" "$un"
check_eq "SetStr of Minimize is saved at once" "$(setting Minimize)" 0
check_eq "SetStr of Password is ignored" "$(setting Password)" Secret
ui command "$box" 1
check "the box closes" ui gone "$box" 5000
stop_all

# A server that accepts and never answers: the window keeps answering, no box appears, and the
# program still ends at once.
start_server silent
start_logon
check "the silent server gets the request" wait_until 30 test -s "$srv_dir/requests"
sleep 1
check "the window answers within a second" ui responds "$win" 1000
check "and again" ui responds "$win" 1000
check "no box" no_box
ui command "$win" "$ID_CMD_EXIT"
check "Exit ends the program while the request hangs" ended "$last" 10
stop_all

# No server at all on that port: nothing shows.
stop_server
start_logon
sleep 9
check "no server: the window answers" ui responds "$win" 1000
check "no server: no box" no_box
stop_all

# An empty address turns the check off.
start_server reply
printf '*command1=Message%%compar11=Should not show*' >"$srv_dir/reply"
wrun reg add 'HKLM\Software\Marrowfold' /v UpdateServer /d "" /f >/dev/null
start_logon
sleep 9
check_eq "an empty UpdateServer sends nothing" "$(requests | wc -l)" 0
check "and shows nothing" no_box
stop_all

finish
