#!/usr/bin/env bash
# The set-up's question, asked as any user: does this kernel start 32-bit x86
# programs? Usage: runs_32bit_test.sh PATH-TO-runs-32bit
set -uo pipefail
decide="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

# The probe the kernel is asked to start is a 32-bit i386 executable whose
# entry lies inside the one segment it loads.
bash "$decide" --write-probe "$work/probe"
header="$(readelf -lh "$work/probe" 2>&1)"
for field in 'Class: +ELF32' 'Machine: +Intel 80386' 'Type: +EXEC' 'Entry point address: +0x8048054' \
             'LOAD +0x000000 0x08048000 0x08048000 0x00060 0x00060 R E'; do
  grep -Eq "$field" <<<"$header" || fail "probe header lacks '$field'"
done
[ -x "$work/probe" ] || fail "the probe is not executable"

# What counts as started: a program that runs and exits with the probe's
# status. Anything else (another status, a format the kernel refuses, a file
# that cannot be run) is a no.
printf '#!/bin/sh\nexit 42\n' >"$work/exits-42"
printf '#!/bin/sh\nexit 0\n' >"$work/exits-0"
cp "$work/probe" "$work/arm-probe"
printf '\x28' | dd of="$work/arm-probe" bs=1 seek=18 conv=notrunc status=none  # e_machine: ARM
printf 'not a program\n' >"$work/text"
chmod +x "$work/exits-42" "$work/exits-0" "$work/arm-probe"
check() {
  local program="$1" expected="$2" got=0
  bash "$decide" --probe "$program" || got=$?
  [ "$got" -eq "$expected" ] || fail "$(basename "$program"): answered $got, expected $expected"
}
check "$work/exits-42" 0
check "$work/exits-0" 1
check "$work/arm-probe" 1
check "$work/text" 1
check "$work/missing" 1

# Where the kernel was booted with IA-32 emulation off, the answer is no.
if grep -Eqw 'ia32_emulation=(0|false|n)' /proc/cmdline 2>/dev/null; then
  bash "$decide" && fail "the kernel runs with ia32_emulation off, yet the answer was yes"
fi
# The answer on this machine, with the reason when it is no, for the log.
bash "$decide" --explain && echo "this machine starts 32-bit programs" || true

[ "$failures" -eq 0 ] && echo "all checks passed"
exit $((failures > 0))
