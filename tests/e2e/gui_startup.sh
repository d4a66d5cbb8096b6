#!/usr/bin/env bash
# mrf.exe as Windows starts it: logon runs, the password prompt, protection commands, session
# changes and the uninstall path, driven through its real windows.
set -u
source "$MRF_SOURCE/tests/harness/assert.sh"
name=mrf-e2e-startup
source "$MRF_SOURCE/tests/harness/gui.sh"
trap teardown_app EXIT
setup_app
check "the Wine user is known" test -n "$user"

rules=("${user}_FL_Count=1" "${user}_FL_0_folder=C:\\Docs" "${user}_FL_0_mode=1")

# "/S" starts protection without a prompt and ends; the engine keeps the rules.
seed "#S=#S" Password=Secret "${rules[@]}"
mrf_fg /S
check_eq "/S ends" $? 0
check_eq "/S sends the whole sequence" "$(calls | cut -f1 | uniq -c | awk '{print $2 " " $1}')" \
    "$(printf 'CheckDriver 1\nSetSecurity 1\nAddEntry 3\nSetSecurity 1')"
check_eq "/S sends the user's folder first" "$(entries_of | head -1)" 'C:\Docs*'
check "the engine keeps enforcing after the program ended" grep -q "^enforcement: on" <<<"$(active)"

# "/T" with "Auto" absent: nothing changes.
rm -f "$app/calls.log"
seed "#S=#S" "${rules[@]}"
mrf_fg /T
check_eq "/T without Auto ends" $? 0
check_eq "/T without Auto calls nothing but the driver check" "$(calls)" "CheckDriver${T}1"

# "/T" with "Auto" on and "Minimize" off: starts protection and ends.
rm -f "$app/calls.log"
seed "#S=#S" Auto=1 Minimize=0 "${rules[@]}"
mrf_fg /T
check_eq "/T with Auto and no Minimize ends" $? 0
check_eq "and has started protection" "$(calls | tail -1)" "SetSecurity${T}1"

# An unknown argument ends the program and changes nothing.
rm -f "$app/calls.log"
seed "#S=#S" Auto=1 "${rules[@]}"
mrf_fg /t
check_eq "an unknown argument ends the program" $? 0
check_eq "without touching protection" "$(calls)" "CheckDriver${T}1"

# A start without argument asks for the password; three wrong entries end the program unseen.
seed "#S=#S" Password=Secret "${rules[@]}"
rm -f "$app/calls.log"
mrf_bg
for attempt in 1 2 3; do
    check "wrong entry $attempt is typed" answer_prompt wrong
    check "and refused" dismiss_error
done
check "three wrong entries end the program" ended "$last" 20
check "without showing the window" test -z "$(ui find $main_class - 2>/dev/null)"
check_eq "and without touching protection" "$(calls)" "CheckDriver${T}1"

# The right password in another letter case shows the window, with protection started.
mrf_bg
check "the password in other letters is accepted" answer_prompt sEcReT
win=$(ui wait $main_class Umberlock 15000)
check "the window is shown" test -n "$win"
check "protection is started at once" wait_until 10 tb_is "$win" "$(rid ID_TOOLBUTTON9)" 1
check_eq "the Start button shows it" "$(calls | tail -1)" "SetSecurity${T}1"

# Session changes: a console disconnect suspends, a reconnect starts again.
calls_are() { [[ "$(calls)" == "$1" ]]; }
rm -f "$app/calls.log"
ui post "$win" 689 2 0
check "a console disconnect suspends" wait_until 10 calls_are "SetSecurity${T}0"
check "the Suspend button shows it" wait_until 10 tb_is "$win" "$(rid ID_TOOLBUTTON11)" 1
ui post "$win" 689 1 0
check "a console connect starts again" wait_until 10 grep -q "^SetSecurity${T}1" "$app/calls.log"
check_eq "with the rules sent again" "$(entries_of | head -1)" 'C:\Docs*'
check "the Start button shows it" wait_until 10 tb_is "$win" "$(rid ID_TOOLBUTTON9)" 1
rm -f "$app/calls.log"
# Codes 3 to 9, then a disconnect whose effect shows when the earlier ones were handled.
for code in 3 4 5 6 7 8 9 2; do ui post "$win" 689 $code 0; done
wait_until 10 test -s "$app/calls.log"
check_eq "session codes 3 to 9 change nothing" "$(calls)" "SetSecurity${T}0"

# Exit from the menu needs no password and leaves protection as it is.
rm -f "$app/calls.log"
ui command "$win" $ID_CMD_EXIT
check "Exit from the menu ends the program" ended "$last" 20
check_eq "without a prompt or an engine call" "$(calls)" ""

# "/U" with a refused prompt changes nothing.
mrf_bg /U
dlg=$(ui wait '#32770' Password 15000)
check "/U asks for the password" test -n "$dlg"
ui click "$dlg" 2
check "a refused prompt ends the program" ended "$last" 20
check_eq "protection untouched" "$(calls)" "CheckDriver${T}1"
check "and the service program not started" test ! -e "$app/started.log"

# "/U" with the right password: Stop, then the service program with "/un", then the uninstaller.
cp "$MRF_BIN/uidriver.exe" "$app/unins000.exe"
rm -f "$app/calls.log"
mrf_bg /U
check "/U accepts the password" answer_prompt Secret
check "the uninstall path ends the program" ended "$last" 30
check_eq "after stopping protection" "$(calls)" "$(printf 'CheckDriver\t1\nSetSecurity\t0')"
# Both are started without waiting for them: give them a moment to note themselves.
wait_until 20 grep -q unins000 "$app/started.log"
check_eq "and starting the service program, then the uninstaller" "$(tr -d '\r' <"$app/started.log")" \
    "$(printf 'ulksrv.exe /un\nunins000.exe')"

finish
