// Whether a device the registry still holds is attached. Windows keeps the
// keys of removed devices (a swapped graphics card, a docking station's
// network adapter), so on the NT family the configuration manager is asked;
// the device walk itself keeps every record.
#pragma once

#include "collectors/DeviceClass.h"

#include <string>

namespace kel {

// The NT family's device enumeration root, below HKEY_LOCAL_MACHINE.
constexpr char kNtEnumRoot[] = "SYSTEM\\CurrentControlSet\\Enum";

// The record's instance identifier: its key path below the enumeration root,
// as PCI\VEN_10DE&DEV_1F08&SUBSYS_...\4&1a2b3c&0&0008.
std::string instanceIdOf(const DeviceClass& device);

// True only when the configuration manager answers that no such device
// exists; a system without it, or any other answer, keeps the device.
bool noLongerAttached(const DeviceClass& device);

// A display or network adapter on a bus (isBusAdapter) that, on the NT
// family, is still attached.
bool isAttachedBusAdapter(const DeviceClass& device, bool isNT);

}  // namespace kel
