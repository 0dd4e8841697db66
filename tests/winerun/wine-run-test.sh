#!/usr/bin/env bash
# wine-run-test.sh WINE_RUN PROGRAM BUILD_DIR
set -u
wine_run=$1 program=$2 build=$3
# In the build directory, not /tmp: the emulated machine's /tmp is its own
# file system, where no hard link to the build directory's template can be
# made.
scratch=$(mktemp -d "$build/wine-run-test.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
failures=0

fail() {
    echo "FAIL $1" >&2
    failures=$((failures + 1))
}

# check NAME EXPECTED_STATUS EXPECTED_STDOUT EXPECTED_STDERR_PART -- WINE-RUN ARGUMENTS...
# Windows programs end their lines with CR LF; the CRs are dropped.
check() {
    local name=$1 want_status=$2 want_out=$3 want_err=$4
    shift 5
    local out err status
    out=$("$wine_run" "$@" 2>"$scratch/err")
    status=$?
    out=${out//$'\r'/}
    err=$(cat "$scratch/err")
    if [ "$status" -eq 77 ] && [ "$want_status" -ne 77 ]; then  # this machine cannot run the program
        echo "$err"
        exit 77
    fi
    [ "$status" -eq "$want_status" ] || fail "$name: exit status $status, expected $want_status; stderr: $err"
    [ "$out" = "$want_out" ] || fail "$name: stdout '$out', expected '$want_out'"
    [[ "$err" == *"$want_err"* ]] || fail "$name: stderr '$err' lacks '$want_err'"
}

nl=$'\n'
check status_and_arguments 7 "7${nl}two words${nl}-x" "" -- -- "$program" 7 "two words" -x
# As the emulator, without "--"; the working directory carries over, so a
# relative program path works.
pushd "$(dirname "$program")" >/dev/null
check as_emulator_relative_path 5 "5" "" -- "./$(basename "$program")" 5
popd >/dev/null
[ -f "$build/wine/default/.kel-wine-prefix" ] || fail "default prefix not made in $build/wine/default"
check named_prefix 3 "3" "" -- --prefix "$build/wine/wine_run" -- "$program" 3
# Nothing of the prefix outlives the run: a process left behind would keep the
# run's mounts alive. Wine's processes carry the prefix in their environment.
if grep -qlsz "^WINEPREFIX=$build/wine/wine_run\$" /proc/[0-9]*/environ; then
    fail "named_prefix: a process of the prefix outlived the run"
fi
touch "$build/wine/wine_run/drive_c/leftover"
check named_prefix_again 4 "4" "" -- --prefix "$build/wine/wine_run" -- "$program" 4
[ ! -e "$build/wine/wine_run/drive_c/leftover" ] || fail "named_prefix_again: the prefix was not made afresh"
check unknown_version 125 "" "unknown Windows version 'win31'" -- --version win31 -- "$program"
check missing_program 125 "" "program not found: $scratch/none.exe" -- -- "$scratch/none.exe"
check missing_fixture 125 "" "fixture not found: $scratch/none.reg" -- --import "$scratch/none.reg" -- "$program"
mkdir "$scratch/foreign"
touch "$scratch/foreign/keep"
KEL_WINE_TEMPLATE=$scratch/.template check foreign_directory 125 "" "not made by wine-run" -- \
    --prefix "$scratch/foreign" -- "$program"
[ -f "$scratch/foreign/keep" ] || fail "foreign_directory: the directory was touched"
[ ! -e "$scratch/.template" ] || fail "foreign_directory: a template was booted before refusing"
check no_program 125 "" "usage" -- --xvfb
# A template the machine's store holds is linked into place, not booted: its
# system libraries are the store's own files.
. "$(dirname "$wine_run")/lib/wine-root.sh"
runs_32=no
kel_runs_32_bit_code && runs_32=yes
stored=$scratch/store/$(kel_wine_template_kind "$runs_32")
mkdir -p "$scratch/store"
cp -al "$build/wine/.template" "$stored"
KEL_WINE_TEMPLATES=$scratch/store KEL_WINE_TEMPLATE=$scratch/linked/.template check stored_template 6 "6" "" -- \
    --prefix "$scratch/linked/run" -- "$program" 6
! grep -q "booting" "$scratch/err" || fail "stored_template: booted a template the store holds"
library=drive_c/windows/system32/kernel32.dll
[ "$(stat -c %i "$stored/$library")" = "$(stat -c %i "$scratch/linked/.template/$library" 2>&1)" ] ||
    fail "stored_template: the system libraries are not the store's"
KEL_WINE_ROOT=$scratch/no-root check no_root 125 "" "no Wine root in $scratch/no-root: run scripts/setup" -- "$program"
# A session: programs run in its prefix with one start of Wine, the last
# one's status is the session's, and options that would change the prefix
# are refused inside it.
session=$build/wine/wine_run_session
check session 3 "1${nl}refused${nl}3" "in the session's prefix as it is" -- --prefix "$session" --session -- \
    /bin/bash -c '"$0" -- "$1" 1; "$0" --version win98 "$1" 2 || echo refused; "$0" "$1" 3' "$wine_run" "$program"
if grep -qlsz "^WINEPREFIX=$session\$" /proc/[0-9]*/environ; then
    fail "session: a process of the prefix outlived the session"
fi
check session_needs_prefix 125 "" "--session needs --prefix" -- --session -- /bin/true

echo "$failures failed"
[ "$failures" -eq 0 ]
