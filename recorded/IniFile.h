// Reader of machine.ini's syntax: UTF-8 text of [section] lines and
// key = value lines. Comments are whole lines starting with ';' or '#'. A
// value is trimmed of blanks unless it is enclosed in double quotes, which
// keep them; there are no escapes.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace kel {

class IniFile {
public:
    struct Entry {
        std::string key;
        std::string value;  // UTF-8, quotes removed
        std::size_t line = 0;
    };
    struct Section {
        std::string name;
        std::size_t line = 0;
        std::vector<Entry> entries;  // in file order
    };

    // False on bad syntax, with *error set to "FILE, line N: problem". A
    // section or key given twice is bad syntax.
    bool parse(const std::string& bytes, const std::string& fileName, std::string* error);

    const std::vector<Section>& sections() const { return sections_; }
    const Section* find(const std::string& name) const;

    // Text without the blanks (spaces, tabs) around it, as values are read.
    static std::string trimmed(const std::string& text);

private:
    bool parseLine(const std::string& line, std::size_t number);
    bool parseSection(const std::string& line, std::size_t number);
    bool parseEntry(const std::string& line, std::size_t number);
    bool fail(std::size_t number, const std::string& problem);

    std::string fileName_;
    std::vector<Section> sections_;
    std::string error_;
};

}  // namespace kel
