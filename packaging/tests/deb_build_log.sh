#!/usr/bin/env bash
# Reads the package build's log (dh builds verbosely) for what cannot be seen
# in the package: every object was compiled with Debian's optimisation and
# hardening flags and, after them, the project's own (warnings, no fused
# multiply-add, no fast-math), never as errors; and dh_auto_test ran all the
# calculation tests of the project against those objects, and they passed.
# Usage: deb_build_log.sh BUILD_DIR OUT_DIR
set -euo pipefail
source "$(dirname "$0")/common.sh"
build_dir=$1
log="$2/package/build.log"

required=(-O2 -fstack-protector-strong -D_FORTIFY_SOURCE=2 -Wformat -Wall -Wextra -Wconversion
    -ffp-contract=off -fno-fast-math)
# debian/rules asks for these where dpkg-buildflags does not give them.
case $(dpkg --print-architecture) in
amd64 | i386) required+=(-fstack-clash-protection -fcf-protection) ;;
arm64) required+=(-fstack-clash-protection -mbranch-protection=standard) ;;
esac
forbidden=(-Werror -ffast-math -Ofast -ffp-contract=fast)

# CMake's verbose compile lines: "… -o DIR/FILE.o -c SOURCE".
grep -E ' -o [^ ]+\.o -c [^ ]+$' "$log" >"$scratch/compiles.txt" || fail "no compile line in $log"
grep -q ' -c [^ ]*/core/rope_check\.cpp$' "$scratch/compiles.txt" || fail "the calculation core was not compiled"
while IFS= read -r line; do
    words=" $line "
    for flag in "${required[@]}"; do
        [[ $words == *" $flag "* ]] || fail "compiled without $flag: ${line##* -c }"
    done
    for flag in "${forbidden[@]}"; do
        [[ $words != *" $flag "* ]] || fail "compiled with $flag: ${line##* -c }"
    done
done <"$scratch/compiles.txt"
echo "$(wc -l <"$scratch/compiles.txt") objects compiled with ${required[*]}"

# The calculation tests (label core) of the project, all run and passed.
expected=$(ctest --test-dir "$build_dir" -N -L core | sed -n 's/^Total Tests: //p') \
    || fail "ctest cannot list the tests of $build_dir"
[[ $expected -gt 0 ]] || fail "the build in $build_dir lists no calculation test"
grep -qx "100% tests passed, 0 tests failed out of $expected" "$log" \
    || fail "dh_auto_test did not pass all $expected calculation tests: $(grep -E 'tests passed|tests failed' "$log")"
echo "dh_auto_test: $expected calculation tests passed"
