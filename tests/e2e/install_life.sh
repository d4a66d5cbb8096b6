#!/usr/bin/env bash
# The whole life of an installation as an administrator sees it: the silent setup, what it
# registers, a logon run under rules written with the installed mrfctl, silent removal, and the
# removal that Programs and Features starts (mrf.exe /U behind the password, then the uninstaller).
set -u
source "$MRF_SOURCE/tests/harness/assert.sh"
source "$MRF_SOURCE/tests/harness/install.sh"
trap remove_installation EXIT
user=$(wrun cmd /c 'echo %USERNAME%')

install_silently
check_eq "the silent setup exits 0" $? 0
echo "silent install: $took s"
for f in mrf.exe ulksrv.exe quillon.dll vexcore.dll mrfctl.exe unins000.exe mrf.dat mrf.dat.jnl ulk.ini; do
    check "$f is in the program folder" test -f "$dir/$f"
done
check_eq "the setup log tells the outcome" "$(tail -1 "$dir/setup.log" | tr -d '\r')" "installed"
check_eq "the service runs" "$(service_state Marrowfold)" RUNNING
check_eq "with its path in quotes" "$(regval "$SERVICES_KEY\\Marrowfold" ImagePath)" "\"$win\\ulksrv.exe\""
check "the driver is registered" quiet wrun reg query "$SERVICES_KEY\\ZFPAnsi"
check_eq "the logon start is registered" "$(regval "$RUN_KEY" 1mrf.exe)" "\"$win\\mrf.exe\" /T"
check_eq "the uninstall entry goes through mrf.exe /U" "$(regval "$UNINSTALL_KEY" UninstallString)" \
    "\"$win\\mrf.exe\" /U"
check_eq "so does the quiet one" "$(regval "$UNINSTALL_KEY" QuietUninstallString)" "\"$win\\mrf.exe\" /U"
version=$(sed -n 's/^project(Marrowfold VERSION \([0-9.]*\).*/\1/p' "$MRF_SOURCE/CMakeLists.txt")
check_eq "the uninstall entry names the programs' version" "$(regval "$UNINSTALL_KEY" DisplayVersion)" "$version.0"
check "the service wrote the local user list" grep -qi "^LocalUserList0=" <<<"$(ctl decode "$win\\mrf.dat")"

# A logon run applies the rules of a rule set written with the installed admin tool.
for kv in Auto=1 Minimize=0 "${user}_FL_Count=1" "${user}_FL_0_folder=C:\\Exams" "${user}_FL_0_mode=2"; do
    ctl set "$win\\mrf.dat" "${kv%%=*}" "${kv#*=}"
done
timeout 60 "$MRF_WINE_ENV" run "$win\\mrf.exe" /T >/dev/null 2>&1
check_eq "the logon run ends" $? 0
active=$(wrun "$tools/vexcheck.exe" list)
check "the engine enforces" grep -q '^enforcement: on' <<<"$active"
check "the user's folder among its entries" grep -qF 'C:\Exams*' <<<"$active"
check "a read in the hidden folder is denied" absent wrun "$tools/vexcheck.exe" 'C:\Windows\notepad.exe' 'C:\Exams\a.txt' read

uninstall_silently
echo "silent uninstall: $took s"
check_removed "silent removal"
check "the settings stay" test -f "$dir/mrf.dat"
check "and keep the rules" grep -qF "${user}_FL_0_folder=C:\\Exams" <<<"$("$MRF_NATIVE_BIN/mrfctl" decode "$dir/mrf.dat")"

# Programs and Features runs the uninstall entry: mrf.exe /U asks for the password, stops
# protection, removes the service with ulksrv.exe /un and starts the uninstaller, which asks
# whether to remove the settings (No).
install_silently
check_eq "installing again over the kept settings exits 0" $? 0
check "the kept rules are still there" grep -qF "${user}_FL_0_folder=C:\\Exams" <<<"$(ctl decode "$win\\mrf.dat")"
ctl set "$win\\mrf.dat" Password Secret
timeout 60 "$MRF_WINE_ENV" run "$win\\mrf.exe" /T >/dev/null 2>&1
command=$(regval "$UNINSTALL_KEY" UninstallString)
program=${command#\"}
program=${program%%\"*}
check_eq "the entry names the program and the switch" "\"$program\" /U" "$command"
"$MRF_WINE_ENV" run "$program" /U >/dev/null 2>&1 &
prompt=$(ui wait '#32770' Password 20000)
check "mrf.exe /U asks for the password" test -n "$prompt"
ui settext "$prompt" 3002 Secret
ui click "$prompt" 1
uninstaller=$(ui wait '#32770' 'Marrowfold Uninstall: Confirmation' 30000)
check "the uninstaller comes up" test -n "$uninstaller"
check "protection was stopped first" grep -q '^enforcement: off' <<<"$(wrun "$tools/vexcheck.exe" list)"
ui click "$uninstaller" 1 # Uninstall
question=$(ui wait '#32770' 'Marrowfold Uninstall' 20000)
check "it asks whether to remove the settings" test -n "$question"
ui click "$question" 7 # No
wait_until 60 uninstall_done
check_removed "removal through the uninstall entry"
check "the settings stay" test -f "$dir/mrf.dat"
finish
