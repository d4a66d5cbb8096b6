#!/usr/bin/env bash
# ulksrv.exe against Wine's real service manager and registry: installation, restart, repair,
# the uninstall strings, the service's answers to controls, and removal.
#
# Under Wine every process runs with the user's token, so no process is the system account and
# the real quillon.dll sends the service manager's own start of ulksrv.exe down the setup path.
# The service path is tested with the test build of the helper library (bin/svctest), which also
# takes the process that the service manager started for a service as the system account; the
# program itself is the shipped one. The real library's answers are checked by the unit tests.
set -u
source "$MRF_SOURCE/tests/harness/assert.sh"
app=$MRF_WINE_ROOT/prefix/drive_c/Marrow\ Fold
winapp='C:\Marrow Fold'
ulksrv="$winapp\\ulksrv.exe"
wrun() { "$MRF_WINE_ENV" run "$@" 2>/dev/null | tr -d '\r'; return "${PIPESTATUS[0]}"; }
svc() { wrun "$winapp\\svcctl.exe" "$@"; }
reg_value() { # key value: the data, or nothing
    wrun reg query "$1" /v "$2" | sed -n "s/^ *$2 *REG_[A-Z_]* *//p"
}
reg_has() { wrun reg query "$1" >/dev/null; }
reg_missing() { ! reg_has "$1"; }
RUN='HKLM\Software\Microsoft\Windows\CurrentVersion\Run'
UNINSTALL='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Umberlock_is1'
SERVICES='HKLM\System\CurrentControlSet\Services'
# Live processes of this test's program (Wine shows the Windows command line; zombies left to
# init count as ended).
live() { ps -eo stat=,args= | awk '$1 !~ /^Z/' | grep -c 'Marrow Fold\\ulksrv.exe'; }
none_live() { # waits up to 5 s for the last one to end
    local i
    for i in $(seq 50); do [[ $(live) == 0 ]] && return 0; sleep 0.1; done
    return 1
}

cleanup() {
    wrun "$ulksrv" /un >/dev/null
    for s in Marrowfold ZFPAnsi ZFPUni; do wrun sc delete "$s" >/dev/null; done
    wrun reg delete "$UNINSTALL" /f >/dev/null
    local pid
    for pid in $(pgrep -f 'Marrow Fold\\ulksrv.exe'); do kill "$pid" 2>/dev/null; done
    rm -rf "$app"
}
trap cleanup EXIT

rm -rf "$app"
mkdir -p "$app"
cp "$MRF_BIN/ulksrv.exe" "$MRF_BIN/mrfctl.exe" "$MRF_BIN/svcctl.exe" "$app/"
cp "$MRF_BIN/svctest/quillon.dll" "$app/"
user=$(wrun cmd /c 'echo %USERNAME%')

# Removal on a clean system installs nothing; the start-up tasks still run.
wrun "$ulksrv" /un
check_eq "/un on a clean system exits 0" "$?" 0
check "and creates no service" reg_missing "$SERVICES\\Marrowfold"
check "and registers no driver" reg_missing "$SERVICES\\ZFPAnsi"
check_eq "and writes no Run value" "$(reg_value "$RUN" 1mrf.exe)" ""
check "ulk.ini is created" test -f "$app/ulk.ini"
check "the settings journal is created" test -f "$app/mrf.dat.jnl"
check_eq "the user list is written" "$(wrun "$winapp\\mrfctl.exe" list "$winapp\\mrf.dat" LocalUserList)" \
    "LocalUserList0=$user"

# A plain run installs.
wrun reg add "$UNINSTALL" /v UninstallString /d "\"$winapp\\unins000.exe\"" /f >/dev/null
wrun reg add "$UNINSTALL" /v QuietUninstallString /d "\"$winapp\\unins000.exe\" /S" /f >/dev/null
rm -f "$app/mrf.dat" "$app/ulk.ini" "$app/mrf.dat.jnl"
wrun "$ulksrv"
check_eq "a plain run exits 0" "$?" 0
check_eq "the service is configured with its quoted path" "$(svc config Marrowfold)" \
    "16 2 Marrowfold|\"$winapp\\ulksrv.exe\""
check_eq "and runs" "$(svc state Marrowfold)" 4
check_eq "and answers an interrogation" "$(svc interrogate Marrowfold)" 4
check_eq "one service process runs" "$(live)" 1
drv="$SERVICES\\ZFPAnsi"
check_eq "the ANSI driver is registered" \
    "$(reg_value "$drv" Type) $(reg_value "$drv" Start) $(reg_value "$drv" ErrorControl) $(reg_value "$drv" Group)" \
    "0x1 0x0 0x0 Filter"
check_eq "with its file" "$(reg_value "$drv" ImagePath)" 'System32\Drivers\ZFPAnsi.sys'
check_eq "and its display name" "$(reg_value "$drv" DisplayName)" "Zenthra File Protector Ansi"
check "the Unicode driver is not" reg_missing "$SERVICES\\ZFPUni"
check_eq "the Run value starts mrf.exe /T" "$(reg_value "$RUN" 1mrf.exe)" "\"$winapp\\mrf.exe\" /T"
check_eq "the uninstall string runs mrf.exe /U" "$(reg_value "$UNINSTALL" UninstallString)" \
    "\"$winapp\\mrf.exe\" /U"
check_eq "so does the quiet one" "$(reg_value "$UNINSTALL" QuietUninstallString)" "\"$winapp\\mrf.exe\" /U"
check_eq "mrf.dat holds the user list" "$(wrun "$winapp\\mrfctl.exe" get "$winapp\\mrf.dat" LocalUserList0)" \
    "$user"
check "ulk.ini exists" test -f "$app/ulk.ini"
check "the journal exists" test -f "$app/mrf.dat.jnl"

# A stop ends the service; a second run restarts it. One Windows process drives both, because
# Wine itself starts stopped automatic services whenever a program is launched from outside.
out=$(svc stopwait Marrowfold "\"$ulksrv\"" "\"$winapp\\svcctl.exe\" state Marrowfold")
check "a stop ends the service ($out)" grep -Eq '^(3 )?1$' <<<"$(sed -n 1p <<<"$out")"
check_eq "the second run exits 0 and the service runs again" "$(sed -n '2,3p' <<<"$out")" "$(printf 'exit 0\n4')"
check_eq "and is the only service process" "$(live)" 1

# Wrong parameters are repaired; the running service is left running.
svc setconfig Marrowfold 3 Other "$winapp\\ulksrv.exe" >/dev/null
check_eq "the parameters are spoilt" "$(svc config Marrowfold)" "16 3 Other|$winapp\\ulksrv.exe"
wrun "$ulksrv"
check_eq "a run with wrong parameters exits 0" "$?" 0
check_eq "and repairs them" "$(svc config Marrowfold)" "16 2 Marrowfold|\"$winapp\\ulksrv.exe\""
check_eq "the service still runs" "$(svc state Marrowfold)" 4

# Removal takes away the service, both driver kinds and the Run value, and leaves no process.
wrun sc create ZFPUni type= kernel start= boot binpath= 'System32\Drivers\ZFPUni.sys' >/dev/null
check "a Unicode driver registration is there too" reg_has "$SERVICES\\ZFPUni"
wrun "$ulksrv" /un
check_eq "/un exits 0" "$?" 0
check_eq "the service is gone" "$(svc state Marrowfold)" "OpenServiceA failed: 1060"
check "the ANSI driver registration is gone" reg_missing "$SERVICES\\ZFPAnsi"
check "the Unicode driver registration is gone" reg_missing "$SERVICES\\ZFPUni"
check_eq "the Run value is gone" "$(reg_value "$RUN" 1mrf.exe)" ""
check "no service process is left" none_live
check_eq "the uninstall string stays" "$(reg_value "$UNINSTALL" UninstallString)" "\"$winapp\\mrf.exe\" /U"

# "UNICODE" registers the Unicode driver.
wrun "$ulksrv" UNICODE
check_eq "a run with UNICODE exits 0" "$?" 0
check "and registers the Unicode driver" reg_has "$SERVICES\\ZFPUni"
check "and not the ANSI one" reg_missing "$SERVICES\\ZFPAnsi"

# A service whose command line carries "/un" removes everything itself when it is stopped.
svc setconfig Marrowfold 2 Marrowfold "\"$winapp\\ulksrv.exe\" /un" >/dev/null
ctl="\"$winapp\\svcctl.exe\""
out=$(svc stopwait Marrowfold "$ctl start Marrowfold" "$ctl stopwait Marrowfold")
check_eq "the service restarts with /un and stops again" "$(sed -n '2,5p' <<<"$out" | sed 's/^3 //')" \
    "$(printf 'started\nexit 0\n1\nexit 0')"
check_eq "then its entry is gone" "$(svc state Marrowfold)" "OpenServiceA failed: 1060"
check "with the driver registration" reg_missing "$SERVICES\\ZFPUni"
check_eq "and the Run value" "$(reg_value "$RUN" 1mrf.exe)" ""
check "and its process" none_live

finish
