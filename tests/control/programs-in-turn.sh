#!/usr/bin/env bash
# Runs test programs in turn in one Wine session's prefix (wine-run
# --session), each with its output under a heading, and fails when any
# fails, naming them. Skipped (77) when 32-bit code cannot run here: the
# programs share one bitness, so the first says so for all.
#
#   programs-in-turn.sh WINE_RUN PROGRAM...
set -u
[ $# -ge 2 ] || { echo "usage: programs-in-turn.sh WINE_RUN PROGRAM..." >&2; exit 2; }
wine_run=$1
shift
failed=()
for program in "$@"; do
    name=$(basename "$program" .exe)
    echo "== $name"
    "$wine_run" "$program"
    status=$?
    [ "$status" -ne 77 ] || exit 77
    [ "$status" -eq 0 ] || failed+=("$name (exit status $status)")
done
if [ ${#failed[@]} -gt 0 ]; then
    echo "failed: ${failed[*]}"
    exit 1
fi
echo "all $# programs passed"
