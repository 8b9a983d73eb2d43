#!/bin/sh
# Exits 0 when this kernel runs 32-bit x86 programs, 1 when it does not.
# Some machines of our kind have the kernel's IA32 emulation switched off;
# there a 32-bit program fails with "Exec format error". The probe is the
# smallest such program, made with the assembler and linker that come with
# the compiler, so nothing from the i386 architecture is needed to ask.
set -eu
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
printf '.globl _start\n_start:\n movl $1, %%eax\n movl $0, %%ebx\n int $0x80\n' >"$work/exit.s"
as --32 -o "$work/exit.o" "$work/exit.s" 2>/dev/null && ld -m elf_i386 -o "$work/exit" "$work/exit.o" 2>/dev/null ||
    exit 1
"$work/exit" 2>/dev/null
