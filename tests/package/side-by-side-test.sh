#!/usr/bin/env bash
# Runs side-by-side.sh in a prefix of its own, with the x64 package made
# from both flavours' modules unless build/packages holds one newer than
# them (scripts/test makes it on the host before the emulated machine
# starts).
#
#   side-by-side-test.sh SOURCE_DIR BUILD_DIR WINE_RUN ROWS_PROGRAM
set -euo pipefail
source_dir=$1
build_dir=$2
wine_run=$3
rows_program=$4
packages=$source_dir/build/packages
package=$(ls "$packages"/Kel-*-x64.msi 2>/dev/null | sort | tail -n1 || true)
if [ -z "$package" ] || [ "$source_dir/build/win32/control/Kel.ocx" -nt "$package" ] ||
    [ "$source_dir/build/win64/control/Kel.ocx" -nt "$package" ]; then
    "$source_dir/scripts/package" --no-build --out "$packages" >/dev/null
    package=$(ls "$packages"/Kel-*-x64.msi | sort | tail -n1)
fi
exec "$wine_run" --prefix "$build_dir/wine/control_side_by_side" --session -- \
    /bin/bash "$source_dir/tests/package/side-by-side.sh" "$wine_run" "$rows_program" "$source_dir" "$package"
