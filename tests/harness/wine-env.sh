#!/usr/bin/env bash
# The Wine environment of one test run: a fresh prefix under the build folder, a warm wineserver
# and an Xvfb display, all detached from the test runner's pipes.
#   wine-env.sh up | down | run PROGRAM [ARGS]
# MRF_WINE_ROOT names the folder (default: ./wine); MRF_WINE_ARCH is win32 (the 32-bit Wine, for
# the i686 build) or win64 (the 64-bit Wine, for the x86_64 build). The loader and the server are
# called by their full paths: Debian's /usr/bin wrappers always go through the 32-bit loader,
# which cannot start on a kernel without 32-bit support.
set -euo pipefail

root=${MRF_WINE_ROOT:-$PWD/wine}
export WINEPREFIX=$root/prefix
export WINEARCH=${MRF_WINE_ARCH:-win32}
case $WINEARCH in
win32) wine=/usr/lib/wine/wine wineserver=/usr/lib/wine/wineserver32 ;;
win64) wine=/usr/lib/wine/wine64 wineserver=/usr/lib/wine/wineserver64 ;;
*) echo "wine-env: MRF_WINE_ARCH must be win32 or win64, not '$WINEARCH'" >&2; exit 2 ;;
esac
# Wine itself starts the server named here when none runs.
export WINESERVER=$wineserver
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
template=$root/template
state=$root/state

detached() { setsid "$@" </dev/null >/dev/null 2>&1 & }

# Runs a step of the set-up; when it fails, says which command failed with which exit code.
must() {
    local rc=0
    "$@" </dev/null >/dev/null 2>&1 || rc=$?
    ((rc == 0)) && return 0
    echo "wine-env: '$*' failed with exit code $rc" >&2
    exit 1
}

wait_for() { # seconds, command...: polls until the command succeeds
    local limit=$1; shift
    local end=$((SECONDS + limit))
    until "$@" >/dev/null 2>&1; do
        ((SECONDS < end)) || return 1
        sleep 0.1
    done
}

make_template() {
    local stamp
    stamp="$("$wine" --version) $WINEARCH desktop-shell"
    if [[ -f $template/.stamp && $(cat "$template/.stamp") == "$stamp" ]]; then return; fi
    rm -rf "$template"
    mkdir -p "$template"
    WINEPREFIX=$template must "$wine" wineboot --init
    WINEPREFIX=$template must "$wineserver" -w
    # One shared virtual desktop for every process; the one named "shell" has a taskbar and a
    # notification area.
    WINEPREFIX=$template must "$wine" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d shell /f
    WINEPREFIX=$template must "$wine" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v shell /d 1024x768 /f
    # No crash dialog waiting for a click.
    WINEPREFIX=$template must "$wine" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f
    WINEPREFIX=$template must "$wineserver" -w
    echo "$stamp" >"$template/.stamp"
}

free_display() {
    local n
    for n in $(seq 90 140); do
        if [[ ! -e /tmp/.X$n-lock && ! -e /tmp/.X11-unix/X$n ]]; then echo $n; return; fi
    done
    return 1
}

up() {
    down quietly
    [[ -x $wine ]] || { echo "wine-env: $wine is missing (Debian package $([[ $WINEARCH == win64 ]] && echo wine64 || echo wine32:i386))" >&2; exit 1; }
    must "$wine" --version
    mkdir -p "$root" "$state"
    make_template
    rm -rf "$WINEPREFIX"
    cp -a "$template" "$WINEPREFIX"
    local n
    n=$(free_display)
    detached Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp
    echo $! >"$state/xvfb.pid"
    echo ":$n" >"$state/display"
    export DISPLAY=":$n"
    wait_for 20 xdpyinfo -display ":$n" || { echo "Xvfb did not start" >&2; return 1; }
    detached "$wineserver" -p -f
    echo $! >"$state/wineserver.pid"
    # Start the system processes (services, devices) once, outside every test's pipes.
    detached "$wine" cmd /c exit
    wait_for 60 pgrep -f 'system32\\services.exe' || { echo "wine-env: Wine's services.exe did not start within 60 s" >&2; return 1; }
    wait_for 60 "$wine" cmd /c exit || { echo "wine-env: '$wine cmd /c exit' does not answer within 60 s" >&2; return 1; }
    echo "wine environment up: $WINEARCH prefix $WINEPREFIX, display :$n"
}

down() {
    if [[ -d $WINEPREFIX ]]; then
        "$wineserver" -k >/dev/null 2>&1 || true
    fi
    local f
    for f in wineserver xvfb; do
        if [[ -f $state/$f.pid ]]; then
            kill "$(cat "$state/$f.pid")" >/dev/null 2>&1 || true
            rm -f "$state/$f.pid"
        fi
    done
    [[ ${1:-} == quietly ]] || echo "wine environment down"
}

run() {
    if [[ -f $state/display ]]; then export DISPLAY=$(cat "$state/display"); fi
    exec "$wine" "$@"
}

case ${1:-} in
up) up ;;
down) down ;;
run) shift; run "$@" ;;
*) echo "usage: wine-env.sh up|down|run PROGRAM [ARGS]" >&2; exit 2 ;;
esac
