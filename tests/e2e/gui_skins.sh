#!/usr/bin/env bash
# Skins and the about box: the skin list with the example file and without a malformed one, a skin
# chosen and saved is the one of the next start, the about box's version line, Escape closes it;
# the dark skin leaves no light control behind.
set -u
source "$MRF_SOURCE/tests/harness/assert.sh"
name=mrf-e2e-skins
source "$MRF_SOURCE/tests/harness/gui.sh"
trap teardown_app EXIT
setup_app
mkdir -p "$app/Skins"
cp "$MRF_SOURCE/skins/Teal.skin" "$app/Skins/"
printf 'window=#000000\nthis line is no setting\n' >"$app/Skins/Broken.skin"
version=$(sed -n 's/^project(Marrowfold VERSION \([0-9.]*\).*/\1/p' "$MRF_SOURCE/CMakeLists.txt").0
CMB=$(rid IDC_SCOMBOBOX1) VER=$(rid IDC_VERSION)

open_window() {
    mrf_bg
    answer_prompt Secret || return 1
    win=$(ui wait $main_class Umberlock 15000)
}
skin_dialog() {
    ui command "$win" "$(rid ID_CMD_SKIN)"
    dlg=$(ui wait '#32770' 'Select skin' 10000)
}

seed "#S=#S" Password=Secret
open_window
check "the window opens" test -n "$win"
skin_dialog
check "Change skin opens the dialog" test -n "$dlg"
check_eq "a first start uses the light built-in skin" "$(ui gettext "$dlg" "$CMB")" "WMP 2008 (internal)"
# Sorted: Office2007 Black (internal), Teal, WMP 2008 (internal); Broken.skin is skipped.
combo=$(ui child "$dlg" ComboBox)
ui post "$combo" 0x14E 1 0 # CB_SETCURSEL
check_eq "the example skin is listed second" "$(ui gettext "$dlg" "$CMB")" "Teal"
ui click "$dlg" 1
check "OK closes the dialog" ui gone "$dlg" 5000
ui command "$win" "$(rid ID_CMD_SAVE)"
check "the choice is saved" wait_until 10 bash -c "[[ \$('$MRF_WINE_ENV' run '$app/mrfctl.exe' get '$winapp\\mrf.dat' SkinName 2>/dev/null | tr -d '\r') == Teal ]]"

# The about box.
ui command "$win" "$(rid ID_CMD_ABOUT)"
about=$(ui wait '#32770' About 10000)
check "About... opens the about box" test -n "$about"
check_eq "its version line" "$(ui gettext "$about" "$VER")" "Version ${version%.*.*} (Build $version)"
key Escape
check "Escape closes it" ui gone "$about" 5000
stop_all

# The next start uses the saved skin.
open_window
skin_dialog
check_eq "the next start uses the saved skin" "$(ui gettext "$dlg" "$CMB")" "Teal"
ui click "$dlg" 2
stop_all

# The dark skin leaves no light control behind: the menu bar and every visible control of the
# window, a dialog with group boxes and edit fields, the skin dialog and the about box are mostly
# dark (their light pixels are text and edges). The share is of client areas, so the list view's
# scroll bars, which the system draws, are not counted.
dark="Office2007 Black (internal)"
seed "#S=#S" Password=Secret "SkinName=$dark"
light_controls() { # window: the controls with half their pixels or more light
    local share id cls
    ui light "$1" | while read -r share id cls; do ((share >= 50)) && echo "$share% $id $cls"; done
}
open_window
sleep 2 # painted
check_eq "no light control in the dark window" "$(light_controls "$win")" ""
check "the dark window's menu bar is measured" bash -c "'$MRF_WINE_ENV' run '$app/uidriver.exe' light $win 2>/dev/null | grep -q MenuBar"
for cmd in ID_CMD_ADDFOLDER ID_CMD_SKIN; do
    ui command "$win" "$(rid $cmd)"
    dlg=$(ui wait '#32770' "$([[ $cmd == ID_CMD_SKIN ]] && echo 'Select skin' || echo 'Add Folder')" 10000)
    sleep 1
    check_eq "no light control in the dark dialog of $cmd" "$(light_controls "$dlg")" ""
    ui click "$dlg" 2
    ui gone "$dlg" 5000
done
# The owner-drawn menu bar still works from the keyboard: F10, Right to Help, Down opens it, Up to
# its last item, Enter.
key F10 Right Right Right Right Right Down
check "F10, Right and Down open a menu of the drawn menu bar" test -n "$(ui wait '#32768' - 5000)"
key Up Return
about=$(ui wait '#32770' About 10000)
check "its last item opens the about box" test -n "$about"
check_eq "no light control in the dark about box" "$(light_controls "$about")" ""
key Escape
stop_all

finish
