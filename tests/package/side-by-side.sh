#!/usr/bin/env bash
# Both modules on one 64-bit Windows, in one session (wine-run --session)
# where 32-bit code runs: registered side by side, each unregistered in turn
# while the other's cscript still makes a report, both gone but for the
# categories' definitions; then the x64 package, whose rows in both views
# must be what regsvr32 wrote for both modules, and the 32-bit cscript's
# report from the installed modules.
#
#   side-by-side.sh WINE_RUN ROWS_PROGRAM SOURCE_DIR PACKAGE
#
# Where 32-bit code cannot run this fails under CI rather than skips: the
# fault it guards against only shows with both modules.
set -uo pipefail
wine_run=$1
rows_program=$2
source_dir=$3
package=$4
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
. "$source_dir/tests/package/session.sh"

module64=$(windows "$source_dir/build/win64/control/Kel.ocx")
module32=$(windows "$source_dir/build/win32/control/Kel.ocx")

# regsvr32 BITS [/u]: the module of that bitness, by its own regsvr32.
regsvr32() {
    local bits=$1 system=$sys64 module=$module64 status
    shift
    [ "$bits" = 64 ] || system=$sys32 module=$module32
    wine-run "$system/regsvr32.exe" /s "$@" "$module"
    status=$?
    if [ "$status" -eq 77 ]; then
        [ -z "${CI:-}" ] || { echo "FAIL 32-bit code cannot run here, and CI needs this test"; exit 1; }
        exit 77
    fi
    return "$status"
}

regsvr32 64 && regsvr32 32 && ok "both modules register" || fail "registering both modules"
kel_rows "$work/regsvr32"

regsvr32 32 /u && ok "the 32-bit module unregisters" || fail "regsvr32 /u of the 32-bit module"
expect_report 64 "once the 32-bit module is unregistered"

regsvr32 32 && regsvr32 64 /u && ok "the 64-bit module unregisters" ||
    fail "registering the 32-bit module again, or regsvr32 /u of the 64-bit one"
expect_report 32 "once the 64-bit module is unregistered"

regsvr32 32 /u && regsvr32 32 /u && ok "unregistering twice succeeds" || fail "unregistering twice"
kel_rows "$work/none"
left=$(grep -v '^\(Wow6432Node\\\)\?Component Categories' "$work/none")
[ -z "$left" ] && ok "both unregistered: only the categories' definitions are left" ||
    { fail "left after both unregistered:"; echo "$left"; }

# The x64 package against regsvr32's rows for both modules, both views.
wine-run "$sys64/msiexec.exe" /i "$(windows "$package")" /qn && ok "msiexec /i $(basename "$package")" ||
    fail "msiexec /i $(basename "$package")"
kel_rows "$work/installed"
compare_rows "the package writes what regsvr32 writes for both modules" "$work/regsvr32" "$work/installed"
expect_report 32 "from the installed package"

echo "$failures failed"
[ "$failures" -eq 0 ]
