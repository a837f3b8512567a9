#!/usr/bin/env bash
# Runs hardening-check (devscripts) on the packaged program and its print
# preview module and shows their reports. Position-independent code, the
# stack protector, read-only relocations and immediate binding must be "yes".
# Three checks may answer otherwise, each only for the reason given beside it.
# Usage: deb_hardening.sh OUT_DIR
set -euo pipefail
source "$(dirname "$0")/common.sh"
program="$1/root/usr/bin/kalventa"

report=$(LC_ALL=C hardening-check --verbose "$program" || true)
echo "$report"
answer() { # check
    sed -n "s/^ $1: //p" <<<"$report"
}
for check in "Position Independent Executable" "Stack protected" "Read-only relocations" "Immediate binding"; do
    [[ $(answer "$check") == yes ]] || fail "$check: '$(answer "$check")', not yes"
done

# Fortify: the compile lines carry -D_FORTIFY_SOURCE (deb_build_log.sh), but
# the only C library calls the program makes that fortify knows are the
# memcpy, memmove and memset of the standard strings and containers, into heap
# buffers whose size the compiler cannot know; fortify leaves those as they
# are. Any other unprotected call (strcpy, sprintf, read, ...) fails.
fortify=$(answer "Fortify Source functions")
if [[ $fortify != yes* ]]; then
    [[ $fortify == "no, only unprotected functions found!" ]] || fail "Fortify Source functions: '$fortify'"
    unprotected=$(sed -n 's/^\tunprotected: //p' <<<"$report" | LC_ALL=C sort | tr '\n' ' ')
    [[ $unprotected =~ ^((memcpy|memmove|memset)\ )+$ ]] \
        || fail "unprotected C library calls beyond memcpy, memmove, memset: $unprotected"
fi

# Stack clash: the program is built with -fstack-clash-protection where the
# processor has it (deb_build_log.sh), and the probes that hardening-check
# looks for are made only for a stack frame of a page or more, which no
# function of the program has.
stack_clash=$(answer "Stack clash protection")
[[ $stack_clash == yes || $stack_clash == "unknown, no -fstack-clash-protection instructions found" ]] \
    || fail "Stack clash protection: '$stack_clash'"

# Control-flow integrity: the linker marks a program as protected only when
# every object it links is, the C library's start files included; Debian 12's
# are not (its own programs answer "no" too). hardening-check knows only the
# x86 marking.
cfi=$(answer "Control flow integrity")
if [[ $cfi != yes ]]; then
    start_file=$(c++ -print-file-name=Scrt1.o)
    if [[ $(dpkg --print-architecture) == @(amd64|i386) ]] \
        && grep -q 'x86 feature: IBT, SHSTK' <<<"$(LC_ALL=C readelf -n "$start_file")"; then
        fail "Control flow integrity: '$cfi', though the C library's start files are marked"
    fi
fi
# The print preview's module, linked with the same flags: its relocations
# read-only and bound at loading, its stack protected, as the program's.
module=$(find "$1/root/usr/lib" -name kalventa-print-preview.so)
[[ -n $module ]] || fail "no print preview module in the package"
report=$(LC_ALL=C hardening-check --verbose "$module" || true)
echo "$report"
for check in "Stack protected" "Read-only relocations" "Immediate binding"; do
    [[ $(answer "$check") == yes ]] || fail "the print preview module's $check: '$(answer "$check")', not yes"
done
echo "hardening as expected"
