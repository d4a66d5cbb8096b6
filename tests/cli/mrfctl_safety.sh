#!/usr/bin/env bash
# The admin tool against files it must not damage: read-only settings, foreign files, injected
# lines, two names of one file, two writers at once, and too little memory.
set -u
source "$(dirname "$0")/../harness/assert.sh"
tool=${MRFCTL:-$MRF_BIN/mrfctl}
work=$(mktemp -d)
trap 'chattr -i "$work"/* 2>/dev/null; rm -rf "$work"' EXIT

# A file that may not be written is not changed through the journal, now or at later loads.
ro=$work/ro.dat
printf 'A=1\n' | "$tool" encode "$ro"
if chattr +i "$ro" 2>/dev/null || { [[ $(id -u) != 0 ]] && chmod 444 "$ro"; }; then
    err=$("$tool" set "$ro" A 9 2>&1)
    check_eq "set on a read-only file exits 1" $? 1
    check "naming the file" grep -qF "\"$ro\"" <<<"$err"
    check_eq "the old value stays" "$("$tool" decode "$ro")" "A=1"
    check_eq "and stays at the next load" "$("$tool" get "$ro" A)" "1"
    check_eq "the journal holds nothing" "$(cat "$ro.jnl")" ""
    chattr -i "$ro" 2>/dev/null || chmod 644 "$ro"
else
    echo "skipped: cannot make a file read-only here"
fi

# A line break is never a second line.
x=$work/x.dat
printf 'A=1\n' | "$tool" encode "$x"
err=$("$tool" set "$x" Note $'hi\nInjected=1' 2>&1)
check_eq "a value with a line break exits 2" $? 2
check_eq "with one line" "$(wc -l <<<"$err")" 1
"$tool" get "$x" Injected >/dev/null
check_eq "nothing was injected" $? 1
"$tool" set "$x" $'A\r\nB' 1 2>/dev/null
check_eq "a name with a line break exits 2" $? 2
printf 'A=1\nB=2\rC=3\n' | "$tool" encode "$x" 2>/dev/null
check_eq "encode of a line with a lone CR exits 2" $? 2
check_eq "the file is unchanged" "$("$tool" decode "$x")" "A=1"

# A file that is not a settings file is neither read nor written, unless forced.
cp /etc/passwd "$work/f.txt"
err=$("$tool" set "$work/f.txt" A 1 2>&1)
check_eq "set on a foreign file exits 1" $? 1
check_eq "with one line" "$(wc -l <<<"$err")" 1
check "the foreign file is unchanged" cmp -s /etc/passwd "$work/f.txt"
"$tool" decode "$work/f.txt" >"$work/out" 2>"$work/err"
check_eq "decode of a foreign file exits 1" $? 1
check "saying so on standard error" grep -q "not a settings file" "$work/err"
check_eq "and printing nothing" "$(cat "$work/out")" ""
printf 'A=1\n' | "$tool" encode "$work/f.txt" 2>/dev/null
check_eq "encode over a foreign file exits 1" $? 1
check "the foreign file is still unchanged" cmp -s /etc/passwd "$work/f.txt"
"$tool" set --force "$work/f.txt" A 1
check_eq "--force overwrites it" "$("$tool" get "$work/f.txt" A)" 1
head -c 13 "$x" >"$work/short.dat"
"$tool" set "$work/short.dat" A 1 2>/dev/null
check_eq "a length that does not decode is refused" $? 1
: >"$work/empty.dat"
"$tool" set "$work/empty.dat" A 1
check_eq "an empty file is an empty settings file" "$("$tool" decode "$work/empty.dat")" "A=1"

# One file under two names (a link from another folder) has one lock: no update is lost when two
# processes save through both names at once.
mkdir "$work/real" "$work/other"
printf 'Seed=1\n' | "$tool" encode "$work/real/mrf.dat"
ln -s "$work/real/mrf.dat" "$work/other/link.dat"
writer() { # name prefix
    for i in $(seq 1 100); do "$tool" set "$1" "$2$i" "$i" || echo "set $2$i failed"; done
}
writer "$work/real/mrf.dat" P >"$work/w1" 2>&1 &
w1=$!
writer "$work/other/link.dat" Q >"$work/w2" 2>&1 &
w2=$!
wait $w1 $w2
check_eq "every set succeeded" "$(cat "$work/w1" "$work/w2")" ""
check_eq "no update was lost" "$("$tool" decode "$work/real/mrf.dat" | grep -c '^[PQ][0-9]*=')" 200
check "the link's folder has no journal of its own" test ! -e "$work/other/link.dat.jnl"

# Too little memory for a big file: a message and exit 1, not an abort.
if [[ -z ${MRF_SANITIZED:-} ]]; then
    head -c 64000000 /dev/zero | tr '\0' '0' >"$work/big.dat"
    (
        ulimit -v 120000
        "$tool" decode --force "$work/big.dat" >/dev/null 2>"$work/err"
    )
    check_eq "out of memory exits 1" $? 1
    check_eq "with a message" "$(cat "$work/err")" "mrfctl: out of memory"
    rm -f "$work/big.dat"
fi

finish
