// Reader of the registry editor's export format (.reg): "Windows Registry
// Editor Version 5.00" files in UTF-16LE with a byte-order mark or in UTF-8,
// and "REGEDIT4" files in the machine's 8-bit code page.
#pragma once

#include <string>

namespace kel {

class CodePage;
class RegistryTree;

class RegFile {
public:
    // Applies the file's key and value lines, deletions included, to tree in
    // file order. An empty file holds nothing. On bad input returns false
    // and sets *error to "FILE, line N: problem".
    static bool read(const std::string& bytes, const std::string& fileName, const CodePage& codePage,
                     RegistryTree* tree, std::string* error);
};

}  // namespace kel
