# Sourced by the package tests' session scripts, which run in the Wine root
# with a session's prefix: the module's registry rows as the prefix holds
# them, flattened for comparison.

# The keys that are Kel's: its classes, ProgID, type library, interfaces,
# and the two categories' definitions.
export KEL_KEYS='KEL\.KelCtrl\.1|EAC35820-9DD1-4DB7-A351-D93D5409101B|0948123E-5789-4088-9F11-2E0981963418|C96524B5-E0CA-4336-881D-DAAC501BA08B|D0BB5FDD-D338-423C-8948-D86CB417CC14|BF474507-9074-4475-BC53-AE208D3D494F|Component Categories\\\{7DD9580[12]-'

# kel_rows FILE: every Kel key of HKLM\Software\Classes, both views (the
# 32-bit one below Wow6432Node), named below Classes: one line per key and
# one per value ("KEY<tab>NAME=DATA"), sorted, with every file path written
# as <path>, since regsvr32 and the installer register the modules from
# different places.
kel_rows() {
    local export=$1.reg
    rm -f "$export"
    wine-run "$KEL_WINE_RUN_SESSION/drive_c/windows/regedit.exe" /E "Z:${export//\//\\}" \
        'HKEY_LOCAL_MACHINE\Software\Classes' || return 1
    iconv -f UTF-16LE -t UTF-8 "$export" | tr -d '\r' | awk '
        BEGIN { keys = ENVIRON["KEL_KEYS"] }
        /^\[/ {
            key = substr($0, 2, length($0) - 2)
            sub(/^HKEY_LOCAL_MACHINE\\[Ss][Oo][Ff][Tt][Ww][Aa][Rr][Ee]\\Classes\\/, "", key)
            ours = key ~ keys
            if (ours) print key
            next
        }
        ours && /^(@|")/ {
            gsub(/[A-Za-z]:(\\\\[^\\",]+)+(\\\\)?/, "<path>")
            print key "\t" $0
        }' | sort >"$1"
}
