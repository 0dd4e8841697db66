#include "platform/recorded/RegFile.h"

#include "platform/recorded/RegFileReader.h"

namespace kel {

bool RegFile::read(const std::string& bytes, const std::string& fileName, const CodePage& codePage,
                   RegistryTree* tree, std::string* error)
{
    RegFileReader reader(fileName, codePage, tree);
    return reader.read(bytes, error);
}

}  // namespace kel
