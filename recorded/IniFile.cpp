#include "recorded/IniFile.h"

#include "recorded/Excerpt.h"
#include "recorded/Unicode.h"

#include <algorithm>

namespace kel {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

bool isNameCharacter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '.';
}

bool isName(const std::string& text)
{
    return !text.empty() && std::all_of(text.begin(), text.end(), isNameCharacter);
}

}  // namespace

bool IniFile::parse(const std::string& bytes, const std::string& fileName, std::string* error)
{
    fileName_ = fileName;
    sections_.clear();
    std::size_t start = bytes.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    for (std::size_t number = 1; start <= bytes.size(); ++number) {
        std::size_t end = bytes.find('\n', start);
        if (end == std::string::npos)
            end = bytes.size();
        std::string line = bytes.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!parseLine(line, number)) {
            *error = error_;
            return false;
        }
        start = end + 1;
    }
    return true;
}

std::string IniFile::trimmed(const std::string& text)
{
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    return text.substr(begin, end - begin);
}

const IniFile::Section* IniFile::find(const std::string& name) const
{
    for (const Section& section : sections_) {
        if (section.name == name)
            return &section;
    }
    return nullptr;
}

bool IniFile::fail(std::size_t number, const std::string& problem)
{
    error_ = fileName_ + ", line " + std::to_string(number) + ": " + problem;
    return false;
}

bool IniFile::parseLine(const std::string& line, std::size_t number)
{
    std::u16string decoded;
    std::size_t bad = 0;
    if (!unicode::utf8ToUtf16(line, &decoded, &bad))
        return fail(number, "not valid UTF-8");
    std::string text = trimmed(line);
    if (text.empty() || text[0] == ';' || text[0] == '#')
        return true;
    if (text[0] == '[')
        return parseSection(text, number);
    return parseEntry(text, number);
}

bool IniFile::parseSection(const std::string& text, std::size_t number)
{
    if (text.back() != ']')
        return fail(number, "section line without its closing ]");
    std::string name = trimmed(text.substr(1, text.size() - 2));
    if (!isName(name))
        return fail(number, "bad section name " + excerpt(name));
    if (find(name))
        return fail(number, "section [" + name + "] given twice");
    sections_.push_back(Section{name, number, {}});
    return true;
}

bool IniFile::parseEntry(const std::string& text, std::size_t number)
{
    std::size_t equals = text.find('=');
    if (equals == std::string::npos)
        return fail(number, "expected [section] or key = value, found " + excerpt(text));
    if (sections_.empty())
        return fail(number, "key before any [section] line");
    std::string key = trimmed(text.substr(0, equals));
    if (!isName(key))
        return fail(number, "bad key name " + excerpt(key));
    std::string value = trimmed(text.substr(equals + 1));
    if (!value.empty() && value[0] == '"') {
        if (value.size() < 2 || value.back() != '"')
            return fail(number, "value without its closing quote: " + excerpt(value));
        value = value.substr(1, value.size() - 2);
    }
    Section& section = sections_.back();
    for (const Entry& entry : section.entries) {
        if (entry.key == key)
            return fail(number, "key " + key + " given twice in [" + section.name + "] (first on line " +
                                    std::to_string(entry.line) + ")");
    }
    section.entries.push_back(Entry{key, value, number});
    return true;
}

}  // namespace kel
