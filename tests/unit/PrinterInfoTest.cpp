#include "collectors/PrinterInfo.h"
#include "MachineUnderTest.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace kel {
namespace {

const char kTwoPrinters[] =
    "[printers]\n"
    "printer.0 = HP LaserJet 4050 Series PCL\n"
    "printer.1 = \\\\ACCOUNTS\\Samsung ML-1710\n";

std::string allPrinters(PrinterInfo& info)
{
    char buffer[1024] = "untouched";
    EXPECT_EQ(1, info.getPrinterInfo(buffer, sizeof buffer));
    return buffer;
}

TEST(PrinterInfo, ListsLocalPrintersAndConnectionsAsTheSpoolerNamesThem)
{
    MachineUnderTest m(regFile(""), iniFile(kTwoPrinters));
    PrinterInfo info;
    info.setPrinterInfo();
    ASSERT_EQ(2, info.getPrinterListCount());
    char buffer[64] = "";
    EXPECT_EQ(1, info.getPrinterDescription(1, buffer, sizeof buffer));
    EXPECT_STREQ("\\\\ACCOUNTS\\Samsung ML-1710", buffer);
    EXPECT_EQ("HP LaserJet 4050 Series PCL|\\\\ACCOUNTS\\Samsung ML-1710", allPrinters(info));
}

TEST(PrinterInfo, NoPrintersGivesAnEmptyList)
{
    MachineUnderTest m(regFile(""), iniFile(""));
    PrinterInfo info;
    info.setPrinterInfo();
    EXPECT_EQ(0, info.getPrinterListCount());
    EXPECT_EQ("", allPrinters(info));
}

TEST(PrinterInfo, FailingEnumerationGivesNoPrinters)
{
    MachineUnderTest m(regFile(""), iniFile(std::string(kTwoPrinters) + "enumerate = fail\n"));
    PrinterInfo info;
    info.setPrinterInfo();
    EXPECT_EQ(0, info.getPrinterListCount());
}

TEST(PrinterInfo, DescriptionTellsBadIndexFromSmallBuffer)
{
    MachineUnderTest m(regFile(""), iniFile("[printers]\nprinter.0 = Epson LQ-570\n"));
    PrinterInfo info;
    info.setPrinterInfo();
    char buffer[32];
    std::strcpy(buffer, "untouched");
    EXPECT_EQ(-1, info.getPrinterDescription(-1, buffer, sizeof buffer));
    EXPECT_EQ(-1, info.getPrinterDescription(1, buffer, sizeof buffer));
    EXPECT_EQ(0, info.getPrinterDescription(0, buffer, 12)) << "exactly the name's length";
    EXPECT_STREQ("untouched", buffer);
    EXPECT_EQ(1, info.getPrinterDescription(0, buffer, 13));
    EXPECT_STREQ("Epson LQ-570", buffer);
    std::strcpy(buffer, "untouched");
    EXPECT_EQ(-1, info.getPrinterInfo(buffer, 12));
    EXPECT_STREQ("untouched", buffer);
}

TEST(PrinterInfo, SecondFillAppendsAgainAndCopiesStandAlone)
{
    MachineUnderTest m(regFile(""), iniFile(kTwoPrinters));
    PrinterInfo info;
    info.setPrinterInfo();
    info.setPrinterInfo();
    EXPECT_EQ(4, info.getPrinterListCount());
    PrinterInfo copy(info);
    info = PrinterInfo();
    EXPECT_EQ(0, info.getPrinterListCount());
    EXPECT_EQ(
        "HP LaserJet 4050 Series PCL|\\\\ACCOUNTS\\Samsung ML-1710|"
        "HP LaserJet 4050 Series PCL|\\\\ACCOUNTS\\Samsung ML-1710",
        allPrinters(copy));
}

// A spooler that counts more records than the buffer it filled can hold.
class OvercountingSpooler : public RecordedMachine {
public:
    using RecordedMachine::RecordedMachine;
    bool enumPrinters(uint32_t flags, uint32_t level, uint8_t* buffer, uint32_t bufferSize, uint32_t* needed,
                      uint32_t* returned) override
    {
        const bool ok = RecordedMachine::enumPrinters(flags, level, buffer, bufferSize, needed, returned);
        if (buffer != nullptr)
            *returned = 1000;
        return ok;
    }
};

TEST(PrinterInfo, ReadsNoRecordBeyondTheBuffer)
{
    MachineUnderTest<OvercountingSpooler> m(regFile(""), iniFile(kTwoPrinters));
    PrinterInfo info;
    info.setPrinterInfo();
    // The buffer holds the two records and their names; whatever lies after
    // the records counts as records only as far as the buffer goes.
    EXPECT_GE(info.getPrinterListCount(), 2);
    char buffer[64] = "";
    EXPECT_EQ(1, info.getPrinterDescription(0, buffer, sizeof buffer));
    EXPECT_STREQ("HP LaserJet 4050 Series PCL", buffer);
}

}  // namespace
}  // namespace kel
