#!/usr/bin/env bash
# What a logon run of mrf.exe costs, against the floors of the same toolchain under one warm Wine.
#   bench/logon_run.sh [BIN_DIR] [RUNS]
# BIN_DIR: a Windows build's programs (default build/windows64/bin, else build/windows/bin);
# RUNS: interleaved runs of each case (default 20). Brings up its own Xvfb and Wine prefix through
# tests/harness/wine-env.sh (or $MRF_WINE_ENV) and takes them down again.
#
# Cases, each run to its end: floor_empty (a program that ends at once), floor_user32 (loads
# user32), floor_window (registers a class, creates one window); mrf.exe /T with "Auto"=1,
# "Minimize"=0 and 200 folder entries; the same with no entries; mrf.exe /I. Prints each case's
# median and the ratios of the logon run to the floors, then the private memory of a logon run
# that stays in the tray ("Minimize"=1), once it is idle.
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
bin=${1:-}
if [[ -z $bin ]]; then
    bin=$here/build/windows64/bin
    [[ -x $bin/mrf.exe ]] || bin=$here/build/windows/bin
fi
runs=${2:-20}
for f in mrf.exe vexcore.dll mrfctl.exe enginehost.exe floor_empty.exe floor_user32.exe floor_window.exe; do
    [[ -f $bin/$f ]] || { echo "missing $bin/$f (build the Windows preset first)" >&2; exit 2; }
done

# The Wine of the build's architecture; its loader is called directly, as the wrapper script would
# add its own start-up to every run.
if file -L "$bin/mrf.exe" | grep -q 'PE32+'; then
    export MRF_WINE_ARCH=win64
    loader=/usr/lib/wine/wine64
else
    export MRF_WINE_ARCH=win32
    loader=/usr/lib/wine/wine
fi
# A folder of its own unless one is given, removed at the end: a prefix takes some 2.6 GB.
scratch=""
if [[ -z ${MRF_WINE_ROOT:-} ]]; then
    scratch=$(mktemp -d /tmp/mrf-bench.XXXXXX)
    export MRF_WINE_ROOT=$scratch/wine
fi
env_sh=${MRF_WINE_ENV:-$here/tests/harness/wine-env.sh}
"$env_sh" up >/dev/null
tray_pid=""
cleanup() {
    [[ -n $tray_pid ]] && kill "$tray_pid" 2>/dev/null
    "$env_sh" down >/dev/null 2>&1 || true
    [[ -n $scratch ]] && rm -rf "$scratch"
}
trap cleanup EXIT

export WINEPREFIX=$MRF_WINE_ROOT/prefix WINEDEBUG=-all WINEARCH=$MRF_WINE_ARCH DISPLAY
DISPLAY=$(cat "$MRF_WINE_ROOT/state/display")
w() { "$loader" "$@" 2>/dev/null | tr -d '\r'; }

app=$WINEPREFIX/drive_c/bench
winapp='C:\bench'
mkdir -p "$app/empty"
for f in mrf.exe vexcore.dll mrfctl.exe enginehost.exe floor_empty.exe floor_user32.exe floor_window.exe; do
    cp "$bin/$f" "$app/"
done
cp "$bin"/{mrf.exe,vexcore.dll} "$app/empty/"
printf 'state=state\\vexcore.state\r\n' >"$app/vexcore.ini"
cp "$app/vexcore.ini" "$app/empty/"
w sc create ZFPUni type= kernel binpath= 'C:\windows\system32\drivers\ZFPUni.sys' >/dev/null || true
user=$(w "$app/enginehost.exe" user)

seed() { # folder, then lines
    local folder=$1
    shift
    printf '%s\r\n' "$@" | w "$app/mrfctl.exe" encode "$folder\\mrf.dat"
}
entries=()
for n in $(seq 0 199); do
    entries+=("${user}_FL_${n}_folder=C:\\Data\\Folder$n" "${user}_FL_${n}_mode=$((n % 2 + 1))"
        "${user}_FL_${n}_mask=*.doc;*.txt" "${user}_FL_${n}_proc=*")
done
seed "$winapp" "#S=#S" Auto=1 Minimize=0 "${user}_FL_Count=200" "${entries[@]}"
seed "$winapp\\empty" "#S=#S" Auto=1 Minimize=0

names=(empty user32 window logon200 logon0 install)
declare -A cmd=(
    [empty]="$winapp\\floor_empty.exe"
    [user32]="$winapp\\floor_user32.exe"
    [window]="$winapp\\floor_window.exe"
    [logon200]="$winapp\\mrf.exe /T"
    [logon0]="$winapp\\empty\\mrf.exe /T"
    [install]="$winapp\\mrf.exe /I"
)
declare -A times=()
run_once() { # case: prints milliseconds
    local start end
    start=$(date +%s%N)
    # shellcheck disable=SC2086
    timeout 60 "$loader" ${cmd[$1]} >/dev/null 2>&1 </dev/null
    end=$(date +%s%N)
    echo $(((end - start) / 1000))
}
# Warm: every program once, and a check that the logon run applies the rules.
for c in "${names[@]}"; do run_once "$c" >/dev/null; done
if ! w "$app/mrfctl.exe" get "$winapp\\mrf.dat" Auto x >/dev/null; then
    echo "the settings file cannot be read" >&2
    exit 1
fi
for ((i = 0; i < runs; i++)); do
    for c in "${names[@]}"; do times[$c]+="$(run_once "$c") "; done
done
median() { tr ' ' '\n' | grep . | sort -n | awk '{a[NR] = $1} END {print (NR % 2 ? a[(NR + 1) / 2] : (a[NR / 2] + a[NR / 2 + 1]) / 2)}'; }
declare -A med=()
echo "mrf.exe logon run under $("$loader" --version 2>/dev/null) ($loader), $runs interleaved runs each"
printf '%-10s %10s\n' case "median ms"
for c in "${names[@]}"; do
    med[$c]=$(median <<<"${times[$c]}")
    printf '%-10s %10.1f\n' "$c" "$(awk -v us="${med[$c]}" 'BEGIN {print us / 1000}')"
done
ratio() { awk -v a="${med[$1]}" -v b="${med[$2]}" 'BEGIN {printf "%.2f", a / b}'; }
echo "logon200 / window = $(ratio logon200 window)"
echo "logon200 / user32 = $(ratio logon200 user32)"
echo "logon200 / empty  = $(ratio logon200 empty)"
echo "logon0   / window = $(ratio logon0 window)"
echo "install  / window = $(ratio install window)"

# The program that stays in the tray: its private memory once idle.
seed "$winapp" "#S=#S" Auto=1 Minimize=1 "${user}_FL_Count=200" "${entries[@]}"
"$loader" "$winapp\\mrf.exe" /T >/dev/null 2>&1 </dev/null &
tray_pid=$!
sleep 5
pid=$(pgrep -f 'C:\\bench\\mrf.exe /T' | head -1 || true)
if [[ -n $pid && -r /proc/$pid/smaps_rollup ]]; then
    awk '/^Private_(Clean|Dirty)/ {kb += $2} END {printf "idle tray program: %.1f MB private (resident, of the Wine process)\n", kb / 1024}' "/proc/$pid/smaps_rollup"
else
    echo "idle tray program: not found"
fi
