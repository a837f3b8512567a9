#!/usr/bin/env bash
# Builds Kalventa and runs every test: the developer build, the same tests
# again under AddressSanitizer and UndefinedBehaviorSanitizer, the browser
# edition (its core under node, its page in Chromium), and the fuzz targets for
# a bounded time; at the end, checks that the run left no process and no
# temporary file behind. Installs the Debian packages it needs.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh
source scripts/leftovers.sh

ensure_packages "${build_packages[@]}" shared-mime-info libreoffice-calc-nogui libbenchmark-dev libxdamage-dev clang libclang-rt-14-dev clang-format \
    xvfb xauth xdotool x11-apps x11-utils locales desktop-file-utils appstream dpkg-dev binutils file \
    dbus at-spi2-core python3-pyatspi poppler-utils valgrind "${web_packages[@]}" "${web_test_packages[@]}"
# The Debian package's build and its checks (the packaging tests).
ensure_packages build-essential debhelper lintian devscripts
ensure_npm

# The locale tests run the calculations under a decimal-comma locale.
if ! locale -a 2>/dev/null | grep -qi '^ru_RU\.utf-\?8$'; then
    as_root sed -i 's/^# *\(ru_RU.UTF-8 UTF-8\)/\1/' /etc/locale.gen
    grep -q '^ru_RU.UTF-8 UTF-8' /etc/locale.gen || echo 'ru_RU.UTF-8 UTF-8' | as_root tee -a /etc/locale.gen >/dev/null
    as_root locale-gen
fi

jobs=$(nproc)
passed=0
failed=0

# From here on, temporary files go to a folder of the run's own, and every
# process started carries the run's mark (scripts/leftovers.sh).
leftovers_start

# Builds and tests one preset. Called as `run_suite … || status=1`, where bash
# does not stop at a failing command, so each step checks its own result: a
# configure or build that fails counts as a failure, never as no tests.
run_suite() { # preset [VARIABLE=value…]: the tests' environment
    local preset=$1
    shift
    if ! cmake --preset "$preset" || ! cmake --build --preset "$preset" -j "$jobs"; then
        failed=$((failed + 1))
        return 1
    fi
    local log
    log=$(mktemp)
    set +e
    env "$@" ctest --preset "$preset" -j "$jobs" --no-tests=error 2>&1 | tee "$log"
    local status=${PIPESTATUS[0]}
    set -e
    local line total failures
    line=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1)
    total=$(sed -E 's/.* out of ([0-9]+).*/\1/' <<<"$line")
    failures=$(sed -E 's/.* ([0-9]+) tests? failed.*/\1/' <<<"$line")
    # ctest failed without saying how many tests did: count it as one.
    if [ "$status" -ne 0 ] && [ "${failures:-0}" -eq 0 ]; then failures=1; fi
    passed=$((passed + ${total:-0} - ${failures:-0}))
    failed=$((failed + ${failures:-0}))
    rm -f "$log"
    return "$status"
}

# The browser edition: the site built with emscripten, the core's test tables
# under node against its WebAssembly, and the page in Chromium, its printed
# note against the developer build's desktop note of the same file. Each test of
# node's runner counts; a build that fails counts as one failure.
run_web() {
    if ! scripts/web.sh || ! PUPPETEER_SKIP_DOWNLOAD=1 npm ci --no-audit --no-fund; then
        failed=$((failed + 1))
        return 1
    fi
    local log
    log=$(mktemp)
    set +e
    node --test --test-reporter=dot --test-reporter-destination=stdout \
        --test-reporter=tap --test-reporter-destination="$log" \
        web/tests/core_tables.test.mjs web/tests/page.test.mjs web/tests/files.test.mjs web/tests/accessibility.test.mjs \
        web/tests/note.test.mjs
    local status=$?
    set -e
    local passes failures
    passes=$(sed -nE 's/^# pass ([0-9]+)$/\1/p' "$log" | tail -n 1)
    failures=$(sed -nE 's/^# fail ([0-9]+)$/\1/p' "$log" | tail -n 1)
    if [ "$status" -ne 0 ] && [ "${failures:-0}" -eq 0 ]; then failures=1; fi
    echo "Browser edition: ${passes:-0} tests passed, ${failures:-0} failed"
    passed=$((passed + ${passes:-0}))
    failed=$((failed + ${failures:-0}))
    rm -f "$log"
    return "$status"
}

# Every test passes in the users' Russian locale as in C. The developer
# build's tests run in the first, the sanitizer build's in the second, which
# costs no extra run: both builds hold the same tests of the program, and the
# developer build also the packaging tests, which read readelf's,
# hardening-check's and lintian's output, translated in a Russian locale
# unless a test asks for C. C with UTF-8 text: in a plain ASCII locale Qt
# writes the window's legacy X title (WM_NAME) as bytes that X clients such
# as xdotool cannot read back as «Кальвента».
# The C++ sources as .clang-format lays them out (Debian's clang-format);
# one test, listing the files that differ.
run_format_check() {
    local files=()
    mapfile -t files < <(git ls-files '*.cpp' '*.h')
    if clang-format --dry-run --Werror "${files[@]}"; then
        echo "Format: ${#files[@]} C++ files as .clang-format lays them out"
        passed=$((passed + 1))
    else
        echo "Format: the files above differ from .clang-format's layout (run clang-format -i on them)"
        failed=$((failed + 1))
        return 1
    fi
}

status=0
run_format_check || status=1
run_suite dev LANG=ru_RU.UTF-8 LC_ALL=ru_RU.UTF-8 || status=1
run_suite asan LANG=C.UTF-8 LC_ALL=C.UTF-8 || status=1
run_web || status=1

# The fuzz targets, sharing the fuzz time: arbitrary bytes into the number
# reading and every calculation, then as a calculation file, then into the window's fields and buttons
# on the offscreen platform, then into runs whose calculation report is made,
# copied and saved as a PDF file; from the seeds, new inputs to scratch folders.
fuzz_seconds=${KALVENTA_FUZZ_SECONDS:-60}
run_fuzz() { # target seeds seconds [options…]
    local target=$1 seeds=$2 seconds=$3 corpus
    shift 3
    # libFuzzer takes 0 seconds for no limit.
    [ "$seconds" -ge 1 ] || seconds=1
    corpus=$(mktemp -d)
    if ./build/fuzz/fuzz/"$target" -max_total_time="$seconds" -print_final_stats=1 "$@" "$corpus" "$seeds"; then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
        status=1
    fi
    rm -rf "$corpus"
}
if cmake --preset fuzz && cmake --build --preset fuzz -j "$jobs" --target calculations_fuzz calculation_file_fuzz window_fuzz report_fuzz; then
    fuzz_quarter=$((fuzz_seconds / 4))
    # Qt's targets: fontconfig's caches are no leaks, and the leak check after
    # each input need not list them each time.
    qt_leaks="suppressions=$PWD/fuzz/qt_fuzz.lsan:print_suppressions=0"
    run_fuzz calculations_fuzz fuzz/seeds "$fuzz_quarter"
    run_fuzz calculation_file_fuzz fuzz/file_seeds "$fuzz_quarter"
    # Inputs as long as 64 KiB: field texts far past a field's width.
    LSAN_OPTIONS=$qt_leaks run_fuzz window_fuzz fuzz/seeds "$fuzz_quarter" -max_len=65536
    LSAN_OPTIONS=$qt_leaks run_fuzz report_fuzz fuzz/report_seeds $((fuzz_seconds - 3 * fuzz_quarter))
else
    failed=$((failed + 1))
    status=1
fi

# Nothing the run started may still run, and nothing it wrote may stay in the
# temporary folder: one more test.
if leftovers_check; then
    passed=$((passed + 1))
else
    failed=$((failed + 1))
    status=1
fi

echo "Kalventa: $passed passed, $failed failed"
exit "$status"
