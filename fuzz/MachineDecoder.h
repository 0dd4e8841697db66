// Turns arbitrary bytes into the texts of a recorded machine: a registry.reg
// whose keys are the ones the collectors read (or beside them), holding values
// of every type and size, and a machine.ini with a version record, processor
// leaves, drives, printers, multimedia devices and the default audio
// endpoint, startup folder contents, devices no longer attached, names,
// network adapters and a raw SMBIOS table.
// Every byte string decodes to some machine; running out of bytes reads zeros.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace kelfuzz {

class MachineDecoder {
public:
    MachineDecoder(const uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    // Registry key blocks without the file header, to follow any header.
    std::string registryBlocks();
    // A whole machine.ini.
    std::string machineIni();

    bool exhausted() const { return at_ >= size_; }

private:
    uint8_t byte();
    uint32_t word();
    uint32_t below(uint32_t limit);
    std::string keyPath();
    std::string keySegment();
    std::string valueLine();
    std::string valueData(uint32_t type);
    std::string tableText();
    std::string plainText(std::size_t maxLength);
    std::string iniText(std::size_t maxLength);
    std::string versionSection();
    std::string cpuSection();
    std::string mediaSection();
    std::string drivesSection();
    std::string printersSection();
    std::string shellSection();
    std::string devicesSection();
    std::string identitySection();
    std::string adaptersSection();
    std::string firmwareSection();
    std::string smbiosTable();

    const uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

}  // namespace kelfuzz
