# What a test run leaves behind, for scripts/test.sh. From leftovers_start
# on, the run has a temporary folder of its own (TMPDIR) and a mark in the
# environment of every process it starts; leftovers_check then finds what is
# still in that folder, and the processes still alive below the script or
# handed to init with the mark (a daemon forks twice). Another build or test
# run on the machine, started before or beside this one, has neither.

leftovers_start() {
    run_tmp=$(mktemp -d "${TMPDIR:-/tmp}/kalventa-test.XXXXXX")
    export TMPDIR=$run_tmp KALVENTA_TEST_RUN=$run_tmp
    # A desktop session gives its programs a runtime folder; without one, Qt
    # makes itself one in TMPDIR and keeps it. This one is the run's session
    # folder: what programs keep there for the session (Chromium's dconf
    # state, for one) goes with it.
    run_runtime=
    if [[ -z ${XDG_RUNTIME_DIR:-} ]]; then
        run_runtime=$run_tmp/runtime
        mkdir -m 700 "$run_runtime"
        export XDG_RUNTIME_DIR=$run_runtime
    fi
    trap leftovers_clean_up EXIT
}

# Sets leftover_pids to the run's processes that are still alive. It reads
# /proc in this very shell: a process started to look would be found too.
leftovers_find_processes() {
    leftover_pids=()
    local -A parent=()
    local dir pid stat rest up depth entry
    for dir in /proc/[0-9]*; do
        read -r stat 2>/dev/null <"$dir/stat" || continue
        # "pid (command) state ppid …", where the command may hold blanks
        # and brackets. A zombie has ended; only its parent has yet to know.
        rest=${stat##*) }
        [[ ${rest%% *} == Z ]] && continue
        rest=${rest#* }
        parent[${dir#/proc/}]=${rest%% *}
    done
    for pid in "${!parent[@]}"; do
        [[ $pid == "$$" ]] && continue
        up=${parent[$pid]}
        for ((depth = 0; depth < 100 && up > 1 && up != $$; depth++)); do
            up=${parent[$up]:-0}
        done
        if [[ $up == "$$" ]]; then
            leftover_pids+=("$pid")
            continue
        fi
        while IFS= read -r -d '' entry; do
            if [[ $entry == "KALVENTA_TEST_RUN=$run_tmp" ]]; then
                leftover_pids+=("$pid")
                break
            fi
        done 2>/dev/null <"/proc/$pid/environ" || true
    done
    return 0
}

# Waits up to `tenths` tenths of a second for the run's processes to end.
leftovers_wait() { # tenths
    local tries
    for ((tries = 0; tries < $1; tries++)); do
        leftovers_find_processes
        [[ ${#leftover_pids[@]} -eq 0 ]] && return 0
        sleep 0.1
    done
    leftovers_find_processes
    [[ ${#leftover_pids[@]} -eq 0 ]]
}

leftovers_end_processes() {
    leftovers_find_processes
    [[ ${#leftover_pids[@]} -eq 0 ]] && return 0
    kill -TERM "${leftover_pids[@]}" 2>/dev/null || true
    leftovers_wait 50 && return 0
    kill -KILL "${leftover_pids[@]}" 2>/dev/null || true
    leftovers_wait 20 || true
}

leftovers_clean_up() {
    leftovers_end_processes
    rm -rf "$run_tmp"
}

# Prints what the run left, if anything, and fails then; cleans it up either
# way. A process gets two seconds to end on its own.
leftovers_check() {
    local left=0 pid words file files
    leftovers_wait 20 || true
    for pid in "${leftover_pids[@]}"; do
        mapfile -d '' -t words 2>/dev/null <"/proc/$pid/cmdline" || continue
        echo "Left running: $pid ${words[*]}"
        left=1
    done
    # Ended first, so that nothing writes into the folder any more.
    leftovers_end_processes
    mapfile -t files < <(find "$run_tmp" -mindepth 1 -maxdepth 3 \( -path "${run_runtime:-/}" -prune -o -printf '%P\n' \) | sort)
    for file in "${files[@]}"; do
        echo "Left in the temporary folder: $file"
        left=1
    done
    rm -rf "$run_tmp"
    if [[ $left -eq 0 ]]; then
        echo "Nothing left behind: no process of the run, no temporary file"
    fi
    return "$left"
}
