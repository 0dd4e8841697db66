#include "collectors/PrinterInfo.h"

#include "collectors/TextOut.h"

namespace kel {

PrinterInfo::PrinterInfo() = default;
PrinterInfo::PrinterInfo(const PrinterInfo& other) = default;
PrinterInfo& PrinterInfo::operator=(const PrinterInfo& other) = default;
PrinterInfo::~PrinterInfo() = default;

// Not built yet: this list arrives with its own change.
void PrinterInfo::setPrinterInfo() {}

int PrinterInfo::getPrinterListCount()
{
    return static_cast<int>(printerNames.size());
}

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
