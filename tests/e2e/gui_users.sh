#!/usr/bin/env bash
# The user-groups page and the user selector through mrf.exe's real windows: the live user list of
# the prefix, a group added through the name dialog by real keys, a refused name, the logged-on user
# put into the group and saved, the selector choosing another rule set, the next start applying the
# group's rules to the reference engine, and a deleted group taking its membership with it.
set -u
source "$MRF_SOURCE/tests/harness/assert.sh"
name=mrf-e2e-users
source "$MRF_SOURCE/tests/harness/gui.sh"
trap teardown_app EXIT
setup_app
check "the Wine user is known" test -n "$user"

IDOK=1
CMD_SAVE=$(rid ID_CMD_SAVE) CMD_EXIT=$(rid ID_CMD_EXIT) CMD_GO=$(rid ID_CMD_GO)
PAGES=$(rid IDC_PAGES) SELUSER=$(rid IDC_SELUSER) DIRLIST=$(rid IDC_DIRLIST)
USERLIST=$(rid IDC_USERLIST) USERLABEL=$(rid IDC_USERLABEL) GROUPSBOX=$(rid IDC_USERGROUPSBOX)
ADDGROUP=$(rid IDC_ADDGROUP) DELGROUP=$(rid IDC_DELGROUP) TEXTEDIT=$(rid IDC_TEXTEDIT)
TEXTEDITEXT=$(rid IDC_TEXTEDITEXT) GROUPSLISTBOX=$(rid IDC_GROUPSLISTBOX)

stored() { ctl get "$winapp\\mrf.dat" "$1" "<absent>"; }
users() { ui rows "$(ui item "$win" $USERLIST)" | cut -f2-; }
folders() { ui rows "$(ui item "$win" $DIRLIST)" | cut -f3; }
items() { ui items "$(ui item "$win" "$1")"; }
# The window with the users page shown; sets $win and $page.
open_users_page() {
    mrf_bg
    win=$(ui wait $main_class Umberlock 15000)
    # The second tab, clicked as a person does.
    local dx dy l t
    read -r dx dy <<<"$(desk_origin)"
    read -r l t _ _ <<<"$(ui rect "$(ui item "$win" $PAGES)")"
    click_at $((dx + l + 125)) $((dy + t + 10))
    page=$(ui parent "$(ui item "$win" $USERLIST)")
}

# The prefix's profile list holds the Wine user's profile under its security identifier.
check "the prefix's profile list holds a user's identifier" \
    grep -q 'ProfileList\\S-1-5-21-' <<<"$(wrun reg query 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\ProfileList')"

K=$user
seed "#S=#S" "LocalUserList0=ghost" "UserGroup_Count=1" "UserGroup_0=Pupils" "UserGroup_0_Descr=" \
    "Pupils_FL_Count=1" "Pupils_FL_0_folder=C:\\Pupils" "Pupils_FL_0_mode=2" \
    "Staff_FL_Count=1" "Staff_FL_0_folder=C:\\Staff" "Staff_FL_0_mode=1" \
    "${K}_FL_Count=1" "${K}_FL_0_folder=C:\\Own" "${K}_FL_0_mode=1"
open_users_page
check "the window is shown" test -n "$win"
check "the users page is there" test -n "$page"
check "a click on its tab shows it" wait_until 5 ui visible "$page"
# The live list wins over the stored one: the profile list's user, not "ghost".
check_eq "the page lists the live users, the first selected" "$(users)" "1${T}${K}${T}Not in any group"
check_eq "the label names the selected user" "$(ui gettext "$page" $USERLABEL)" \
    "Select a group for the user \"$K\""
check_eq "the group box offers no group, the guest group and the catalogue" "$(items $GROUPSBOX)" \
    "1${T}Not in any group
0${T}Guest group
0${T}Pupils"
check_eq "the selector offers the groups and the user, the user selected" "$(items $SELUSER)" \
    "0${T}Guest group
0${T}Pupils
1${T}${K}"

ui command "$win" $CMD_GO
own_active() { active | grep -q 'C:\\Own'; }
check "protection starts with the user's own rules" wait_until 10 own_active

# A group added through the name dialog, typed and confirmed with real keys.
ui click "$page" $ADDGROUP
dlg=$(ui wait '#32770' 'Add Group' 10000)
check "Add Group opens the name dialog" test -n "$dlg"
dlg_focus_is() { [[ "$(ui focus "$dlg" | cut -d' ' -f1)" == "$1" ]]; }
check "its name field has the focus" wait_until 5 dlg_focus_is $TEXTEDIT
type_text " Staff "
key Tab
type_text "Teachers"
key Return
check "Enter confirms the dialog" ui gone "$dlg" 5000
check_eq "the group box offers the new group at once" "$(items $GROUPSBOX | cut -f2 | tail -1)" "Staff"
check "the selector only at its next refill" test -z "$(items $SELUSER | grep Staff)"

# A refused name: the message says why and nothing is added.
ui click "$page" $ADDGROUP
dlg=$(ui wait '#32770' 'Add Group' 10000)
ui settext "$dlg" $TEXTEDIT "a=b"
ui click "$dlg" $IDOK
box=$(ui wait '#32770' Umberlock 5000)
check_eq "a name with \"=\" is refused with its reason" "$(ui gettext "$box" 65535)" \
    "The group name \"a=b\" may not contain \"=\"."
ui command "$box" $IDOK
ui gone "$box" 5000
# An existing name keeps its own message.
ui click "$page" $ADDGROUP
dlg=$(ui wait '#32770' 'Add Group' 10000)
ui settext "$dlg" $TEXTEDIT "Pupils"
ui click "$dlg" $IDOK
box=$(ui wait '#32770' Umberlock 5000)
check_eq "an existing name is refused" "$(ui gettext "$box" 65535)" "The group name \"Pupils\" is exists !"
ui command "$box" $IDOK
ui gone "$box" 5000
check_eq "neither was added" "$(items $GROUPSBOX | cut -f2 | tr '\n' ' ')" \
    "Not in any group Guest group Pupils Staff "

# The logged-on user, the displayed rule key, goes into the group.
ui pick "$(ui item "$win" $GROUPSBOX)" Staff
staff_row() { [[ "$(users)" == "1${T}${K}${T}Staff" ]]; }
check "the row shows the user's group" wait_until 5 staff_row
check_eq "the selector shows the group, the user no longer" "$(items $SELUSER)" \
    "0${T}Guest group
0${T}Pupils
1${T}Staff"
check_eq "the folder list shows the group's rules" "$(folders)" 'C:\Staff'
ui command "$win" $CMD_SAVE
saved() { [[ "$(stored "${K}_UserGroup")" == Staff ]]; }
check "Save stores the membership" wait_until 10 saved
check_eq "and the catalogue" \
    "$(stored UserGroup_Count) $(stored UserGroup_1) $(stored UserGroup_1_Descr)" "2 Staff Teachers"
check "protection still runs the rules resolved at the start" own_active

# Another rule key chosen in the selector: its folder list.
ui pick "$(ui item "$win" $SELUSER)" Pupils
pupils_shown() { [[ "$(folders)" == 'C:\Pupils' ]]; }
check "the selector shows the chosen rule set" wait_until 5 pupils_shown
sleep 0.5
check_eq "choosing modifies nothing" "$(ui tbenabled "$win" $(rid IDC_TOOLBAR) $(rid ID_BTN_SAVE))" 0

ui command "$win" $CMD_EXIT
check "Exit ends the program" ended "$last" 20

# The next start applies the group's rules.
mrf_bg /T
staff_active() { active | grep -q 'C:\\Staff'; }
check "the logon run applies the group's rules" wait_until 20 staff_active
check "and no longer the user's own" test -z "$(active | grep 'C:\\Own')"
stop_all

# Deleting the group takes the membership with it.
open_users_page
ui click "$page" $DELGROUP
dlg=$(ui wait '#32770' 'Delete the group' 10000)
check "Delete opens the group list" test -n "$dlg"
check_eq "it lists the catalogue, the first selected" "$(ui items "$(ui item "$dlg" $GROUPSLISTBOX)")" \
    "1${T}Pupils
0${T}Staff"
ui select "$(ui item "$dlg" $GROUPSLISTBOX)" 1
key Return
check "Enter confirms" ui gone "$dlg" 5000
no_group_row() { [[ "$(users)" == "1${T}${K}${T}Not in any group" ]]; }
check "the user is in no group any more" wait_until 5 no_group_row
check_eq "the group box no longer offers it" "$(items $GROUPSBOX | cut -f2 | tr '\n' ' ')" \
    "Not in any group Guest group Pupils "
ui command "$win" $CMD_SAVE
gone_saved() { [[ "$(stored "${K}_UserGroup")" == "<absent>" ]]; }
check "Save removes the membership" wait_until 10 gone_saved
check_eq "and the group" "$(stored UserGroup_Count) $(stored UserGroup_1)" "1 <absent>"
check_eq "its rules stay under its name" "$(stored Staff_FL_0_folder)" 'C:\Staff'

finish
