#!/usr/bin/env bash
# The x64 package under Wine, in one session (wine-run --session): its
# registry rows against what regsvr32 writes for the 64-bit module, install,
# a report through the 64-bit cscript, upgrade from an older package, and
# removal down to the categories' definitions. The modules installed are the
# signed ones.
#
#   package-wine.sh WINE_RUN SOURCE_DIR DIR
set -uo pipefail
wine_run=$1
source_dir=$2
dir=$3
wine-run() { "$wine_run" "$@"; }
. "$source_dir/tests/package/registry-rows.sh"
work=$(mktemp -d "$dir/wine.XXXXXX")
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL $*"; failures=$((failures + 1)); }
ok() { echo "ok   $*"; }
windows() { echo "Z:${1//\//\\}"; }

sys64=$KEL_WINE_RUN_SESSION/drive_c/windows/system32
program_files=$KEL_WINE_RUN_SESSION/drive_c/Program\ Files
new=$(ls "$dir"/new/Kel-*-x64.msi)
old=$(ls "$dir"/old/Kel-*-x64.msi)
new_version=$(basename "$new" | cut -d- -f2)

# report: the 64-bit cscript creates the control by its ProgID and prints
# the brief report.
report() {
    wine-run "$sys64/cscript.exe" //nologo "$(windows "$source_dir/examples/brief.js")" >"$work/report" 2>&1 &&
        grep -q '^OS: ' "$work/report"
}

# What regsvr32 writes for the signed 64-bit module, then takes away.
# In the x64 package kelreport.exe is the 64-bit one's neighbour.
signed=$(windows "$(dirname "$(find "$dir/new-files" -name kelreport.exe)")/Kel.ocx")
wine-run "$sys64/regsvr32.exe" /s "$signed" && ok "the signed 64-bit module registers" ||
    fail "regsvr32 of the signed module"
report && ok "the signed module reports" || { fail "no report from the signed module:"; head -5 "$work/report"; }
kel_rows "$work/regsvr32"
wine-run "$sys64/regsvr32.exe" /s /u "$signed" || fail "regsvr32 /u"

# The package: install, compare, report.
wine-run "$sys64/msiexec.exe" /i "$(windows "$new")" /qn && ok "msiexec /i $(basename "$new")" ||
    fail "msiexec /i $(basename "$new")"
kel_rows "$work/installed"
[ -f "$program_files/Kel/Kel.ocx" ] && [ -f "$program_files/Kel/kelreport.exe" ] &&
    [ -f "$KEL_WINE_RUN_SESSION/drive_c/Program Files (x86)/Kel/Kel.ocx" ] && ok "files in both Program Files" ||
    fail "files missing: $(find "$KEL_WINE_RUN_SESSION/drive_c/Program Files"* -path '*Kel*' | tr '\n' ' ')"
report && ok "64-bit cscript reports after install" || { fail "no report after install:"; head -5 "$work/report"; }
# The 64-bit view, the package's rows against regsvr32's, paths aside.
# The 64-bit view only, and without the 32-bit module's path under the
# type library, which the win32 flavour compares (side-by-side.sh).
grep -v '^Wow6432Node' "$work/regsvr32" >"$work/regsvr32-64"
grep -v -e '^Wow6432Node' -e '\\409\\win32' "$work/installed" >"$work/installed64"
if diff "$work/regsvr32-64" "$work/installed64" >"$work/diff"; then
    ok "the package writes what regsvr32 writes (64-bit view)"
else
    # Where the two differ by design (docs/wine.md, "Installation packages").
    grep '^[<>]' "$work/diff" | grep -v -x -F -f "$source_dir/tests/package/known-differences.txt" >"$work/unknown"
    if [ -s "$work/unknown" ]; then
        fail "the package and regsvr32 differ:"
        cat "$work/unknown"
    else
        ok "the package writes what regsvr32 writes (64-bit view), but for the known differences"
    fi
fi

# Upgrade: the older package first, then this one over it.
wine-run "$sys64/msiexec.exe" /x "$(windows "$new")" /qn || fail "msiexec /x before the upgrade"
wine-run "$sys64/msiexec.exe" /i "$(windows "$old")" /qn || fail "msiexec /i $(basename "$old")"
wine-run "$sys64/msiexec.exe" /i "$(windows "$new")" /qn || fail "msiexec /i over $(basename "$old")"
wine-run "$sys64/reg.exe" query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' /s \
    >"$work/uninstall" 2>&1
versions=$(tr -d '\r' <"$work/uninstall" | awk '
    function product() { if (name == "Kel") print version; name = version = "" }
    /^HKEY/ { product() }
    $1 == "DisplayName" { name = $3 }
    $1 == "DisplayVersion" { version = $3 }
    END { product() }' | sort | tr '\n' ' ')
[ "$versions" = "$new_version " ] && ok "upgrade: only $new_version is installed" ||
    fail "upgrade: installed versions '$versions', expected '$new_version '"
report && ok "64-bit cscript reports after the upgrade" || { fail "no report after the upgrade:"; head -5 "$work/report"; }

# Removal leaves the categories' definitions and nothing else.
wine-run "$sys64/msiexec.exe" /x "$(windows "$new")" /qn && ok "msiexec /x" || fail "msiexec /x"
kel_rows "$work/removed"
left=$(grep -v '^Component Categories' "$work/removed")
[ -z "$left" ] && ok "removal leaves only the categories' definitions" || { fail "left after removal:"; echo "$left"; }
grep -q '^Component Categories.*7DD95801' "$work/removed" && ok "the categories' definitions stay" ||
    fail "the categories' definitions went with the package"
left=$(find "$KEL_WINE_RUN_SESSION/drive_c/Program Files"* -path '*Kel*' 2>/dev/null)
[ -z "$left" ] && ok "removal leaves no file" || fail "files left: $left"

echo "$failures failed"
[ "$failures" -eq 0 ]
