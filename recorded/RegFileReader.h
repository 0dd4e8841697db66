// Reader of the registry editor's export format (.reg): "Windows Registry
// Editor Version 5.00" files in UTF-16LE with a byte-order mark or in UTF-8,
// and "REGEDIT4" files in the machine's 8-bit code page.
#pragma once

#include "platform/Platform.h"
#include "recorded/RegistryTree.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace kel {

class CodePage;

class RegFileReader {
public:
    // Applies the file's key and value lines, deletions included, to tree in
    // file order. An empty file holds nothing. On bad input returns false
    // and sets *error to "FILE, line N: problem".
    static bool read(const std::string& bytes, const std::string& fileName, const CodePage& codePage,
                     RegistryTree* tree, std::string* error);

private:
    // One reader per file: it keeps the lines and where it is in them.
    RegFileReader(const std::string& fileName, const CodePage& codePage, RegistryTree* tree);

    bool readAll(const std::string& bytes, std::string* error);
    bool decode(const std::string& bytes);
    bool checkHeader();
    bool readLine();
    bool readKeyLine(const std::u16string& line);
    bool readValueLine(const std::u16string& line);
    bool readRootAndPath(const std::u16string& text, RegRoot* root, std::vector<std::u16string>* path);
    bool readQuoted(const std::u16string& line, std::size_t* at, std::u16string* text);
    bool readData(const std::u16string& line, std::size_t at, RegValue* value, bool* remove);
    bool readDword(const std::u16string& line, std::size_t at, RegValue* value);
    bool readHex(const std::u16string& line, std::size_t at, uint32_t type, RegValue* value);
    bool readHexBytes(const std::u16string& firstLine, std::size_t at, std::string* bytes);
    bool expectEnd(const std::u16string& line, std::size_t at, const char* what);
    bool fail(const std::string& problem);

    std::string fileName_;
    const CodePage& codePage_;
    RegistryTree* tree_;
    std::vector<std::u16string> lines_;
    std::size_t current_ = 0;  // index of the line being read
    bool unicode_ = true;      // false for REGEDIT4 files
    bool haveKey_ = false;     // a key line was seen
    RegNode* key_ = nullptr;   // null below a deletion line
    std::string error_;
};

}  // namespace kel
