#include "collectors/CpuBrand.h"

#include "collectors/CpuCaches.h"
#include "collectors/TextSplit.h"

#include <cstring>

namespace kel {
namespace cpu {

namespace {

const char* const kFillerWords[] = {
    "CPU",      "Processor",  "processor", "APU",         "Dual-Core",    "Quad-Core",
    "Six-Core", "Eight-Core", "Ten-Core",  "Twelve-Core", "Sixteen-Core",
};

void removeAll(std::string* text, const std::string& sign)
{
    for (std::size_t at = text->find(sign); at != std::string::npos; at = text->find(sign, at))
        text->erase(at, sign.size());
}

bool isFillerWord(const std::string& word)
{
    for (const char* filler : kFillerWords) {
        if (word == filler)
            return true;
    }
    return false;
}

// "8-Core", "64-Core": digits, then "-Core".
bool isCoreCount(const std::string& word)
{
    static const std::string kSuffix = "-Core";
    if (word.size() <= kSuffix.size() ||
        word.compare(word.size() - kSuffix.size(), kSuffix.size(), kSuffix) != 0)
        return false;
    for (std::size_t i = 0; i < word.size() - kSuffix.size(); ++i) {
        if (word[i] < '0' || word[i] > '9')
            return false;
    }
    return true;
}

}  // namespace

bool beyondModelTables(uint32_t signature)
{
    const uint32_t extendedFamily = (signature >> 20) & 0xFF;
    const uint32_t extendedModel = (signature >> 16) & 0xF;
    return extendedFamily != 0 || extendedModel != 0;
}

std::string brandStringOf(const CpuidRegs (&leaves)[3])
{
    char bytes[49] = {};
    for (int i = 0; i < 3; ++i)
        descriptorBytes(leaves[i], reinterpret_cast<uint8_t*>(bytes) + 16 * i);
    return std::string(bytes, std::strlen(bytes));
}

std::string modelNameFromBrand(const std::string& brand, const std::string& vendorShortName)
{
    // The rated clock follows the "@"; the line prints the measured one.
    std::string text = brand.substr(0, brand.find('@'));
    for (const char* sign : {"(R)", "(r)", "(TM)", "(tm)"})
        removeAll(&text, sign);
    const bool radeon = text.find("Radeon") != std::string::npos;

    std::string name;
    for (const std::string& word : splitAt(text, ' ')) {
        if (radeon && (word == "with" || word == "w/"))
            break;
        if (word.empty() || isFillerWord(word) || isCoreCount(word) ||
            (!vendorShortName.empty() && word == vendorShortName))
            continue;
        if (!name.empty())
            name += ' ';
        name += word;
    }
    return name;
}

}  // namespace cpu
}  // namespace kel
