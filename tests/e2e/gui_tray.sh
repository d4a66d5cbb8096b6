#!/usr/bin/env bash
# mrf.exe in the notification area: the logon run that stays, the way back behind the password
# (tray command and global hot key), the single instance, closing to the tray, window placement.
set -u
source "$MRF_SOURCE/tests/harness/assert.sh"
name=mrf-e2e-tray
source "$MRF_SOURCE/tests/harness/gui.sh"
trap teardown_app EXIT
setup_app

# A logon run with "Minimize" on stays, hidden, with its tray icon.
seed "#S=#S" Auto=1 Minimize=1 Password=Secret
mrf_bg /T
logon=$last
win=""
for _ in $(seq 100); do win=$(ui find $main_class Umberlock) && ui tray "$win" 1 && break; sleep 0.1; done
check "the logon run keeps running" kill -0 "$logon"
check "its window exists" test -n "$win"
check "hidden" bash -c "! '$MRF_WINE_ENV' run '$app/uidriver.exe' visible $win"
check "with the tray icon" ui tray "$win" 1

# A second start ends at once with code 0 and hands over its "/U".
mrf_fg /U
check_eq "a second start ends with code 0" $? 0
dlg=$(ui wait '#32770' Password 15000)
check "its /U reaches the running instance, which asks for the password" test -n "$dlg"
ui click "$dlg" 2
check "a refused prompt on that path ends the running instance" ended "$logon" 20

# The tray's "Settings ..." asks for the password; a wrong one keeps the window in the tray.
mrf_bg /T
logon=$last
for _ in $(seq 100); do win=$(ui find $main_class Umberlock) && ui tray "$win" 1 && break; sleep 0.1; done
ui command "$win" "$(rid ID_TRAY_SETTINGS)"
check "Settings asks for the password" answer_prompt nope
check "the wrong one is refused" dismiss_error
answer_prompt nope && dismiss_error
dlg=$(ui wait '#32770' Password 10000)
answer_prompt nope && dismiss_error
check "the third wrong password closes the prompt" ui gone "$dlg" 10000
check "the window stays in the tray" bash -c "! '$MRF_WINE_ENV' run '$app/uidriver.exe' visible $win"
check "with its icon" ui tray "$win" 1

# The global hot key (Ctrl+Alt+C, as real key presses) opens the prompt too.
key ctrl+alt+c
dlg=$(ui wait '#32770' Password 10000)
check "the hot key opens the password prompt" test -n "$dlg"
answer_prompt secret
shown=$(ui wait $main_class Umberlock 10000)
check "the right password shows the window" test "$shown" = "$win"
no_tray_icon() { ! ui tray "$1" 1; }
check "and takes the tray icon away" wait_until 10 no_tray_icon "$win"

# Closing the window with nothing unsaved hides it to the tray without a question.
ui post "$win" 16 0 0
check "closing hides the window" ui hidden "$win" 5000
check "to the tray" wait_until 10 ui tray "$win" 1
check "without a question" bash -c "! '$MRF_WINE_ENV' run '$app/uidriver.exe' find '#32770' Umberlock"
check "and the program goes on" kill -0 "$logon"
ui command "$win" "$(rid ID_TRAY_EXIT)" # behind the password
answer_prompt Secret
check "the tray's Exit ends the program after the password" ended "$logon" 20

# "ulk.ini" keeps a moved and resized window across a restart.
seed "#S=#S"
mrf_bg
win=$(ui wait $main_class Umberlock 15000)
ui move "$win" 40 30 700 560
ui command "$win" $ID_CMD_EXIT
check "Exit ends the program" ended "$last" 20
check "and writes ulk.ini" test -s "$app/ulk.ini"
mrf_bg
win=$(ui wait $main_class Umberlock 15000)
check_eq "the next start restores the window" "$(ui rect "$win")" "40 30 740 590"
ui command "$win" $ID_CMD_EXIT
ended "$last" 20
printf '[main]\r\nMainForm\\Left=5000\r\nMainForm\\Top=4000\r\nMainForm\\Width=700\r\nMainForm\\Height=560\r\n' >"$app/ulk.ini"
mrf_bg
win=$(ui wait $main_class Umberlock 15000)
read -r l t r b <<<"$(ui rect "$win")"
check "a position off every monitor is brought back on screen" test "$l" -ge 0 -a "$t" -ge 0 -a "$r" -le 1024 -a "$b" -le 768
ui command "$win" $ID_CMD_EXIT
ended "$last" 20

finish
