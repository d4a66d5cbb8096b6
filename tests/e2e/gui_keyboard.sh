#!/usr/bin/env bash
# mrf.exe driven by real keys and clicks on the virtual desktop (xdotool): the focus comes back to
# the folder list after a dialog, a message box and the tray; Tab moves through a page; Shift+F10
# and the menu key open the list's pop-up menu; a check box clicked on a row that is not selected is
# recorded and saved; a malformed value is told once.
set -u
source "$MRF_SOURCE/tests/harness/assert.sh"
name=mrf-e2e-keyboard
source "$MRF_SOURCE/tests/harness/gui.sh"
trap teardown_app EXIT
setup_app

CMD_SAVE=$(rid ID_CMD_SAVE) CMD_ADD=$(rid ID_CMD_ADDFOLDER) CMD_REMOVE=$(rid ID_CMD_REMOVEF)
CMD_MINIMIZE=$(rid ID_CMD_MINIMIZE) CMD_PROOPT=$(rid ID_CMD_PROOPT) TRAY_SETTINGS=$(rid ID_TRAY_SETTINGS)
BTN_DELETE=$(rid ID_BTN_DELETE) BTN_SAVE=$(rid ID_BTN_SAVE)
DIRLIST=$(rid IDC_DIRLIST) MINI=$(rid IDC_MINI) NEWUSERS=$(rid IDC_NEWUSERS)

rows() { ui rows "$win"; }
selected_row() { rows | awk -F'\t' '$2 == 1 {print NR - 1; exit}'; }
selected_is() { [[ "$(selected_row)" == "$1" ]]; }
focus_is() { [[ "$(ui focus "$win" | cut -d' ' -f1)" == "$1" ]]; }
# The focus has come back; the window finishes its activation before the next key.
has_focus() { wait_until 10 focus_is "$1" && sleep 0.3; }
enabled_is() { [[ "$(ui tbenabled "$win" $IDC_TOOLBAR "$1")" == "$2" ]]; }
no_box() { ! ui find '#32770' Umberlock; }
K=$user

# Four entries; the second one's mode is not a number, which the start-up meets three times (the
# list, Start's refill, the engine bridge).
seed "#S=#S" "${K}_FL_Count=4" "${K}_FL_0_folder=C:\\A" "${K}_FL_0_mode=1" "${K}_FL_1_folder=C:\\B" \
    "${K}_FL_1_mode=x" "${K}_FL_2_folder=C:\\C" "${K}_FL_2_mode=2" "${K}_FL_3_folder=C:\\D" "${K}_FL_3_mode=1"
mrf_bg
win=$(ui wait $main_class Umberlock 15000)
check "the window is shown" test -n "$win"
box=$(ui wait '#32770' Umberlock 10000)
check "the malformed mode is told" test -n "$box"
check "naming the setting" grep -q "${K}_FL_1_mode" <<<"$(ui gettext "$box" 65535)"
key Return
check "Enter closes the message" ui gone "$box" 5000
sleep 1
check "and it is told once" no_box
check "the folder list has the focus after start-up" has_focus "$DIRLIST"
check "Delete is enabled for the selected row" wait_until 10 enabled_is $BTN_DELETE 1

# Add, then Escape: the list has the focus again; Down and the tool bar's Delete act on it.
ui command "$win" $CMD_ADD
dlg=$(ui wait '#32770' 'Add Folder' 10000)
check "Add opens the folder dialog" test -n "$dlg"
key Escape
check "Escape closes it" ui gone "$dlg" 5000
check "the list has the focus again" has_focus "$DIRLIST"
key Down
check "Down moves the selection" wait_until 5 selected_is 1
check "Delete stays enabled" wait_until 5 enabled_is $BTN_DELETE 1
read -r dx dy <<<"$(desk_origin)"
read -r tx ty <<<"$(ui tbpoint "$win" $IDC_TOOLBAR $BTN_DELETE)"
click_at $((dx + tx)) $((dy + ty))
row_count_is() { [[ $(rows | wc -l) == "$1" ]]; }
check "Delete removes the selected row" wait_until 5 row_count_is 3
check_eq "the second row went" "$(rows | cut -f3)" "C:\\A
C:\\C
C:\\D"

# The pop-up menu from the keyboard.
key shift+F10
menu=$(ui wait '#32768' - 5000)
check "Shift+F10 opens the pop-up menu" test -n "$menu"
key Escape
check "Escape closes it" ui hidden "$menu" 5000
key Menu
menu=$(ui wait '#32768' - 5000)
check "the menu key opens it too" test -n "$menu"
key Escape
ui hidden "$menu" 5000

# Back from the tray, the list has the focus.
ui command "$win" $CMD_MINIMIZE
check "Minimize hides the window" ui hidden "$win" 5000
ui command "$win" $TRAY_SETTINGS
ui wait $main_class Umberlock 10000 >/dev/null
check "back from the tray the list has the focus" has_focus "$DIRLIST"
before=$(selected_row)
key Down
check "and Down moves the selection" wait_until 5 selected_is $((before + 1))

# A check box clicked on a row that is not selected: removing the first row leaves none selected.
ui command "$win" $CMD_SAVE
save_is() { enabled_is $BTN_SAVE "$1"; }
wait_until 10 save_is 0
key Home
wait_until 5 selected_is 0
ui command "$win" $CMD_REMOVE
wait_until 5 row_count_is 2
check_eq "no row is selected after removing the first" "$(selected_row)" ""
ui command "$win" $CMD_SAVE
wait_until 10 save_is 0
read -r bx by <<<"$(ui boxpoint "$win" 0)"
click_at $((dx + bx)) $((dy + by))
box_clear() { [[ $(rows | head -1 | cut -f1) == 0 ]]; }
check "the click clears the box" wait_until 5 box_clear
check "selects the row" wait_until 5 selected_is 0
check "and marks the window modified" wait_until 5 save_is 1
ui command "$win" $CMD_SAVE
wait_until 10 save_is 0
check_eq "Save stores the cleared box" "$(ctl get "$winapp\\mrf.dat" "${K}_FL_0_enabled" absent)" 0

# On the options page, after a message box, Tab moves on from the control that had the focus. The
# box: another program saves a malformed mode, which the next Save takes in and the list tells.
ui command "$win" $CMD_PROOPT
check "the options page's first box has the focus" has_focus "$MINI"
check_eq "the autorun box shows \"Auto\" as the start-up's Start left it" "$(ui checked "$win" $NEWUSERS)" 1
ctl set "$winapp\\mrf.dat" "${K}_FL_1_mode" y >/dev/null
ui command "$win" $CMD_SAVE
box=$(ui wait '#32770' Umberlock 10000)
check "Save tells the malformed mode it took in" test -n "$box"
key Return
ui gone "$box" 5000
sleep 1
check "once" no_box
check "the focus is back on the box" has_focus "$MINI"
key Tab
check "Tab moves to the next box" wait_until 5 focus_is "$NEWUSERS"

ui command "$win" $ID_CMD_EXIT
check "Exit ends the program" ended "$last" 20
finish
