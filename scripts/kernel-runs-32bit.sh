#!/usr/bin/env bash
# Answers 0 when this kernel runs 32-bit x86 code, which Wine's 32-bit loader needs for the i686
# build. A 64-bit program makes one 32-bit system call (getpid through int 0x80); a kernel
# without 32-bit emulation refuses the instruction and the program dies.
set -u
dir=$(mktemp -d "${TMPDIR:-/tmp}/qs-ia32.XXXXXX")
trap 'rm -rf "$dir"' EXIT
cat >"$dir/probe.c" <<'C'
int main(void)
{
    long result;
    __asm__ volatile("int $0x80" : "=a"(result) : "a"(20L) : "memory");
    return result > 0 ? 0 : 1;
}
C
cc -O0 -o "$dir/probe" "$dir/probe.c" 2>/dev/null || exit 2
# In a shell of its own, so that the crash report goes where its output goes.
bash -c '"$0"; exit $?' "$dir/probe" >/dev/null 2>&1
