#!/usr/bin/env bash
# The Windows admin tool writes and reads the same bytes as the native one, through Wine's real
# file system, and the Windows store saves safely next to a file another program keeps open.
set -u
source "$MRF_SOURCE/tests/harness/assert.sh"
export MRF_WINE_ROOT
win() { "$MRF_WINE_ENV" run "$MRF_BIN/mrfctl.exe" "$@"; }
native=$MRF_NATIVE_BIN/mrfctl
[[ -x $native ]] || { echo "native build missing: $native"; exit 1; }

work=$MRF_WINE_ROOT/prefix/drive_c/mrf-e2e-store
rm -rf "$work"; mkdir -p "$work"
trap 'rm -rf "$work"' EXIT
wdir='C:\mrf-e2e-store'

lines=$(printf 'Auto=1\nGuests_FL_0_folder=C:\\Users\\Public\\Documents\\\nGuests_FL_0_mask=*.doc;*.rtf\nvalue=a=b\nUml\xe4ut=\xc4\xd6\nEmpty=')
printf '%s\n' "$lines" | "$native" encode "$work/native.dat"
printf '%s\n' "$lines" | win encode "$wdir\\win.dat"
check "both builds write the same bytes" cmp "$work/native.dat" "$work/win.dat"
check_eq "Windows decodes the native file" "$(win decode "$wdir\\native.dat" | tr -d '\r')" "$lines"
check_eq "native decodes the Windows file" "$("$native" decode "$work/win.dat")" "$lines"

win set "$wdir\\win.dat" guests_fl_0_MASK '*.txt'
"$native" set "$work/native.dat" guests_fl_0_MASK '*.txt'
check "a set through either build gives the same bytes" cmp "$work/native.dat" "$work/win.dat"
check_eq "the journal is left empty" "$(stat -c %s "$work/win.dat.jnl")" 0

win decode "$wdir\\missing.dat" >/dev/null 2>&1
check_eq "a missing file exits 1 under Windows too" $? 1
check "and is not created" test ! -e "$work/missing.dat"

finish
