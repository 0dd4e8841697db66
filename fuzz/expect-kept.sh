#!/usr/bin/env bash
# Checks that the mutating driver keeps the input that brings its target
# down, and fails: for each word the crashing target knows, a directory
# holding one input that starts with it is replayed, and the run must exit 1
# leaving crash-* (timeout-* for "hang") with exactly the input's bytes.
#
#   expect-kept.sh [--windows-paths] WORKDIR -- COMMAND...
#
# COMMAND is the driver, with whatever runs it (wine-run), to which the
# flags and the input directory are added. --windows-paths hands Wine paths
# (Z:...) to the program.
set -uo pipefail

windows=no
if [ "${1:-}" = --windows-paths ]; then
    windows=yes
    shift
fi
[ $# -ge 3 ] && [ "$2" = -- ] || { echo "usage: expect-kept.sh [--windows-paths] WORKDIR -- COMMAND..." >&2; exit 2; }
workdir=$1
shift 2

program_path() {
    if [ "$windows" = yes ]; then echo "Z:$1"; else echo "$1"; fi
}

failures=0
for word in trap abort null wild hang; do
    dir=$workdir/$word
    rm -rf "$dir"
    mkdir -p "$dir/inputs" "$dir/kept"
    printf '%s, then some bytes\n' "$word" >"$dir/inputs/one"
    kind=crash
    [ "$word" = hang ] && kind=timeout
    "$@" -seed=1 -runs=1 -timeout=2 "-artifact_prefix=$(program_path "$dir/kept")/" \
        "$(program_path "$dir/inputs")" >"$dir/output" 2>&1
    status=$?
    if [ "$status" -eq 77 ]; then  # wine-run could not run the program here
        cat "$dir/output"
        exit 77
    fi
    kept=("$dir/kept/$kind"-*)
    if [ "$status" -ne 1 ]; then
        echo "FAIL $word: exit status $status, expected 1"; failures=$((failures + 1))
    elif [ ${#kept[@]} -ne 1 ] || [ ! -f "${kept[0]}" ]; then
        echo "FAIL $word: no single $kind-* kept; the kept directory holds: $(ls "$dir/kept")"
        failures=$((failures + 1))
    elif ! cmp -s "${kept[0]}" "$dir/inputs/one"; then
        echo "FAIL $word: ${kept[0]} differs from the input"; failures=$((failures + 1))
    else
        echo "ok   $word: $(basename "${kept[0]}")"
        continue
    fi
    sed 's/^/     | /' "$dir/output" | tail -n 20
done
echo "$((5 - failures)) passed, $failures failed"
[ "$failures" -eq 0 ]
