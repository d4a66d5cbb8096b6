#!/usr/bin/env bash
# The main job: builds everything, installs the Windows programs into a demo folder under Wine
# and shows them at work.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
scripts/build.sh

export MRF_WINE_ROOT=$PWD/build/demo/wine
env=tests/harness/wine-env.sh
trap '"$env" down >/dev/null' EXIT
"$env" up >/dev/null

folder=$MRF_WINE_ROOT/prefix/drive_c/Marrowfold
wfolder='C:\Marrowfold'
mkdir -p "$folder"
cp build/windows/bin/*.exe build/windows/bin/*.dll "$folder"/ 2>/dev/null || true
ctl() { "$env" run "$wfolder\\mrfctl.exe" "$@" | tr -d '\r'; }

echo "== A settings file made by the Windows admin tool under Wine"
printf 'Auto=1\nMinimize=1\nUserGroup_Count=1\nUserGroup_0=Pupils\n' | "$env" run "$wfolder\\mrfctl.exe" encode "$wfolder\\mrf.dat"
ctl decode "$wfolder\\mrf.dat"
echo
echo "== On disk it is scrambled ($(stat -c %s "$folder/mrf.dat") bytes):"
head -c 160 "$folder/mrf.dat"; echo "..."
echo
echo "== Changing it: a rule set for the group Pupils"
ctl set "$wfolder\\mrf.dat" Pupils_FL_Count 1
ctl set "$wfolder\\mrf.dat" Pupils_FL_0_folder 'C:\Users\Public\Documents'
ctl set "$wfolder\\mrf.dat" Pupils_FL_0_mode 1
ctl set "$wfolder\\mrf.dat" Minimize ""
ctl list "$wfolder\\mrf.dat" pupils_
echo "Minimize is now: $(ctl get "$wfolder\\mrf.dat" Minimize '(absent)')"
