// The collector classes that Kel.ocx exports, for native programs built with
// MinGW (C++ class exports follow the compiler's ABI). Link libKel.dll.a and
// take the inventory without COM; see examples/native-client.cpp.
#pragma once

#ifndef KEL_BUILDING_MODULE
#define KEL_USING_MODULE
#endif

#include "collectors/CpuInfo.h"
#include "collectors/DeviceInfo.h"
#include "collectors/DirectXInfo.h"
#include "collectors/DiskInfo.h"
#include "collectors/DisplayInfo.h"
#include "collectors/MediaInfo.h"
#include "collectors/MemInfo.h"
#include "collectors/NetworkInfo.h"
#include "collectors/OSInfo.h"
#include "collectors/PrinterInfo.h"
#include "collectors/SoftwareInfo.h"
#include "collectors/StartUpInfo.h"
