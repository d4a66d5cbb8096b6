#!/usr/bin/env bash
# mrfctl rules: the entries the engine would receive for one rule key.
set -u
source "$(dirname "$0")/../harness/assert.sh"
tool=${MRFCTL:-$MRF_BIN/mrfctl}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
f=$work/mrf.dat
T=$'\t'

printf '%s\n' 'UserGroup_Count=1' 'UserGroup_0=Staff' 'Staff_FL_Count=3' \
    'Staff_FL_0_folder=C:\Docs\' 'Staff_FL_0_mode=1' 'Staff_FL_0_mask=*.doc' 'Staff_FL_0_proc=*winword.exe' \
    'Staff_FL_1_folder=D:\Secret' 'Staff_FL_1_mode=2' 'Staff_FL_1_enabled=0' \
    'Staff_FL_2_folder=E:\Share' 'Staff_FL_2_mode=2' 'Staff_FL_2_mask=*.a;;*.b' 'Staff_FL_2_exlproc=*backup.exe' \
    'Staff_NoSetup=1' | "$tool" encode "$f"

expected="1${T}C:\\Docs\\*.doc${T}ExcludeFiles${T}*winword.exe${T}mrf.exe;ulksrv.exe
10${T}C:\\Docs${T}ExcludeFiles${T}*winword.exe${T}mrf.exe;ulksrv.exe
2${T}E:\\Share\\*.a${T}ExcludeFiles${T}*${T}*backup.exe
2${T}E:\\Share\\*.b${T}ExcludeFiles${T}*${T}*backup.exe
1${T}C:\\App\\*${T}ExcludeFiles${T}*${T}mrf.exe;ulksrv.exe
2${T}*timedate.cpl${T}ExcludeFiles${T}*explorer.exe;*rundll32.exe${T}mrf.exe;ulksrv.exe
2${T}*install.exe;*setup.exe;*.msi${T}ExcludeFiles${T}*${T}mrf.exe;ulksrv.exe"
check_eq "rules prints every entry in order" "$("$tool" rules "$f" staff --program-folder 'C:\App')" "$expected"

check_eq "the program folder defaults to the folder of FILE" \
    "$("$tool" rules "$f" Nobody | head -1)" "1${T}$work/*${T}ExcludeFiles${T}*${T}mrf.exe;ulksrv.exe"
check_eq "the exempt processes can be named" \
    "$("$tool" rules "$f" Nobody --processes 'a.exe' | tail -1)" "2${T}*timedate.cpl${T}ExcludeFiles${T}*explorer.exe;*rundll32.exe${T}a.exe"

"$tool" set "$f" Staff_FL_2_mode two
err=$("$tool" rules "$f" Staff 2>&1 >"$work/out")
check_eq "a malformed value exits 1" $? 1
check_eq "naming the key and the value" "$err" "mrfctl: 'two' is not a valid integer value (setting Staff_FL_2_mode)"
check_eq "and prints no entries" "$(wc -c <"$work/out")" 0

"$tool" rules "$work/none.dat" Staff 2>/dev/null
check_eq "a missing file exits 1" $? 1
"$tool" rules "$f" Staff --frobnicate x 2>/dev/null
check_eq "an unknown option exits 2" $? 2
"$tool" rules "$f" Staff --program-folder 2>/dev/null
check_eq "an option without value exits 2" $? 2

finish
