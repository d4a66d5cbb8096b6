#!/usr/bin/env bash
# Exit 0 when this machine's kernel runs 32-bit x86 Linux programs; otherwise prints why and
# exits 1. Runs a 93-byte static ELF32 program that only calls exit(0), so it needs no 32-bit
# library: some kernels are built without 32-bit support and refuse it ("Exec format error").
set -uo pipefail
probe=$(mktemp)
trap 'rm -f "$probe"' EXIT
# ELF header, one loadable segment, then: xor ebx,ebx; mov eax,1; int 0x80
printf '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08\x5d\x00\x00\x00\x5d\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00\x31\xdb\xb8\x01\x00\x00\x00\xcd\x80' >"$probe"
chmod +x "$probe"
[[ ${MRF_NO_32BIT:-} == 1 ]] && { echo "MRF_NO_32BIT=1 is set"; exit 1; }
err=$("$probe" 2>&1) && exit 0
echo "the kernel refuses 32-bit programs (${err:-exit code $?})"
exit 1
