#!/usr/bin/env bash
# Both modules on one 64-bit Windows, in one session (wine-run --session)
# where 32-bit code runs: registered side by side, each unregistered in turn
# while the other's cscript still makes a report; then the x64 package,
# whose rows in both views must be what regsvr32 wrote for both modules, and
# the 32-bit cscript's report from the installed modules.
#
#   side-by-side.sh WINE_RUN SOURCE_DIR DIR
#
# DIR holds the x64 package (package-make.sh's new/, or scripts/package's
# output). Where 32-bit code cannot run this fails rather than skips under
# CI: the side-by-side fault only shows with both modules.
set -uo pipefail
wine_run=$1
source_dir=$2
dir=$3
wine-run() { "$wine_run" "$@"; }
. "$source_dir/tests/package/registry-rows.sh"
work=$(mktemp -d "$dir/side-by-side.XXXXXX")
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL $*"; failures=$((failures + 1)); }
ok() { echo "ok   $*"; }
windows() { echo "Z:${1//\//\\}"; }

sys64=$KEL_WINE_RUN_SESSION/drive_c/windows/system32
sys32=$KEL_WINE_RUN_SESSION/drive_c/windows/syswow64
module64=$(windows "$source_dir/build/win64/control/Kel.ocx")
module32=$(windows "$source_dir/build/win32/control/Kel.ocx")
package=$(ls "$dir"/Kel-*-x64.msi 2>/dev/null | head -n1)
[ -n "$package" ] || { echo "FAIL no x64 package in $dir"; exit 1; }

# regsvr32 BITS [/u]: the module of that bitness, by the regsvr32 of its own.
regsvr32() {
    local bits=$1 system=$sys64 module=$module64
    shift
    [ "$bits" = 64 ] || system=$sys32 module=$module32
    wine-run "$system/regsvr32.exe" /s "$@" "$module"
    local status=$?
    if [ "$status" -eq 77 ]; then
        [ -z "${CI:-}" ] || { echo "FAIL 32-bit code cannot run here, and CI needs this test"; exit 1; }
        exit 77
    fi
    return "$status"
}

# report BITS: that bitness's cscript makes the control by its ProgID and
# prints the brief report.
report() {
    local system=$sys64
    [ "$1" = 64 ] || system=$sys32
    wine-run "$system/cscript.exe" //nologo "$(windows "$source_dir/examples/brief.js")" >"$work/report" 2>&1 &&
        grep -q '^OS: ' "$work/report"
}

regsvr32 64 && regsvr32 32 && ok "both modules register" || fail "registering both modules"
kel_rows "$work/regsvr32"

regsvr32 32 /u && ok "the 32-bit module unregisters" || fail "regsvr32 /u of the 32-bit module"
report 64 && ok "the 64-bit cscript reports after the 32-bit module went" ||
    { fail "64-bit cscript after the 32-bit module went:"; head -3 "$work/report"; }

regsvr32 32 && regsvr32 64 /u && ok "the 64-bit module unregisters" || fail "re-registering, or regsvr32 /u of the 64-bit module"
report 32 && ok "the 32-bit cscript reports after the 64-bit module went" ||
    { fail "32-bit cscript after the 64-bit module went:"; head -3 "$work/report"; }

regsvr32 32 /u && regsvr32 32 /u && ok "unregistering twice succeeds" || fail "unregistering twice"
kel_rows "$work/none"
left=$(grep -v '^\(Wow6432Node\\\)\?Component Categories' "$work/none")
[ -z "$left" ] && ok "both unregistered: only the categories' definitions are left" ||
    { fail "left after both unregistered:"; echo "$left"; }

# The x64 package against regsvr32's rows for both modules, both views.
wine-run "$sys64/msiexec.exe" /i "$(windows "$package")" /qn && ok "msiexec /i $(basename "$package")" ||
    fail "msiexec /i $(basename "$package")"
kel_rows "$work/installed"
if diff "$work/regsvr32" "$work/installed" >"$work/diff"; then
    ok "the package writes what regsvr32 writes for both modules"
else
    grep '^[<>]' "$work/diff" | grep -v -x -F -f "$source_dir/tests/package/known-differences.txt" >"$work/unknown"
    if [ -s "$work/unknown" ]; then
        fail "the package and regsvr32 differ:"
        cat "$work/unknown"
    else
        ok "the package writes what regsvr32 writes for both modules, but for the known differences"
    fi
fi
report 32 && ok "the 32-bit cscript reports from the installed package" ||
    { fail "32-bit cscript after install:"; head -3 "$work/report"; }

echo "$failures failed"
[ "$failures" -eq 0 ]
