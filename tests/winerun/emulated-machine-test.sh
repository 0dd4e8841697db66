#!/usr/bin/env bash
# emulated-machine-test.sh EMULATED_MACHINE BUILD_DIR
# The emulated machine, where this machine needed one: the command runs in
# the caller's directory, with its arguments and settings, on a kernel that
# runs 32-bit code; its output (a pipe, as on the host), errors and exit
# status come back apart and unchanged; without a machine it says so and
# exits 125.
set -u
runner=$1 build=$2
. "$(dirname "$runner")/lib/emulated-machine.sh"
case "$(kel_machine_made_from)" in
    "$kel_machine_recipe; "*) ;;
    *)
        echo "no emulated machine in $kel_machine: this machine runs 32-bit code, so setup made none"
        exit 77
        ;;
esac
# The shared file system, not /tmp, which is the machine's own.
scratch=$(mktemp -d "$build/emulated-machine-test.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
failures=0
fail() {
    echo "FAIL $1" >&2
    failures=$((failures + 1))
}

cd "$scratch" || exit 1
out=$(KEL_PROBE="a setting" "$runner" bash -c '
    . "$1/lib/wine-root.sh"
    kel_runs_32_bit_code && bits=32 || bits=none
    [ -t 1 ] && output=terminal || output=pipe
    echo "result:$PWD|$KEL_PROBE|$2|$bits|$output"
    echo "an error" >&2
    exit 3' _ "$(dirname "$runner")" "two words" 2>"$scratch/errors")
status=$?
errors=$(cat "$scratch/errors")
[ "$status" -eq 3 ] || fail "exit status $status, expected 3; output: $out; errors: $errors"
want="result:$scratch|a setting|two words|32|pipe"
[ "$out" = "$want" ] || fail "output '$out', expected '$want' alone and without carriage returns"
[ "$errors" = "an error" ] || fail "errors '$errors', expected 'an error' alone"

out=$(KEL_EMULATED_MACHINE=$scratch/none "$runner" true 2>&1)
status=$?
[ "$status" -eq 125 ] || fail "no machine: exit status $status, expected 125"
[[ "$out" == *"no emulated machine in $scratch/none"* ]] || fail "no machine: output '$out'"

[ "$failures" -eq 0 ] && echo "all checks passed"
[ "$failures" -eq 0 ]
