#include "platform/recorded/RecordedMachine.h"

#include "platform/recorded/IniFile.h"
#include "platform/recorded/MachineIniReader.h"
#include "platform/recorded/RegFile.h"
#include "platform/recorded/SimulatedMachine.h"

#include <fstream>
#include <iterator>

namespace kel {

namespace {

bool readFile(const std::string& path, std::string* bytes, std::string* error)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        *error = path + ": cannot open the file";
        return false;
    }
    bytes->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (in.bad()) {
        *error = path + ": cannot read the file";
        return false;
    }
    return true;
}

}  // namespace

std::unique_ptr<RecordedMachine> RecordedMachine::load(const std::string& directory, std::string* error)
{
    std::string ignored;
    std::string* message = error ? error : &ignored;
    std::string registryPath = directory + "/registry.reg";
    std::string iniPath = directory + "/machine.ini";
    std::string registryBytes;
    std::string iniBytes;
    if (!readFile(registryPath, &registryBytes, message) || !readFile(iniPath, &iniBytes, message))
        return nullptr;
    return parse(registryBytes, iniBytes, message, registryPath, iniPath);
}

std::unique_ptr<RecordedMachine> RecordedMachine::parse(const std::string& registryBytes,
                                                        const std::string& iniBytes, std::string* error,
                                                        const std::string& registryName,
                                                        const std::string& iniName)
{
    std::string ignored;
    std::string* message = error ? error : &ignored;
    IniFile ini;
    if (!ini.parse(iniBytes, iniName, message))
        return nullptr;
    auto facts = std::make_unique<MachineFacts>();
    std::unique_ptr<CodePage> codePage;
    MachineIniReader reader(ini, iniName);
    if (!reader.read(facts.get(), &codePage, message))
        return nullptr;
    auto tree = std::make_unique<RegistryTree>();
    if (!RegFile::read(registryBytes, registryName, *codePage, tree.get(), message))
        return nullptr;
    return std::make_unique<SimulatedMachine>(std::move(tree), std::move(facts), std::move(codePage));
}

}  // namespace kel
