// The printers the spooler knows: local ones and connections.
#pragma once

#include "collectors/KelApi.h"
#include "collectors/OwnedList.h"

#include <string>

namespace kel {

class KEL_API PrinterInfo {
public:
    PrinterInfo();
    PrinterInfo(const PrinterInfo& other);
    PrinterInfo& operator=(const PrinterInfo& other);
    ~PrinterInfo();

    void setPrinterInfo();
    int getPrinterListCount();
    int getPrinterDescription(int index, char* buffer, int size);
    int getPrinterInfo(char* buffer, int size);

private:
    OwnedList<std::string> printerNames;
};

}  // namespace kel
