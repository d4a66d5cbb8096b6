#!/usr/bin/env bash
# Installing over an existing installation keeps the settings and leaves one running service;
# removal with /REMOVESETTINGS then takes the settings too.
set -u
source "$MRF_SOURCE/tests/harness/assert.sh"
source "$MRF_SOURCE/tests/harness/install.sh"
trap remove_installation EXIT

install_silently
check_eq "the first install exits 0" $? 0
ctl set "$win\\mrf.dat" Password Secret
ctl set "$win\\mrf.dat" Staff_FL_Count 1
ctl set "$win\\mrf.dat" Staff_FL_0_folder 'D:\Kept'
before=$(ctl decode "$win\\mrf.dat" | grep -v -i '^LocalUserList')
service_pid=$(pgrep -f 'Marrowfold.ulksrv\.exe')

install_silently
check_eq "installing over it exits 0" $? 0
echo "upgrade install: $took s"
check_eq "the settings are kept" "$(ctl decode "$win\\mrf.dat" | grep -v -i '^LocalUserList')" "$before"
check_eq "the service runs again" "$(service_state Marrowfold)" RUNNING
check_eq "as one process" "$(pgrep -f 'Marrowfold.ulksrv\.exe' | wc -l)" 1
check "a new one" test "$(pgrep -f 'Marrowfold.ulksrv\.exe')" != "$service_pid"
check "the log tells the second outcome too" test "$(grep -c '^installed' "$dir/setup.log")" -eq 2
check_eq "one uninstall entry, still through mrf.exe /U" "$(regval "$UNINSTALL_KEY" UninstallString)" \
    "\"$win\\mrf.exe\" /U"

uninstall_silently /REMOVESETTINGS
echo "silent uninstall with settings: $took s"
check_removed "removal with the settings"
check "the program folder is gone" test ! -e "$dir"
finish
