# Moves a registry file's HKEY_LOCAL_MACHINE\SOFTWARE keys, added or deleted,
# into the 32-bit view: SOFTWARE\Wow6432Node, as the 64-bit reg imports it.
s/^\[\(-\{0,1\}\)HKEY_LOCAL_MACHINE\\SOFTWARE\\/[\1HKEY_LOCAL_MACHINE\\SOFTWARE\\Wow6432Node\\/
