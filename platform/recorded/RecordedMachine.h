// A whole machine described by files: registry.reg (the registry editor's
// export format) and machine.ini (everything that is not registry). It stands
// in for the platform in the command-line tool and in tests.
#pragma once

#include "platform/Platform.h"

#include <cstddef>
#include <memory>
#include <string>

namespace kel {

class RecordedMachine : public Platform {
public:
    // Reads DIRECTORY/registry.reg and DIRECTORY/machine.ini. On failure
    // returns null and sets *error to one line naming the file, the line and
    // the problem.
    static std::unique_ptr<RecordedMachine> load(const std::string& directory, std::string* error);

    // The same from the files' raw bytes; the names only appear in messages.
    static std::unique_ptr<RecordedMachine> parse(const std::string& registryBytes,
                                                  const std::string& iniBytes, std::string* error,
                                                  const std::string& registryName = "registry.reg",
                                                  const std::string& iniName = "machine.ini");

    // What tests may observe of the simulated process.
    virtual uint32_t currentPriorityClass() const = 0;
    virtual unsigned prioritySetCount() const = 0;
    // Registry keys and file searches opened and not yet closed.
    virtual std::size_t openKeyCount() const = 0;
    virtual std::size_t openSearchCount() const = 0;
};

}  // namespace kel
