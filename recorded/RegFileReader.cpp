#include "recorded/RegFileReader.h"

#include "recorded/CodePage.h"
#include "recorded/Excerpt.h"
#include "recorded/Unicode.h"

#include <algorithm>

namespace kel {

namespace {

const char16_t kHeader5[] = u"Windows Registry Editor Version 5.00";
const char16_t kHeader4[] = u"REGEDIT4";
constexpr std::size_t kMaxKeyNameLength = 255;
constexpr std::size_t kMaxKeyDepth = 512;  // the registry's own limit

bool isBlank(char16_t c) { return c == u' ' || c == u'\t'; }

std::size_t skipBlanks(const std::u16string& line, std::size_t at)
{
    while (at < line.size() && isBlank(line[at]))
        ++at;
    return at;
}

std::u16string trimmedRight(std::u16string text)
{
    while (!text.empty() && isBlank(text.back()))
        text.pop_back();
    return text;
}

int hexDigit(char16_t c)
{
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    return -1;
}

std::size_t hexRun(const std::u16string& line, std::size_t at)
{
    std::size_t end = at;
    while (end < line.size() && hexDigit(line[end]) >= 0)
        ++end;
    return end - at;
}

uint32_t hexNumber(const std::u16string& line, std::size_t at, std::size_t length)
{
    uint32_t value = 0;
    for (std::size_t i = 0; i < length; ++i)
        value = (value << 4) | static_cast<uint32_t>(hexDigit(line[at + i]));
    return value;
}

bool startsWithFolded(const std::u16string& line, std::size_t at, const std::u16string& word)
{
    return line.size() - at >= word.size() && unicode::equalFolded(line.substr(at, word.size()), word);
}

std::vector<std::u16string> splitLines(const std::u16string& text)
{
    std::vector<std::u16string> lines;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find(u'\n', start);
        if (end == std::u16string::npos)
            end = text.size();
        std::u16string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == u'\r')
            line.pop_back();
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

std::size_t lineOfOffset(const std::string& bytes, std::size_t offset)
{
    return 1 + static_cast<std::size_t>(std::count(bytes.begin(), bytes.begin() + offset, '\n'));
}

}  // namespace

RegFileReader::RegFileReader(const std::string& fileName, const CodePage& codePage, RegistryTree* tree)
    : fileName_(fileName), codePage_(codePage), tree_(tree)
{
}

bool RegFileReader::read(const std::string& bytes, const std::string& fileName, const CodePage& codePage,
                         RegistryTree* tree, std::string* error)
{
    RegFileReader reader(fileName, codePage, tree);
    return reader.readAll(bytes, error);
}

bool RegFileReader::readAll(const std::string& bytes, std::string* error)
{
    bool ok = bytes.empty() || (decode(bytes) && checkHeader());
    for (current_ = 1; ok && current_ < lines_.size(); ++current_)
        ok = readLine();
    if (!ok)
        *error = error_;
    return ok;
}

bool RegFileReader::fail(const std::string& problem)
{
    error_ = fileName_ + ", line " + std::to_string(current_ + 1) + ": " + problem;
    return false;
}

bool RegFileReader::decode(const std::string& bytes)
{
    std::u16string text;
    if (bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE') {
        text = unicode::fromUtf16leBytes(bytes.substr(2));
    } else if (bytes.size() >= 2 && bytes[0] == '\xFE' && bytes[1] == '\xFF') {
        return fail("UTF-16 big-endian files are not supported; save as UTF-16LE or UTF-8");
    } else if (bytes.compare(0, 8, "REGEDIT4") == 0) {
        unicode_ = false;
        text = codePage_.toUtf16(bytes);
    } else {
        std::size_t skip = bytes.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
        std::size_t bad = 0;
        if (!unicode::utf8ToUtf16(bytes.substr(skip), &text, &bad)) {
            current_ = lineOfOffset(bytes, skip + bad) - 1;
            return fail("not valid UTF-8");
        }
    }
    lines_ = splitLines(text);
    return true;
}

bool RegFileReader::checkHeader()
{
    current_ = 0;
    std::u16string header = trimmedRight(lines_[0]);
    if (header == kHeader5)
        return true;
    if (header == kHeader4 && !unicode_)
        return true;
    if (header == kHeader4)
        return fail("a REGEDIT4 file must be 8-bit text, without a byte-order mark");
    return fail("the first line must be \"Windows Registry Editor Version 5.00\" or \"REGEDIT4\"");
}

bool RegFileReader::readLine()
{
    const std::u16string& line = lines_[current_];
    std::size_t at = skipBlanks(line, 0);
    if (at == line.size() || line[at] == u';')
        return true;
    if (line[at] == u'[')
        return readKeyLine(trimmedRight(line.substr(at)));
    if (line[at] == u'"' || line[at] == u'@')
        return readValueLine(line.substr(at));
    return fail("expected [key], \"name\"=value or @=value, found " + excerpt(line.substr(at)));
}

bool RegFileReader::readKeyLine(const std::u16string& line)
{
    if (line.back() != u']')
        return fail("key line without its closing ]");
    std::u16string inner = line.substr(1, line.size() - 2);
    bool remove = !inner.empty() && inner[0] == u'-';
    RegRoot root;
    std::vector<std::u16string> path;
    if (!readRootAndPath(remove ? inner.substr(1) : inner, &root, &path))
        return false;
    haveKey_ = true;
    if (remove) {
        if (path.empty())
            return fail("a root key cannot be deleted");
        tree_->remove(root, path);
        key_ = nullptr;
    } else {
        key_ = &tree_->create(root, path);
    }
    return true;
}

bool RegFileReader::readRootAndPath(const std::u16string& text, RegRoot* root,
                                    std::vector<std::u16string>* path)
{
    std::vector<std::u16string> parts;
    std::size_t start = 0;
    for (;;) {
        std::size_t end = text.find(u'\\', start);
        parts.push_back(text.substr(start, end == std::u16string::npos ? std::u16string::npos : end - start));
        if (end == std::u16string::npos)
            break;
        start = end + 1;
    }
    if (parts.size() > 1 && parts.back().empty())
        parts.pop_back();  // a trailing backslash
    const std::u16string& rootName = parts[0];
    if (unicode::equalFolded(rootName, u"HKEY_LOCAL_MACHINE") || unicode::equalFolded(rootName, u"HKLM"))
        *root = RegRoot::LocalMachine;
    else if (unicode::equalFolded(rootName, u"HKEY_CURRENT_USER") || unicode::equalFolded(rootName, u"HKCU"))
        *root = RegRoot::CurrentUser;
    else
        return fail("unknown root key " + excerpt(rootName) + " (HKEY_LOCAL_MACHINE or HKEY_CURRENT_USER)");
    if (parts.size() - 1 > kMaxKeyDepth)
        return fail("key path deeper than 512 levels");
    for (std::size_t i = 1; i < parts.size(); ++i) {
        if (parts[i].empty())
            return fail("empty key name in " + excerpt(text));
        if (parts[i].size() > kMaxKeyNameLength)
            return fail("key name longer than 255 characters: " + excerpt(parts[i]));
        if (std::any_of(parts[i].begin(), parts[i].end(), [](char16_t c) { return c < 0x20; }))
            return fail("control character in key name " + excerpt(parts[i]));
        path->push_back(parts[i]);
    }
    return true;
}

bool RegFileReader::readValueLine(const std::u16string& line)
{
    if (!haveKey_)
        return fail("value line before any [key] line");
    std::size_t at = 0;
    RegValue value;
    if (line[0] == u'@')
        at = 1;
    else if (!readQuoted(line, &at, &value.name))
        return false;
    at = skipBlanks(line, at);
    if (at == line.size() || line[at] != u'=')
        return fail("expected = after the value name");
    bool remove = false;
    if (!readData(line, skipBlanks(line, at + 1), &value, &remove))
        return false;
    if (!key_)
        return true;  // below a deleted key: the registry editor ignores such values
    if (remove)
        key_->removeValue(value.name);
    else
        key_->setValue(std::move(value));
    return true;
}

bool RegFileReader::readQuoted(const std::u16string& line, std::size_t* at, std::u16string* text)
{
    for (std::size_t i = *at + 1; i < line.size(); ++i) {
        char16_t c = line[i];
        if (c == u'"') {
            *at = i + 1;
            return true;
        }
        if (c != u'\\') {
            text->push_back(c);
            continue;
        }
        if (++i == line.size())
            break;
        switch (line[i]) {
        case u'\\':
            text->push_back(u'\\');
            break;
        case u'"':
            text->push_back(u'"');
            break;
        case u'n':
            text->push_back(u'\n');
            break;
        case u'r':
            text->push_back(u'\r');
            break;
        case u'0':
            text->push_back(u'\0');
            break;
        default:
            return fail("unknown escape " + excerpt(line.substr(i - 1, 2)) + " (write \\\\ for a backslash)");
        }
    }
    return fail("text without its closing quote: " + excerpt(line.substr(*at)));
}

bool RegFileReader::readData(const std::u16string& line, std::size_t at, RegValue* value, bool* remove)
{
    if (at < line.size() && line[at] == u'-') {
        *remove = true;
        return expectEnd(line, at + 1, "after =-");
    }
    if (at < line.size() && line[at] == u'"') {
        std::u16string text;
        if (!readQuoted(line, &at, &text))
            return false;
        text.push_back(u'\0');
        value->type = kRegSz;
        value->data = unicode::toUtf16leBytes(text);
        return expectEnd(line, at, "after the closing quote");
    }
    if (startsWithFolded(line, at, u"dword:"))
        return readDword(line, at + 6, value);
    if (startsWithFolded(line, at, u"hex:"))
        return readHex(line, at + 4, kRegBinary, value);
    if (startsWithFolded(line, at, u"hex(")) {
        std::size_t digits = hexRun(line, at + 4);
        std::size_t close = at + 4 + digits;
        if (digits == 0 || digits > 8 || line.compare(close, 2, u"):") != 0)
            return fail("expected hex(N): with N the type number in hexadecimal");
        return readHex(line, close + 2, hexNumber(line, at + 4, digits), value);
    }
    return fail("unknown value type " + excerpt(line.substr(at)) +
                " (expected \"text\", dword:, hex:, hex(N): or -)");
}

bool RegFileReader::readDword(const std::u16string& line, std::size_t at, RegValue* value)
{
    std::size_t digits = hexRun(line, at);
    if (digits == 0 || digits > 8)
        return fail("dword: needs 1 to 8 hexadecimal digits");
    uint32_t number = hexNumber(line, at, digits);
    value->type = kRegDword;
    value->data.clear();
    for (int i = 0; i < 4; ++i)
        value->data.push_back(static_cast<char>((number >> (8 * i)) & 0xFF));
    return expectEnd(line, at + digits, "after the dword");
}

bool RegFileReader::readHex(const std::u16string& line, std::size_t at, uint32_t type, RegValue* value)
{
    value->type = type;
    if (!readHexBytes(line, at, &value->data))
        return false;
    // A REGEDIT4 file holds these texts (hex(1) ones too) in the machine's
    // code page; the registry holds them in UTF-16, as the registry editor
    // stores them.
    if (!unicode_ && (type == kRegSz || type == kRegExpandSz || type == kRegMultiSz))
        value->data = unicode::toUtf16leBytes(codePage_.toUtf16(value->data));
    return true;
}

bool RegFileReader::readHexBytes(const std::u16string& firstLine, std::size_t at, std::string* bytes)
{
    const std::u16string* line = &firstLine;
    bool afterComma = false;
    for (;;) {
        at = skipBlanks(*line, at);
        if (at == line->size() || (*line)[at] == u';') {
            if (afterComma)
                return fail("hex data ends with a comma");
            return true;
        }
        if ((*line)[at] == u'\\') {
            if (!expectEnd(*line, at + 1, "after the continuation backslash"))
                return false;
            if (current_ + 1 >= lines_.size())
                return fail("continuation backslash on the last line");
            line = &lines_[++current_];
            at = 0;
            continue;
        }
        std::size_t digits = hexRun(*line, at);
        if (digits == 0)
            return fail("expected a hexadecimal byte, found " + excerpt(line->substr(at)));
        if (digits != 2)
            return fail("odd hex: byte " + excerpt(line->substr(at, digits)) + " needs exactly two digits");
        bytes->push_back(static_cast<char>(hexNumber(*line, at, 2)));
        at = skipBlanks(*line, at + 2);
        afterComma = at < line->size() && (*line)[at] == u',';
        if (afterComma)
            ++at;
        else if (at < line->size() && (*line)[at] != u';' && (*line)[at] != u'\\')
            return fail("expected a comma between hex bytes, found " + excerpt(line->substr(at)));
    }
}

bool RegFileReader::expectEnd(const std::u16string& line, std::size_t at, const char* what)
{
    at = skipBlanks(line, at);
    if (at == line.size() || line[at] == u';')
        return true;
    return fail(std::string("unexpected text ") + what + ": " + excerpt(line.substr(at)));
}

}  // namespace kel
