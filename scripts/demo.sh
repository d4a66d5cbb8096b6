#!/usr/bin/env bash
# The main job: builds everything, installs the Windows programs into a demo program folder under
# Wine, seeds a small rule set for the Wine user, applies it with "mrf.exe /S" and shows what the
# reference engine now enforces.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
scripts/build.sh

# The shipped 32-bit programs under the 32-bit Wine; the 64-bit build where 32-bit cannot run.
if scripts/can-run-32bit.sh >/dev/null; then
    export MRF_WINE_ARCH=win32 bin=build/windows/bin
else
    export MRF_WINE_ARCH=win64 bin=build/windows64/bin
fi
export MRF_WINE_ROOT=$PWD/build/demo/wine-$MRF_WINE_ARCH
env=tests/harness/wine-env.sh
run() { "$env" run "$@" 2>/dev/null | tr -d '\r'; }
trap 'run sc delete ZFPUni >/dev/null || true; "$env" down >/dev/null' EXIT
"$env" up >/dev/null

folder=$MRF_WINE_ROOT/prefix/drive_c/Marrowfold
w='C:\Marrowfold'
rm -rf "$folder"
mkdir -p "$folder"
cp "$bin"/{mrf.exe,vexcore.dll,vexcheck.exe,mrfctl.exe} "$folder"/
user=$(run cmd /c 'echo %USERNAME%')

echo "== Installing the $([[ $MRF_WINE_ARCH == win32 ]] && echo 32 || echo 64)-bit programs into $w for the Wine user '$user'"
# The reference engine looks for the file-protection driver's registration.
run sc create ZFPUni type= kernel binpath= 'C:\windows\system32\drivers\ZFPUni.sys' >/dev/null
printf '%s\r\n' "Auto=1" "Minimize=0" \
    "UserGroup_Count=1" "UserGroup_0=Pupils" "${user}_UserGroup=Pupils" \
    "Pupils_FL_Count=3" \
    'Pupils_FL_0_folder=C:\School\Exams\' "Pupils_FL_0_mode=2" \
    'Pupils_FL_1_folder=C:\School\Templates' "Pupils_FL_1_mode=1" "Pupils_FL_1_mask=*.dot;*.xlt" \
    'Pupils_FL_2_folder=C:\School\Shared' "Pupils_FL_2_mode=1" "Pupils_FL_2_mask=*.doc" \
    'Pupils_FL_2_exlproc=*\grader.exe' |
    run "$w\\mrfctl.exe" encode "$w\\mrf.dat"
echo "The settings file, as mrfctl decodes it:"
run "$w\\mrfctl.exe" decode "$w\\mrf.dat" | sed 's/^/    /'
echo "On disk it is scrambled: $(head -c 60 "$folder/mrf.dat")..."
echo
echo "== What the rule set compiles to (mrfctl rules mrf.dat Pupils)"
run "$w\\mrfctl.exe" rules "$w\\mrf.dat" Pupils | sed 's/^/    /'
echo
echo "== mrf.exe /S applies the logged-on user's rules and ends"
run "$w\\mrf.exe" /S
echo "The reference engine's active entries (vexcheck list):"
run "$w\\vexcheck.exe" list | sed 's/^/    /'
echo
echo "== Access checks (vexcheck PROCESS PATH ACCESS)"
verdict() {
    local out
    out=$(run "$w\\vexcheck.exe" "$@") && echo "    allowed: $*" || echo "    DENIED:  $* -> ${out:-denied}"
}
verdict 'C:\Windows\notepad.exe' 'C:\School\Exams\answers.txt' read
verdict 'C:\Office\winword.exe' 'C:\School\Shared\essay.doc' read
verdict 'C:\Office\winword.exe' 'C:\School\Shared\essay.doc' write
verdict 'C:\School\grader.exe' 'C:\School\Shared\essay.doc' write
verdict 'C:\Windows\explorer.exe' 'C:\Windows\System32\timedate.cpl' read
