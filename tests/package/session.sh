# Sourced by the package tests' session scripts, which run in the Wine root
# inside a session's prefix (wine-run --session): the helpers they share.
#
# Before sourcing: wine_run (scripts/wine-run), rows_program
# (kel_registry_rows), source_dir and work (a directory of the test's own).

failures=0
fail() {
    echo "FAIL $*"
    failures=$((failures + 1))
}
ok() { echo "ok   $*"; }
windows() { echo "Z:${1//\//\\}"; }
wine-run() { "$wine_run" "$@"; }
sys64=$KEL_WINE_RUN_SESSION/drive_c/windows/system32
sys32=$KEL_WINE_RUN_SESSION/drive_c/windows/syswow64

# kel_rows FILE: Kel's keys in both views (kel_registry_rows), sorted, with
# every file path written as <path>, since regsvr32 and the installer
# register the modules from different places.
kel_rows() {
    wine-run "$rows_program" | tr -d '\r' | sed -E 's/[A-Za-z]:(\\[^\\",]+)+\\?/<path>/g' | sort >"$1"
}

# compare_rows WHAT EXPECTED GOT: the rows equal, but for the differences
# tests/package/known-differences.txt lists.
compare_rows() {
    if diff "$2" "$3" >"$work/diff"; then
        ok "$1"
        return
    fi
    grep '^[<>]' "$work/diff" | grep -v -x -F -f "$source_dir/tests/package/known-differences.txt" >"$work/unknown"
    if [ -s "$work/unknown" ]; then
        fail "$1:"
        cat "$work/unknown"
    else
        ok "$1, but for the known differences"
    fi
}

# report BITS: that bitness's cscript makes the control by its ProgID and
# prints the brief report.
report() {
    local system=$sys64
    [ "$1" = 64 ] || system=$sys32
    wine-run "$system/cscript.exe" //nologo "$(windows "$source_dir/examples/brief.js")" >"$work/report" 2>&1 &&
        grep -q '^OS: ' "$work/report"
}

# expect_report BITS WHEN
expect_report() {
    if report "$1"; then
        ok "the $1-bit cscript reports $2"
    else
        fail "no report from the $1-bit cscript $2:"
        head -n 3 "$work/report"
    fi
}
