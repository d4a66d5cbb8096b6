# Shared steps of the installation tests. Source after assert.sh.
wrun() { "$MRF_WINE_ENV" run "$@" 2>/dev/null | tr -d '\r'; return "${PIPESTATUS[0]}"; }
# The setup with the helper library's test build (see installer/CMakeLists.txt); the rest is shipped.
setup_exe=$(echo "$MRF_BIN"/../package/wine-test/Marrowfold-*-setup.exe)
dir="$MRF_WINE_ROOT/prefix/drive_c/Program Files/Marrowfold"
win='C:\Program Files\Marrowfold'
RUN_KEY='HKLM\Software\Microsoft\Windows\CurrentVersion\Run'
SERVICES_KEY='HKLM\System\CurrentControlSet\Services'
UNINSTALL_KEY='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Umberlock_is1'
# Tools of the tests, outside the program folder.
tools=$MRF_WINE_ROOT/install-tools
mkdir -p "$tools"
cp "$MRF_BIN"/{vexcheck.exe,uidriver.exe} "$tools/"
ui() { wrun "$tools/uidriver.exe" "$@"; }
ctl() { wrun "$win\\mrfctl.exe" "$@"; }

# The data of a registry value, as reg query prints it; status 1 when it is missing.
regval() { # key value
    local out
    out=$(wrun reg query "$1" /v "$2") || return 1
    sed -n "s/^ *$2 \{2,\}REG_[A-Z_]* \{2,\}//p" <<<"$out"
}
# Succeeds when the command fails: for checks that something is gone.
absent() { ! "$@" >/dev/null 2>&1; }
quiet() { "$@" >/dev/null 2>&1; }
service_state() { wrun sc query "$1" | sed -n 's/^ *STATE *: *[0-9]* *\([A-Z_]*\).*/\1/p'; }
# Processes of ours: the programs and the uninstaller's copy of itself.
ours_running() { pgrep -f 'Marrowfold.(mrf|ulksrv)\.exe|Un_A\.exe' >/dev/null; }

# Runs the silent setup; its exit code, and the seconds it took in $took.
install_silently() {
    local start=$EPOCHREALTIME rc
    timeout 120 "$MRF_WINE_ENV" run "$setup_exe" /S >/dev/null 2>&1
    rc=$?
    took=$(awk -v a="$start" -v b="$EPOCHREALTIME" 'BEGIN { printf "%.2f", b - a }')
    return $rc
}

uninstall_done() { absent pgrep -f 'Un_A\.exe' && absent wrun reg query "$UNINSTALL_KEY"; }

# The uninstaller hands over to a copy of itself and returns at once: waits until the copy has
# ended and the uninstall entry is gone; the seconds in $took.
uninstall_silently() { # [switches]
    local start=$EPOCHREALTIME
    "$MRF_WINE_ENV" run "$win\\unins000.exe" /S "$@" >/dev/null 2>&1
    wait_until 60 uninstall_done || true
    took=$(awk -v a="$start" -v b="$EPOCHREALTIME" 'BEGIN { printf "%.2f", b - a }')
}

# Nothing of the installation is left but, where kept, the settings files.
check_removed() { # what
    local f left
    left=$(cd "$dir" 2>/dev/null && ls -A | grep -v -x -e mrf.dat -e mrf.dat.jnl -e ulk.ini)
    check_eq "$1: no program file is left" "$left" ""
    for f in Marrowfold ZFPAnsi ZFPUni; do
        check "$1: no service $f" absent wrun reg query "$SERVICES_KEY\\$f"
    done
    check "$1: no Run value" absent regval "$RUN_KEY" 1mrf.exe
    check "$1: no uninstall entry" absent wrun reg query "$UNINSTALL_KEY"
    check "$1: no process of ours" absent ours_running
}

# What an installation test may leave behind, removed whatever the test reached.
remove_installation() {
    pkill -f 'Marrowfold.(mrf|ulksrv)\.exe|Un_A\.exe' 2>/dev/null
    wrun sc stop Marrowfold >/dev/null
    for s in Marrowfold ZFPAnsi ZFPUni; do wrun sc delete $s >/dev/null; done
    wrun reg delete "$UNINSTALL_KEY" /f >/dev/null
    wrun reg delete "$RUN_KEY" /v 1mrf.exe /f >/dev/null
    rm -rf "$dir" "$tools"
}
