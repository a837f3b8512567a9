# Starts an X server of the test's own on the first free display and points
# DISPLAY at it; the server is stopped when the test exits. Needs common.sh.

start_xvfb() {
    local display_file="$scratch/xvfb-display"
    : >"$display_file"
    # -displayfd: the server picks a free display itself and writes its
    # number once it accepts connections, so parallel tests never collide.
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset \
        3>"$display_file" >"$scratch/xvfb.log" 2>&1 &
    local pid=$!
    on_exit "kill $pid 2>/dev/null; wait $pid 2>/dev/null"
    local tries
    for ((tries = 0; tries < 200; tries++)); do
        if grep -q '^[0-9][0-9]*$' "$display_file"; then
            export DISPLAY=":$(head -n 1 "$display_file")"
            return 0
        fi
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.05
    done
    cat "$scratch/xvfb.log" >&2
    fail "Xvfb did not start"
}
