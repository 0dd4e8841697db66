#include "collectors/PrinterInfo.h"

#include "collectors/TextOut.h"
#include "platform/Platform.h"
#include "platform/RegKey.h"

#include <cstdint>
#include <cstring>
#include <vector>

namespace kel {

namespace {

constexpr uint32_t kPrinterFlags = kPrinterEnumLocal | kPrinterEnumConnections;
constexpr uint32_t kLevel = 1;

// The name a record points at, never past the end of the spooler's buffer.
std::string recordName(const PrinterInfo1& record, const std::vector<uint8_t>& buffer)
{
    const auto begin = reinterpret_cast<std::uintptr_t>(buffer.data());
    const auto at = reinterpret_cast<std::uintptr_t>(record.name);
    if (at < begin || at >= begin + buffer.size())
        return std::string();
    const std::size_t offset = at - begin;
    return boundedText(reinterpret_cast<const char*>(buffer.data()) + offset, buffer.size() - offset,
                       buffer.size() - offset);
}

}  // namespace

PrinterInfo::PrinterInfo() = default;
PrinterInfo::PrinterInfo(const PrinterInfo& other) = default;
PrinterInfo& PrinterInfo::operator=(const PrinterInfo& other) = default;
PrinterInfo::~PrinterInfo() = default;

void PrinterInfo::setPrinterInfo()
{
    uint32_t needed = 0;
    uint32_t returned = 0;
    platform().enumPrinters(kPrinterFlags, kLevel, nullptr, 0, &needed, &returned);
    if (needed == 0)
        return;
    // One spare zero byte past what the spooler asked for; running out of
    // memory here ends the report like anywhere else.
    const uint32_t bufferSize = needed;
    std::vector<uint8_t> buffer(static_cast<std::size_t>(bufferSize) + 1, 0);
    returned = 0;
    if (!platform().enumPrinters(kPrinterFlags, kLevel, buffer.data(), bufferSize, &needed, &returned))
        return;
    // Only as many records as the buffer holds, whatever the count says.
    const std::size_t fits = bufferSize / sizeof(PrinterInfo1);
    const std::size_t records = returned < fits ? returned : fits;
    for (std::size_t i = 0; i < records; ++i) {
        PrinterInfo1 record;
        std::memcpy(&record, buffer.data() + i * sizeof record, sizeof record);
        printerNames.append(recordName(record, buffer));
    }
}

int PrinterInfo::getPrinterListCount() { return static_cast<int>(printerNames.size()); }

// A buffer too small answers 0, an index outside the list -1.
int PrinterInfo::getPrinterDescription(int index, char* buffer, int size)
{
    return describeEntry(printerNames, index, buffer, size, textItself, 0);
}

int PrinterInfo::getPrinterInfo(char* buffer, int size)
{
    return describeAll(printerNames, buffer, size, textItself);
}

}  // namespace kel
