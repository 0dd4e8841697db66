#!/usr/bin/env bash
# The x64 package under Wine, in one session (wine-run --session): its
# registry rows against what regsvr32 writes for the 64-bit module, install,
# a report through the 64-bit cscript, upgrade from an older package, and
# removal down to the categories' definitions. The modules installed are the
# signed ones.
#
#   package-wine.sh WINE_RUN ROWS_PROGRAM SOURCE_DIR DIR
set -uo pipefail
wine_run=$1
rows_program=$2
source_dir=$3
dir=$4
work=$(mktemp -d "$dir/wine.XXXXXX")
trap 'rm -rf "$work"' EXIT
. "$source_dir/tests/package/session.sh"

program_files=$KEL_WINE_RUN_SESSION/drive_c/Program\ Files
new=$(ls "$dir"/new/Kel-*-x64.msi)
old=$(ls "$dir"/old/Kel-*-x64.msi)
new_version=$(basename "$new" | cut -d- -f2)
msiexec() { wine-run "$sys64/msiexec.exe" "$1" "$(windows "$2")" /qn; }

# The x86 package refuses 64-bit Windows (its message, naming the x64
# package, is package_contents's to check: Wine's msiexec logs none).
x86=$(ls "$dir"/new/Kel-*-x86.msi)
msiexec /i "$x86" && fail "the x86 package installs on 64-bit Windows" || ok "the x86 package refuses 64-bit Windows"
[ ! -e "$program_files/Kel" ] && [ ! -e "$program_files (x86)/Kel" ] || fail "the refused x86 package left files"

# What regsvr32 writes for the signed 64-bit module, then takes away. In
# the x64 package kelreport.exe is the 64-bit module's neighbour.
signed=$(windows "$(dirname "$(find "$dir/new-files" -name kelreport.exe)")/Kel.ocx")
wine-run "$sys64/regsvr32.exe" /s "$signed" && ok "the signed 64-bit module registers" ||
    fail "regsvr32 of the signed module"
expect_report 64 "from the signed module"
kel_rows "$work/regsvr32"
wine-run "$sys64/regsvr32.exe" /s /u "$signed" || fail "regsvr32 /u"

# The package: install, compare, report.
msiexec /i "$new" && ok "msiexec /i $(basename "$new")" || fail "msiexec /i $(basename "$new")"
kel_rows "$work/installed"
[ -f "$program_files/Kel/Kel.ocx" ] && [ -f "$program_files/Kel/kelreport.exe" ] &&
    [ -f "$program_files (x86)/Kel/Kel.ocx" ] && ok "files in both Program Files" ||
    fail "files missing: $(find "$program_files"* -path '*Kel*' | tr '\n' ' ')"
expect_report 64 "after install"
# The 64-bit view, without the 32-bit module's path under the type library:
# the win32 flavour compares both modules (side-by-side.sh).
grep -v '^Wow6432Node' "$work/regsvr32" >"$work/regsvr32-64"
grep -v -e '^Wow6432Node' -e '\\409\\win32' "$work/installed" >"$work/installed-64"
compare_rows "the package writes what regsvr32 writes (64-bit view)" "$work/regsvr32-64" "$work/installed-64"

# Upgrade: the older package first, then this one over it.
msiexec /x "$new" || fail "msiexec /x before the upgrade"
msiexec /i "$old" || fail "msiexec /i $(basename "$old")"
msiexec /i "$new" || fail "msiexec /i over $(basename "$old")"
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
expect_report 64 "after the upgrade"

# Removal leaves the categories' definitions and nothing else.
msiexec /x "$new" && ok "msiexec /x" || fail "msiexec /x"
kel_rows "$work/removed"
left=$(grep -v '^\(Wow6432Node\\\)\?Component Categories' "$work/removed")
[ -z "$left" ] && ok "removal leaves only the categories' definitions" || { fail "left after removal:"; echo "$left"; }
grep -q '^Component Categories.*7DD95801' "$work/removed" && ok "the categories' definitions stay" ||
    fail "the categories' definitions went with the package"
left=$(find "$program_files"* -path '*Kel*' 2>/dev/null)
[ -z "$left" ] && ok "removal leaves no file" || fail "files left: $left"

echo "$failures failed"
[ "$failures" -eq 0 ]
