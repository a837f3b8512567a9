# Shared by the packaging tests: failing with a message, a scratch folder
# removed on exit, and the comparison of a file tree with the expected list.
#
# The tests run in the user's locale, as a packager's shell does; each tool
# whose output they read runs with LC_ALL=C, since its messages (readelf's,
# hardening-check's, ...) are translated in a Russian locale.

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# Runs the commands registered with on_exit, newest first, then removes the
# scratch folder.
exit_actions=()
on_exit() {
    exit_actions=("$*" "${exit_actions[@]}")
}
run_exit_actions() {
    local action
    for action in "${exit_actions[@]}"; do
        eval "$action" || true
    done
}
trap run_exit_actions EXIT

scratch=$(mktemp -d "${TMPDIR:-/tmp}/kalventa-packaging.XXXXXX")
on_exit rm -rf "'$scratch'"

# Fails unless the regular files and links under root are exactly those of
# the list, one path a line relative to root.
expect_files() { # root list
    local found
    found=$(cd "$1" && find . \( -type f -o -type l \) -printf '%P\n' | LC_ALL=C sort)
    if ! diff -u <(LC_ALL=C sort "$2") <(printf '%s\n' "$found"); then
        fail "the files under $1 differ from $2 (- expected, + found)"
    fi
}

# The AppStream validator's findings on a metainfo file or an installed tree,
# one "SEVERITY tag" a line: E error, W warning, I info, P pedantic.
appstream_findings() { # validate|validate-tree path
    LC_ALL=C appstreamcli "$1" --no-net --pedantic "$2" \
        | sed -nE 's/^[[:space:]]*([EWIP]): [^ ]+ ([a-z0-9-]+).*/\1 \2/p' | LC_ALL=C sort -u
}
