#!/usr/bin/env bash
# Exits 0 where this machine runs 32-bit x86 programs (and so the i686 product under 32-bit
# Wine), 1 where not: some kernels are built without 32-bit support. The probe is a 32-bit ELF
# that only exits; it fails with "Exec format error" where 32-bit code cannot run.
# FQ_NO_32BIT=1 answers no, to try the other path on a machine that has 32-bit support.
set -uo pipefail
[[ ${FQ_NO_32BIT:-} == 1 ]] && exit 1
folder="$(mktemp -d)"
trap 'rm -rf "$folder"' EXIT
printf '.globl _start\n_start: movl $1, %%eax\nxorl %%ebx, %%ebx\nint $0x80\n' |
  as --32 -o "$folder/probe.o" - && ld -m elf_i386 -o "$folder/probe" "$folder/probe.o" &&
  "$folder/probe" 2>/dev/null
