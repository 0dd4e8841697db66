#include "report/Accessors.h"

#include "report/CollectorSet.h"

namespace kel {

namespace {

template <class Collector, class Call>
int forward(const std::unique_ptr<Collector>& slot, Call call)
{
    return slot ? call(*slot) : -1;
}

}  // namespace

int queryOSInfo(char* buffer, int size)
{
    return forward(collectorSlots().os, [&](OSInfo& c) {
        c.getOSInfo(buffer, size);
        return 1;
    });
}

int queryCpuInfo(char* buffer, int size)
{
    return forward(collectorSlots().cpu, [&](CpuInfo& c) {
        c.getCpuInfo(buffer, size);
        return 1;
    });
}

int queryMemoryInfo(char* buffer, int size)
{
    return forward(collectorSlots().memory, [&](MemInfo& c) {
        c.getMemoryInfo(buffer, size);
        return 1;
    });
}

int queryVgaListCount()
{
    return forward(collectorSlots().display, [](DisplayInfo& c) { return c.getVgaListCount(); });
}

int queryVgaDescription(int index, char* buffer, int size)
{
    return forward(collectorSlots().display,
                   [&](DisplayInfo& c) { return c.getVgaDescription(index, buffer, size); });
}

int queryVgaMemorySize(int index)
{
    return forward(collectorSlots().display, [&](DisplayInfo& c) { return c.getVgaMemorySize(index); });
}

int queryMediaInfo(char* buffer, int size)
{
    return forward(collectorSlots().media, [&](MediaInfo& c) {
        c.getMediaInfo(buffer, size);
        return 1;
    });
}

int queryNicListCount()
{
    return forward(collectorSlots().network, [](NetworkInfo& c) { return c.getNicListCount(); });
}

int queryNicDescription(int index, char* buffer, int size)
{
    return forward(collectorSlots().network,
                   [&](NetworkInfo& c) { return c.getNicDescription(index, buffer, size); });
}

int queryDiskListCount()
{
    return forward(collectorSlots().disks, [](DiskInfo& c) { return c.getDiskListCount(); });
}

int queryDiskDescription(int index, char* buffer, int size)
{
    return forward(collectorSlots().disks,
                   [&](DiskInfo& c) { return c.getDiskDescription(index, buffer, size); });
}

int queryPrinterListCount()
{
    return forward(collectorSlots().printers, [](PrinterInfo& c) { return c.getPrinterListCount(); });
}

int queryPrinterDescription(int index, char* buffer, int size)
{
    return forward(collectorSlots().printers,
                   [&](PrinterInfo& c) { return c.getPrinterDescription(index, buffer, size); });
}

int queryDirectXInfo(char* buffer, int size)
{
    return forward(collectorSlots().directX, [&](DirectXInfo& c) {
        c.getDirectXInfo(buffer, size);
        return 1;
    });
}

int querySoftwareListCount()
{
    return forward(collectorSlots().software, [](SoftwareInfo& c) { return c.getSoftwareListCount(); });
}

int querySoftwareDescription(int index, char* buffer, int size)
{
    return forward(collectorSlots().software,
                   [&](SoftwareInfo& c) { return c.getSoftwareDescription(index, buffer, size); });
}

int queryStartUpListCount()
{
    return forward(collectorSlots().startUp, [](StartUpInfo& c) { return c.getStartUpListCount(); });
}

int queryStartUpDescription(int index, char* buffer, int size)
{
    return forward(collectorSlots().startUp,
                   [&](StartUpInfo& c) { return c.getStartUpDescription(index, buffer, size); });
}

}  // namespace kel
