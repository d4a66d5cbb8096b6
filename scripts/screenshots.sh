#!/usr/bin/env bash
# Pictures of mrf.exe for the README, taken under Wine in an environment of their own: the
# password prompt, the main window with a small folder list, the folder dialog, the advanced
# folder options dialog and the password definition in the light skin; the user-groups page with
# its two dialogs; the main window in each skin (the two built-in ones and the example file), the
# skin dialog and the about box. Needs a Windows build (scripts/build.sh).
#   scripts/screenshots.sh [OUTPUT_FOLDER]   (default docs/screenshots)
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:-docs/screenshots}
# The shipped 32-bit programs under the 32-bit Wine; the 64-bit build where 32-bit cannot run.
# MRF_WINE_ARCH=win64 takes the 64-bit build on any machine.
if [[ ${MRF_WINE_ARCH:-} != win64 ]] && scripts/can-run-32bit.sh >/dev/null; then
    export MRF_WINE_ARCH=win32 bin=${MRF_BIN:-$PWD/build/windows/bin}
else
    export MRF_WINE_ARCH=win64 bin=${MRF_BIN:-$PWD/build/windows64/bin}
fi
for f in mrf.exe vexcore.dll mrfctl.exe uidriver.exe; do
    [[ -f $bin/$f ]] || { echo "missing $bin/$f: run scripts/build.sh first" >&2; exit 1; }
done

export MRF_WINE_ROOT=$PWD/build/screenshots/wine-$MRF_WINE_ARCH
env=$PWD/tests/harness/wine-env.sh
run() { "$env" run "$@" 2>/dev/null | tr -d '\r'; }
folder=$MRF_WINE_ROOT/prefix/drive_c/Marrowfold
w='C:\Marrowfold'
ui() { run "$folder/uidriver.exe" "$@"; }
mrf_pid=
cleanup() {
    [[ -n $mrf_pid ]] && kill "$mrf_pid" 2>/dev/null || true
    run sc delete ZFPUni >/dev/null || true
    "$env" down >/dev/null
}
trap cleanup EXIT
"$env" up >/dev/null
display=$(cat "$MRF_WINE_ROOT/state/display")

rm -rf "$folder"
mkdir -p "$folder" "$out"
cp "$bin"/{mrf.exe,vexcore.dll,mrfctl.exe,uidriver.exe} "$folder"/
mkdir -p "$folder/Skins"
cp skins/*.skin "$folder/Skins/"
printf 'state=state\\vexcore.state\r\nlog=calls.log\r\n' >"$folder/vexcore.ini"
# The reference engine looks for the driver's registration; with it protection starts.
run sc create ZFPUni type= kernel binpath= 'C:\windows\system32\drivers\ZFPUni.sys' >/dev/null
user=$(run cmd /c 'echo %USERNAME%')
printf '%s\r\n' "Password=Secret" "${user}_FL_Count=4" \
    'FL_0_folder=C:\School\Exams\' "FL_0_mode=2" \
    'FL_1_folder=C:\School\Templates' "FL_1_mode=1" "FL_1_mask=*.dot;*.xlt" \
    'FL_2_folder=C:\School\Shared' "FL_2_mode=1" "FL_2_mask=*.doc;*.rtf;*.txt" 'FL_2_exlproc=grader.exe' \
    'FL_3_folder=D:\Games' "FL_3_mode=2" "FL_3_enabled=0" \
    "UserGroup_Count=2" "UserGroup_0=Teachers" "UserGroup_0_Descr=" "UserGroup_1=Pupils" "UserGroup_1_Descr=" |
    sed "s/^FL_/${user}_FL_/" |
    run "$w\\mrfctl.exe" encode "$w\\mrf.dat"

# One window, cut out of the virtual desktop with a small margin.
shot() { # name hwnd
    local l t r b
    read -r l t r b <<<"$(ui rect "$2")"
    l=$((l > 8 ? l - 8 : 0)) t=$((t > 8 ? t - 8 : 0))
    sleep 0.5
    DISPLAY=$display import -window root -crop "$((r - l + 8))x$((b - t + 8))+$l+$t" +repage "$out/$1.png"
    echo "$out/$1.png"
}

"$env" run "$w\\mrf.exe" >/dev/null 2>&1 &
mrf_pid=$!
prompt=$(ui wait '#32770' Password 20000)
ui settext "$prompt" 3002 Secret
shot password-prompt "$prompt"
ui click "$prompt" 1
win=$(ui wait TMainForm Umberlock 15000)
ui rowclick "$win" 2
shot main-window "$win"

ui command "$win" 40011 # Add Folder
dlg=$(ui wait '#32770' 'Add Folder' 10000)
ui settext "$dlg" 411 'C:\School\Homework'
ui press "$dlg" 415 # hide folder
ui press "$dlg" 424 # documents
shot folder-dialog "$dlg"
ui click "$dlg" 432 # Advanced
adv=$(ui wait '#32770' 'Advanced folder options' 10000)
ui settext "$adv" 452 '~*.tmp'
ui settext "$adv" 454 '*'
ui settext "$adv" 456 'grader.exe;backup.exe'
shot advanced-dialog "$adv"
ui click "$adv" 2
ui gone "$adv" 5000
ui click "$dlg" 2
ui gone "$dlg" 5000

ui command "$win" 40010 # Administrator's Password
def=$(ui wait '#32770' 'Administrator Password' 10000)
ui settext "$def" 3103 Secret
shot password-definition "$def"
ui click "$def" 2
ui gone "$def" 5000

# The user-groups page and its dialogs.
rid() { awk -v n="$1" '$1 == "#define" && $2 == n {print $3; exit}' src/mrf/resource.h; }
# The second tab, clicked as a person does.
read -r l t _ _ <<<"$(ui rect "$(ui item "$win" "$(rid IDC_PAGES)")")"
DISPLAY=$display xdotool mousemove $((l + 125)) $((t + 10)) click 1
sleep 1
page=$(ui parent "$(ui item "$win" "$(rid IDC_USERLIST)")")
shot users-page "$win"
ui click "$page" "$(rid IDC_ADDGROUP)"
dlg=$(ui wait '#32770' 'Add Group' 10000)
ui settext "$dlg" "$(rid IDC_TEXTEDIT)" 'Office staff'
ui settext "$dlg" "$(rid IDC_TEXTEDITEXT)" 'Secretaries and the bursar'
shot group-name-dialog "$dlg"
ui click "$dlg" 2
ui gone "$dlg" 5000
ui click "$page" "$(rid IDC_DELGROUP)"
dlg=$(ui wait '#32770' 'Delete the group' 10000)
shot group-list-dialog "$dlg"
ui click "$dlg" 2
ui gone "$dlg" 5000

ui command "$win" 40003 # Exit
wait "$mrf_pid" 2>/dev/null || true
mrf_pid=

# The main window in each skin, chosen through the settings file as a saved choice would be.
open_main() {
    "$env" run "$w\\mrf.exe" >/dev/null 2>&1 &
    mrf_pid=$!
    prompt=$(ui wait '#32770' Password 20000)
    ui settext "$prompt" 3002 Secret
    ui click "$prompt" 1
    win=$(ui wait TMainForm Umberlock 15000)
    ui rowclick "$win" 2
}
close_main() {
    ui command "$win" 40003 # Exit
    wait "$mrf_pid" 2>/dev/null || true
    mrf_pid=
}
for skin in "Office2007 Black (internal)" "WMP 2008 (internal)" Teal; do
    run "$w\\mrfctl.exe" set "$w\\mrf.dat" SkinName "$skin"
    open_main
    file=$(tr 'A-Z' 'a-z' <<<"${skin% (internal)}" | tr -c 'a-z0-9\n' '-')
    shot "skin-$file" "$win"
    if [[ $skin == Office2007* ]]; then
        ui command "$win" 40020 # Change skin
        dlg=$(ui wait '#32770' 'Select skin' 10000)
        shot skin-dialog "$dlg"
        ui click "$dlg" 2
        ui gone "$dlg" 5000
        ui command "$win" 40053 # About...
        about=$(ui wait '#32770' About 10000)
        shot about-box "$about"
        ui click "$about" 2
        ui gone "$about" 5000
    fi
    close_main
done
