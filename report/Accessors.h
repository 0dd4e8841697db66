// The accessor layer between the report and the collector set: each forwards
// to its collector when the slot holds one, and answers -1 when it does not.
#pragma once

namespace kel {

int queryOSInfo(char* buffer, int size);
int queryCpuInfo(char* buffer, int size);
int queryMemoryInfo(char* buffer, int size);
int queryVgaListCount();
int queryVgaDescription(int index, char* buffer, int size);
int queryVgaMemorySize(int index);
int queryMediaInfo(char* buffer, int size);
int queryNicListCount();
int queryNicDescription(int index, char* buffer, int size);
int queryDiskListCount();
int queryDiskDescription(int index, char* buffer, int size);
int queryPrinterListCount();
int queryPrinterDescription(int index, char* buffer, int size);
int queryDirectXInfo(char* buffer, int size);
int querySoftwareListCount();
int querySoftwareDescription(int index, char* buffer, int size);
int queryStartUpListCount();
int queryStartUpDescription(int index, char* buffer, int size);

}  // namespace kel
