#!/usr/bin/env bash
# The admin tool as administrators and scripts use it.
set -u
source "$(dirname "$0")/../harness/assert.sh"
tool=${MRFCTL:-$MRF_BIN/mrfctl}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
f=$work/mrf.dat

printf 'Auto=1\r\nAdmins_FL_Count=2\nAdmins_FL_0_folder=C:\\Data\\\nAdmins_FL_1_folder=  D:\\x  \nvalue=with=equals\nNoEquals\n' |
    "$tool" encode "$f"
check "encode succeeds" test $? -eq 0
check_eq "decode gives the lines as stored" "$("$tool" decode "$f")" \
    "$(printf 'Auto=1\nAdmins_FL_Count=2\nAdmins_FL_0_folder=C:\\Data\\\nAdmins_FL_1_folder=  D:\\x  \nvalue=with=equals\nNoEquals')"
check "the file is scrambled" bash -c "! grep -q Admins '$f'"
check_eq "get trims and ignores case" "$("$tool" get "$f" admins_fl_1_FOLDER)" 'D:\x'
check_eq "get of an absent name prints the default" "$("$tool" get "$f" Missing fallback)" fallback
"$tool" get "$f" Missing >/dev/null
check_eq "get of an absent name without default exits 1" $? 1

"$tool" set "$f" Auto 0 && "$tool" set "$f" NewKey "a b"
check_eq "set replaces in place and appends" "$("$tool" decode "$f" | head -1; "$tool" decode "$f" | tail -1)" \
    "$(printf 'Auto=0\nNewKey=a b')"
"$tool" set "$f" Auto ""
check_eq "an empty value deletes" "$("$tool" get "$f" Auto none)" none
check_eq "list prints the lines under a prefix" "$("$tool" list "$f" admins_fl_)" \
    "$(printf 'Admins_FL_Count=2\nAdmins_FL_0_folder=C:\\Data\\\nAdmins_FL_1_folder=  D:\\x  ')"

err=$("$tool" decode "$work/none.dat" 2>&1)
check_eq "a missing file exits 1" $? 1
check_eq "with one line naming it" "$err" "mrfctl: cannot open \"$work/none.dat\": no such file"
check "and is not created" test ! -e "$work/none.dat"
"$tool" set "$work/none.dat" A 1 2>/dev/null
check_eq "set on a missing file exits 1" $? 1

mkdir "$work/dir.dat"
"$tool" decode "$work/dir.dat" >/dev/null 2>"$work/err"
check_eq "an unreadable file exits 1" $? 1
check_eq "with one line" "$(wc -l <"$work/err")" 1

# init: the installer's step. A missing file is made with its journal, both writable by everyone;
# an existing one keeps what it holds; other content is refused.
i=$work/init/mrf.dat
mkdir -p "$work/init"
(umask 077 && "$tool" init "$i")
check_eq "init on a missing file exits 0" $? 0
check "and makes the settings file" test -s "$i"
check "and its journal" test -f "$i.jnl"
check_eq "both writable by everyone" "$(stat -c %a "$i" "$i.jnl" | sort -u)" 666
"$tool" set "$i" Kept 1
"$tool" init "$i"
check_eq "init keeps what the file holds" "$("$tool" get "$i" Kept)" 1
echo "plain text" >"$work/init/other.txt"
"$tool" init "$work/init/other.txt" 2>"$work/err"
check_eq "init refuses a file that holds other things" $? 1
check_eq "and leaves it as it was" "$(cat "$work/init/other.txt")" "plain text"

for args in "" "decode" "get $f" "frobnicate $f" "decode $f extra" "set $f A=B 1"; do
    # shellcheck disable=SC2086
    "$tool" $args >/dev/null 2>"$work/err"
    check_eq "bad arguments '$args' exit 2" $? 2
    check_eq "with one line for '$args'" "$(wc -l <"$work/err")" 1
done
"$tool" --help | grep -q "decode FILE"
check "--help lists the commands" test $? -eq 0

finish
