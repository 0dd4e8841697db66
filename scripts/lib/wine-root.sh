# Sourced by the scripts that make or enter the Wine 10 root: a minimal Debian
# trixie tree whose 64-bit Wine runs 32-bit Windows programs in WoW64 mode,
# since this kernel refuses 32-bit ELF programs but runs 32-bit code.

# Where the root lives: once per machine, shared by every clone.
kel_wine_root=${KEL_WINE_ROOT:-/var/lib/kel/wine-root}
# Names how the root is made; a root made otherwise is made again. The Wine
# version is appended once it is known (see scripts/setup).
readonly kel_wine_root_recipe="kel wine root 1: trixie minbase, wine64 xvfb xauth, libwine:i386 PE DLLs"
readonly kel_wine_root_marker=.kel-wine-root

# Making and entering the root need root: prints the prefix that gets it
# ("" as root, "sudo -n" otherwise), or fails in one line naming the cause.
kel_as_root() {
    if [ "$(id -u)" -eq 0 ]; then
        echo ""
    elif command -v sudo >/dev/null && sudo -n true 2>/dev/null; then
        echo "sudo -n"
    else
        echo "$1: needs root: run as root or with password-less sudo" >&2
        return 1
    fi
}

# The recipe the root in place was made from ("" when there is none).
kel_wine_root_made_from() {
    cat "$kel_wine_root/$kel_wine_root_marker" 2>/dev/null || true
}

# Wine's own path for a host file: drive Z: is the root of the file system.
windows_path() {
    local path
    path=$(cd "$(dirname "$1")" && pwd -P)/$(basename "$1")
    echo "Z:${path//\//\\}"
}
