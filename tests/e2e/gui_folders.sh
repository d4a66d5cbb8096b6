#!/usr/bin/env bash
# The folder list and its dialogs driven through mrf.exe's real windows: a folder added with a
# mode, a preset mask and advanced exclusions, saved and handed to the reference engine; Cancel
# and Enter in both dialogs; edit, check boxes, delete and the close question.
set -u
source "$MRF_SOURCE/tests/harness/assert.sh"
name=mrf-e2e-folders
source "$MRF_SOURCE/tests/harness/gui.sh"
trap teardown_app EXIT
setup_app
check "the Wine user is known" test -n "$user"

# System ids, then mrf.exe's control and command ids from its resource header.
IDOK=1 IDCANCEL=2 IDNO=7 WM_CLOSE=16 VK_RETURN=13
CMD_SAVE=$(rid ID_CMD_SAVE) CMD_EXIT=$(rid ID_CMD_EXIT) CMD_ADD=$(rid ID_CMD_ADDFOLDER)
CMD_REMOVE=$(rid ID_CMD_REMOVEF) CMD_EDIT=$(rid ID_CMD_EDITFOLDER) TRAY_SETTINGS=$(rid ID_TRAY_SETTINGS)
TOOLBAR=$(rid IDC_TOOLBAR) BTN_SAVE=$(rid ID_BTN_SAVE)
PATH_EDIT=$(rid IDC_DIRECTORYEDIT1) MODE_RO=$(rid IDC_PROTECTMODE_0) MODE_HIDE=$(rid IDC_PROTECTMODE_1)
MASK_FIRST=$(rid IDC_RADIOGROUP1_0) MASK_DOCS=$(rid IDC_RADIOGROUP1_3) MASK_CUSTOM=$(rid IDC_RADIOGROUP1_5)
MASK_EDIT=$(rid IDC_MASKEDIT) BTN_ADVANCED=$(rid IDC_BTNADVANCED) BTN_OK=$(rid IDC_OKBTN)
DIR_LABEL=$(rid IDC_DIRLABEL) EXCL_FILES=$(rid IDC_EXCLFILESEDIT) INCL_PROC=$(rid IDC_INCLPROCEDIT)
EXCL_PROC=$(rid IDC_EXCLPROCEDIT)

rows() { ui rows "$win"; }
row_selected() { [[ $(rows | sed -n "$(($1 + 1))p" | cut -f2) == 1 ]]; }
save_enabled() { ui tbenabled "$win" $TOOLBAR $BTN_SAVE; }
# Conditions to wait for: evaluated afresh at every try.
save_is() { [[ $(save_enabled) == "$1" ]]; }
row_count_is() { [[ $(rows | wc -l) == "$1" ]]; }
stored() { ctl list "$winapp\\mrf.dat" "${user}_FL_"; }
folder_dialog() { ui wait '#32770' 'Add Folder' 10000; }
advanced_dialog() { ui wait '#32770' 'Advanced folder options' 10000; }
fields() { # dialog ids...: "id=text" per field
    local d=$1 id
    shift
    for id in "$@"; do echo "$id=$(ui gettext "$d" "$id")"; done
}

K=$user
seed "#S=#S" "${K}_FL_Count=2" "${K}_FL_0_folder=C:\\Docs" "${K}_FL_0_mode=1" \
    "${K}_FL_1_folder=D:\\Secret" "${K}_FL_1_mode=2" "${K}_FL_1_enabled=0" "${K}_FL_1_mask=*.doc"
mrf_bg
win=$(ui wait $main_class Umberlock 15000)
check "the window is shown" test -n "$win"
list=$(ui child "$win" SysListView32)
check_eq "the list shows the stored entries, the first selected" "$(rows)" \
    "1${T}1${T}C:\\Docs${T}RO${T}*${T}*${T}${T}
0${T}0${T}D:\\Secret${T}H${T}*.doc${T}*${T}${T}"
check_eq "nothing to save yet" "$(save_enabled)" 0

# Add: Enter does nothing in the folder dialog; an empty path is refused.
ui command "$win" $CMD_ADD
dlg=$(folder_dialog)
check "Add opens the folder dialog" test -n "$dlg"
# The list has the focus from the start, so Add starts from the selected row's path.
check_eq "it starts with the selected row's path, read-only, with the first mask choice" \
    "$(ui gettext "$dlg" $PATH_EDIT) $(ui checked "$dlg" $MODE_RO) $(ui checked "$dlg" $MASK_FIRST) $(ui gettext "$dlg" $MASK_EDIT) $(ui enabled "$dlg" $MASK_EDIT)" \
    'C:\Docs 1 1 * 0'
ui key "$dlg" $PATH_EDIT $VK_RETURN
sleep 0.5
check "Enter leaves the folder dialog open" ui visible "$dlg"
ui settext "$dlg" $PATH_EDIT "   "
ui click "$dlg" $BTN_OK
box=$(ui wait '#32770' Umberlock 5000)
check_eq "a path of blanks is refused" "$(ui gettext "$box" 65535)" "Please enter the folder path !"
ui command "$box" $IDOK
ui gone "$box" 5000
check "and the dialog stays open" ui visible "$dlg"
# A line break (a pasted text of two lines) would become a second settings line: refused.
ui settextcrlf "$dlg" $PATH_EDIT 'C:\Docs' 'Injected=1'
if [[ $(ui gettext "$dlg" $PATH_EDIT) == *$'\n'* ]]; then
    ui click "$dlg" $BTN_OK
    box=$(ui wait '#32770' Umberlock 5000)
    check_eq "a path with a line break is refused" "$(ui gettext "$box" 65535)" \
        "The folder path cannot contain line breaks."
    ui command "$box" $IDOK
    ui gone "$box" 5000
    check "and the dialog stays open again" ui visible "$dlg"
else
    echo "skipped: this edit control drops line breaks"
fi

ui settext "$dlg" $PATH_EDIT 'C:\Shared\Docs'
ui press "$dlg" $MODE_HIDE
ui press "$dlg" $MASK_DOCS
sleep 0.3
check_eq "the documents preset fills the disabled mask field" \
    "$(ui gettext "$dlg" $MASK_EDIT) $(ui enabled "$dlg" $MASK_EDIT)" "*.doc;*.rtf;*.txt 0"

# Advanced: Enter accepts it; Cancel after editing keeps what was accepted.
ui click "$dlg" $BTN_ADVANCED
adv=$(advanced_dialog)
check_eq "the advanced dialog shows the path and three empty fields" \
    "$(fields "$adv" $DIR_LABEL $EXCL_FILES $INCL_PROC $EXCL_PROC)" \
    "$(printf '%s\n' "$DIR_LABEL=C:\\Shared\\Docs" "$EXCL_FILES=" "$INCL_PROC=" "$EXCL_PROC=")"
ui settext "$adv" $EXCL_FILES '~*.tmp'
ui settext "$adv" $INCL_PROC 'winword.exe'
ui settext "$adv" $EXCL_PROC 'backup.exe'
ui key "$adv" $EXCL_PROC $VK_RETURN
check "Enter closes the advanced dialog" ui gone "$adv" 5000
ui click "$dlg" $BTN_ADVANCED
adv=$(advanced_dialog)
accepted="$(printf '%s\n' "$EXCL_FILES=~*.tmp" "$INCL_PROC=winword.exe" "$EXCL_PROC=backup.exe")"
check_eq "and kept its texts" "$(fields "$adv" $EXCL_FILES $INCL_PROC $EXCL_PROC)" "$accepted"
ui settext "$adv" $EXCL_FILES 'changed'
ui settext "$adv" $INCL_PROC ''
ui click "$adv" $IDCANCEL
ui gone "$adv" 5000
ui click "$dlg" $BTN_ADVANCED
adv=$(advanced_dialog)
check_eq "Cancel in the advanced dialog changes nothing" "$(fields "$adv" $EXCL_FILES $INCL_PROC $EXCL_PROC)" \
    "$accepted"
ui click "$adv" $IDCANCEL
ui gone "$adv" 5000
ui click "$dlg" $BTN_OK
check "OK closes the folder dialog" ui gone "$dlg" 5000
# The window adds the row after the dialog has gone, and enables Save when idle again.
check "Save is enabled" wait_until 10 save_is 1

new_row="C:\\Shared\\Docs${T}H${T}*.doc;*.rtf;*.txt${T}winword.exe${T}~*.tmp${T}backup.exe"
check_eq "the new row is appended, ticked and selected" "$(rows | tail -1)" "1${T}1${T}$new_row"
check_eq "nothing is in the file before Save" "$(ctl get "$winapp\\mrf.dat" "${K}_FL_2_folder" absent)" absent

# Save with protection started: the file holds the entry in order, and Start hands it over.
rm -f "$app/calls.log"
ui command "$win" $CMD_SAVE
wait_until 10 save_is 0
check_eq "Save clears the modified state" "$(save_enabled)" 0
check_eq "the file holds the new entry in the order written, and the count" "$(stored)" \
    "${K}_FL_Count=3
${K}_FL_0_folder=C:\\Docs
${K}_FL_0_mode=1
${K}_FL_1_folder=D:\\Secret
${K}_FL_1_mode=2
${K}_FL_1_enabled=0
${K}_FL_1_mask=*.doc
${K}_FL_2_folder=C:\\Shared\\Docs
${K}_FL_2_mode=2
${K}_FL_2_enabled=1
${K}_FL_2_mask=*.doc;*.rtf;*.txt
${K}_FL_2_proc=winword.exe
${K}_FL_2_exlfiles=~*.tmp
${K}_FL_2_exlproc=backup.exe"
sent=$(calls | awk -F'\t' '$1 == "AddEntry"' | cut -f2-)
check_eq "Save started again with the saved rules" "$sent" "$(ctl rules "$winapp\\mrf.dat" "$K")"
check "among them the new folder's masks" grep -qF "2${T}C:\\Shared\\Docs\\*.rtf${T}~*.tmp${T}winword.exe${T}backup.exe" <<<"$sent"
check_eq "the engine enforces them" "$(active | head -1)" "enforcement: on"

# Edit by Enter on the list: the dialog opens from the entry with the custom mask choice; Cancel
# changes nothing.
ui rowclick "$win" 2
wait_until 5 row_selected 2
ui key "$list" 0 $VK_RETURN
dlg=$(folder_dialog)
check "Enter on the list edits the selected row" test -n "$dlg"
check_eq "with the stored path, mode and mask, the custom choice enabling the field" \
    "$(ui gettext "$dlg" $PATH_EDIT) $(ui checked "$dlg" $MODE_HIDE) $(ui checked "$dlg" $MASK_CUSTOM) $(ui gettext "$dlg" $MASK_EDIT) $(ui enabled "$dlg" $MASK_EDIT)" \
    'C:\Shared\Docs 1 1 *.doc;*.rtf;*.txt 1'
ui settext "$dlg" $PATH_EDIT 'E:\Elsewhere'
ui press "$dlg" $MODE_RO
ui click "$dlg" $IDCANCEL
check "Cancel closes the folder dialog" ui gone "$dlg" 5000
check_eq "and changes nothing" "$(rows | tail -1)" "1${T}1${T}$new_row"
check_eq "nor marks the window modified" "$(save_enabled)" 0

# Edit Folder: read-only, a custom mask and an emptied include-processes text; the box stays.
ui command "$win" $CMD_EDIT
dlg=$(folder_dialog)
ui press "$dlg" $MODE_RO
ui settext "$dlg" $MASK_EDIT '*.xls'
ui click "$dlg" $BTN_ADVANCED
adv=$(advanced_dialog)
ui settext "$adv" $INCL_PROC ''
ui click "$adv" $IDOK
ui gone "$adv" 5000
ui click "$dlg" $BTN_OK
ui gone "$dlg" 5000
wait_until 10 save_is 1 # the row is refilled before the window is idle again
check_eq "the edited row shows the new texts" "$(rows | tail -1)" \
    "1${T}1${T}C:\\Shared\\Docs${T}RO${T}*.xls${T}*${T}~*.tmp${T}backup.exe"

# Check boxes: selecting writes nothing, a tick is recorded.
ui command "$win" $CMD_SAVE
wait_until 10 save_is 0
ui rowclick "$win" 1
wait_until 5 row_selected 1
check_eq "selecting a row marks nothing" "$(save_enabled)" 0
ui listcheck "$win" 1 1
wait_until 5 save_is 1
check_eq "ticking a box marks the window modified" "$(save_enabled)" 1

# Delete the middle entry, then save: the last one moves down with all its keys.
ui command "$win" $CMD_REMOVE
wait_until 5 row_count_is 2
check_eq "Delete removes the row and selects the first" "$(rows | cut -f1-3)" \
    "1${T}1${T}C:\\Docs
1${T}0${T}C:\\Shared\\Docs"
ui command "$win" $CMD_SAVE
wait_until 10 save_is 0
check_eq "the file holds two entries, renumbered" "$(stored)" \
    "${K}_FL_Count=2
${K}_FL_0_folder=C:\\Docs
${K}_FL_0_mode=1
${K}_FL_1_folder=C:\\Shared\\Docs
${K}_FL_1_mode=1
${K}_FL_1_enabled=1
${K}_FL_1_mask=*.xls
${K}_FL_1_proc=*
${K}_FL_1_exlfiles=~*.tmp
${K}_FL_1_exlproc=backup.exe"

# The close question: Cancel keeps the window on screen, No hides it with the changes unsaved.
ui listcheck "$win" 0 0
wait_until 5 save_is 1
ui post "$win" $WM_CLOSE 0 0
box=$(ui wait '#32770' Umberlock 5000)
check_eq "closing with changes asks" "$(ui gettext "$box" 65535)" "Do you want to save modifications ?"
ui command "$box" $IDCANCEL
ui gone "$box" 5000
sleep 0.3
check "Cancel leaves the window on screen" ui visible "$win"
ui post "$win" $WM_CLOSE 0 0
box=$(ui wait '#32770' Umberlock 5000)
ui command "$box" $IDNO
check "No hides the window" ui hidden "$win" 5000
check "the program goes on" kill -0 "$last"
check_eq "the change is not saved" "$(ctl get "$winapp\\mrf.dat" "${K}_FL_0_enabled" absent)" absent
ui command "$win" $TRAY_SETTINGS
wait_until 5 ui visible "$win"
check_eq "Save is still enabled afterwards" "$(save_enabled)" 1

ui command "$win" $CMD_EXIT
check "Exit ends the program" ended "$last" 20
finish
