#!/usr/bin/env bash
# Skins and the about box: the skin list with the example file and without a malformed one, a skin
# chosen and saved is the one of the next start, the about box's version line, Escape closes it.
set -u
source "$MRF_SOURCE/tests/harness/assert.sh"
name=mrf-e2e-skins
source "$MRF_SOURCE/tests/harness/gui.sh"
trap teardown_app EXIT
setup_app
display=$(cat "$MRF_WINE_ROOT/state/display")
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
DISPLAY=$display xdotool key --clearmodifiers Escape
check "Escape closes it" ui gone "$about" 5000
stop_all

# The next start uses the saved skin.
open_window
skin_dialog
check_eq "the next start uses the saved skin" "$(ui gettext "$dlg" "$CMB")" "Teal"
ui click "$dlg" 2
stop_all

finish
