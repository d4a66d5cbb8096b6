#!/usr/bin/env bash
# The bridge, run as the GUI program runs it, applies stored rules through the real library
# boundary; the reference engine's state and call log show exactly what crossed it.
set -u
source "$MRF_SOURCE/tests/harness/assert.sh"
T=$'\t'
work=$MRF_WINE_ROOT/e2e-engine
app=$work/app
winapp="Z:${app//\//\\}"
wrun() { "$MRF_WINE_ENV" run "$@" 2>/dev/null | tr -d '\r'; return "${PIPESTATUS[0]}"; }
cleanup() { wrun sc delete ZFPUni >/dev/null; rm -rf "$work"; }
trap cleanup EXIT

rm -rf "$work"
mkdir -p "$app" "$work/other"
# The host stands in for mrf.exe, so its default process list is the real one.
cp "$MRF_BIN/enginehost.exe" "$app/mrf.exe"
cp "$MRF_BIN/enginehost.exe" "$work/other/mrf.exe"
cp "$MRF_BIN/vexcore.dll" "$MRF_BIN/vexcheck.exe" "$MRF_BIN/mrfctl.exe" "$app/"
printf 'state=state\\vexcore.state\r\nlog=calls.log\r\n' >"$app/vexcore.ini"
calls() { tr -d '\r' <"$app/calls.log"; }

user=$(wrun "$app/mrf.exe" user)
check "the logged-on user name is found" test -n "$user"
printf '%s\r\n' 'UserGroup_Count=1' 'UserGroup_0=Staff' "${user}_UserGroup=Staff" 'Staff_FL_Count=3' \
    'Staff_FL_0_folder=C:\Docs\' 'Staff_FL_0_mode=1' 'Staff_FL_0_mask=*.doc' \
    'Staff_FL_1_folder=D:\Secret' 'Staff_FL_1_mode=2' \
    'Staff_FL_2_folder=E:\Off' 'Staff_FL_2_mode=2' 'Staff_FL_2_enabled=0' \
    'Staff_NoUsersMgr=1' "${user}_FL_Count=1" "${user}_FL_0_folder=F:\\Own" |
    wrun "$app/mrfctl.exe" encode "$winapp\\mrf.dat"

# No driver registration: the engine reports itself absent and nothing else is called.
out=$(wrun "$app/mrf.exe")
check_eq "without the driver the host finds no engine" "$?" 1
check_eq "and says so" "$out" "$(printf 'rule key: Staff\nengine: not available (no driver)')"
check_eq "only CheckDriver was called" "$(calls)" "CheckDriver${T}0"
check "no state was written" test ! -e "$app/state/vexcore.state"

wrun sc create ZFPUni type= kernel binpath= 'C:\windows\system32\drivers\ZFPUni.sys' >/dev/null
check_eq "the driver registration is made" "$?" 0

rm -f "$app/calls.log"
out=$(wrun "$app/mrf.exe")
check_eq "with the driver the rules are applied" "$?" 0
check_eq "for the user's group" "$out" "$(printf 'rule key: Staff\napplied: on')"
D="mrf.exe;ulksrv.exe"
X="ExcludeFiles"
entries="1${T}C:\\Docs\\*.doc${T}$X${T}*${T}$D
10${T}C:\\Docs${T}$X${T}*${T}$D
2${T}D:\\Secret*${T}$X${T}*${T}$D
1${T}$winapp\\*${T}$X${T}*${T}$D
2${T}*timedate.cpl${T}$X${T}*explorer.exe;*rundll32.exe${T}$D
2${T}*nusrmgr.cpl${T}$X${T}*explorer.exe;*rundll32.exe${T}$D
2${T}*usercpl.dll${T}$X${T}*explorer.exe;*rundll32.exe${T}$D"
check_eq "the call log shows the exact sequence" "$(calls)" \
    "CheckDriver${T}1
SetSecurity${T}0
$(sed "s/^/AddEntry$T/" <<<"$entries")
SetSecurity${T}1"
check_eq "mrfctl rules names the same entries" "$(wrun "$app/mrfctl.exe" rules "$winapp\\mrf.dat" Staff)" "$entries"
check_eq "the active set is what was sent" "$(wrun "$app/vexcheck.exe" list)" \
    "enforcement: on
$(awk '{print NR-1 "\t" $0}' <<<"$entries")"

wrun "$app/vexcheck.exe" 'C:\Office\winword.exe' 'C:\Docs\report.doc' write >/dev/null
check_eq "a read-only file may not be written" "$?" 1
wrun "$app/vexcheck.exe" "$winapp\\mrf.exe" 'C:\Docs\report.doc' write >/dev/null
check_eq "except by the program itself" "$?" 0
check_eq "a hidden folder is not listed, and the entry is named" \
    "$(wrun "$app/vexcheck.exe" 'C:\Office\winword.exe' 'D:\Secret' list)" "denied by entry 2:${T}2${T}D:\\Secret*${T}$X${T}*${T}$D"
wrun "$app/vexcheck.exe" 'C:\windows\explorer.exe' 'C:\windows\system32\nusrmgr.cpl' read >/dev/null
check_eq "the user-accounts switch blocks the shell" "$?" 1

# A malformed value: reported with key and value, and the engine keeps its state.
cp "$app/state/vexcore.state" "$work/state.before"
wrun "$app/mrfctl.exe" set "$winapp\\mrf.dat" Staff_FL_1_mode two
rm -f "$app/calls.log"
out=$(wrun "$app/mrf.exe")
check_eq "a malformed mode fails the apply" "$?" 3
check_eq "naming the key and the value" "$out" \
    "$(printf "rule key: Staff\nerror: 'two' is not a valid integer value (setting Staff_FL_1_mode); the rules were not applied")"
check_eq "after CheckDriver nothing reached the engine" "$(calls)" "CheckDriver${T}1"
check "and enforcement stays as it was" cmp -s "$work/state.before" "$app/state/vexcore.state"

wrun "$app/mrfctl.exe" set "$winapp\\mrf.dat" Staff_FL_1_mode 2
rm -f "$app/calls.log"
wrun "$app/mrf.exe" off >/dev/null
check_eq "off makes one call after the driver check" "$(calls)" "CheckDriver${T}1
SetSecurity${T}0"
check_eq "and clears the active set" "$(wrun "$app/vexcheck.exe" list)" "enforcement: off"

# The library is taken only from the program's folder, by its full path.
out=$(cd "$app" && wrun "$work/other/mrf.exe")
check_eq "a library in the current folder is not used" "$out" \
    "$(printf 'rule key: %s\nengine: not available (LoadLibraryExA %s\\vexcore.dll)' "$user" "Z:${work//\//\\}\\other")"
cp "$MRF_WINE_ROOT/prefix/drive_c/windows/system32/version.dll" "$work/other/vexcore.dll"
check_eq "a library without the engine's exports counts as absent" "$(wrun "$work/other/mrf.exe" | tail -1)" \
    "engine: not available (GetProcAddress CheckDriver)"

finish
