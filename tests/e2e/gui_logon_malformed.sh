#!/usr/bin/env bash
# A logon run never waits on a message box: with a mode that is not a number in an entry the rules
# leave out (its box is cleared), "/T" applies the rules and either ends or reaches the tray with
# nothing on screen; the value is told once, when the window is next opened. A settings file that
# cannot be read ends it without a message.
set -u
source "$MRF_SOURCE/tests/harness/assert.sh"
name=mrf-e2e-logon-malformed
source "$MRF_SOURCE/tests/harness/gui.sh"
trap teardown_app EXIT
setup_app
check "the Wine user is known" test -n "$user"

K=$user
rules=("${K}_FL_Count=2" "${K}_FL_0_folder=C:\\Docs" "${K}_FL_0_mode=1"
    "${K}_FL_1_folder=C:\\Old" "${K}_FL_1_mode=x" "${K}_FL_1_enabled=0")
no_box() { ! ui find '#32770' -; }
enforced() { [[ "$(calls | tail -1)" == "SetSecurity${T}1" ]] && [[ "$(entries_of | head -1)" == 'C:\Docs*' ]]; }

# "Minimize" off: the run ends by itself, which a message box would have stopped.
seed "#S=#S" Auto=1 Minimize=0 "${rules[@]}"
mrf_fg /T
check_eq "/T ends" $? 0
check "with the rules applied" enforced

# "Minimize" on: the tray, the rules applied, and no message on screen.
rm -f "$app/calls.log"
seed "#S=#S" Auto=1 Minimize=1 "${rules[@]}"
mrf_bg /T
logon=$last
in_tray() { win=$(ui find $main_class Umberlock) && ui tray "$win" 1; }
check "/T reaches the tray" wait_until 20 in_tray
check "with the rules applied" wait_until 10 enforced
sleep 1
check "and no message on screen" no_box
check "the logon run goes on" kill -0 "$logon"

# Opening the window tells the value, once.
ui command "$win" "$(rid ID_TRAY_SETTINGS)"
box=$(ui wait '#32770' Umberlock 10000)
check "opening the window tells the malformed mode" test -n "$box"
check "naming it" grep -q "${K}_FL_1_mode" <<<"$(ui gettext "$box" 65535)"
ui command "$box" 1
ui gone "$box" 5000
sleep 1
check "once" no_box
check_eq "the list shows both rows, the second cleared" "$(ui rows "$win" | cut -f1,3)" "1${T}C:\\Docs
0${T}C:\\Old"

# Save while started meets the value three times (Start's refill, the bridge, the refill after the
# file is written): one action, one message.
ui command "$win" "$(rid ID_CMD_SAVE)"
box=$(ui wait '#32770' Umberlock 10000)
check "Save tells the malformed mode" test -n "$box"
ui command "$box" 1
ui gone "$box" 5000
sleep 1
check "once" no_box

ui command "$win" $ID_CMD_EXIT
check "Exit ends the program" ended "$logon" 20

# A settings file that cannot be read ends the logon run at once, without a message.
rm -f "$app/mrf.dat" "$app/mrf.dat.jnl"
mkdir "$app/mrf.dat"
mrf_fg /T
check_eq "/T with an unreadable settings file ends with code 1" $? 1
rmdir "$app/mrf.dat"
finish
