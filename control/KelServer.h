// The server's classes and its self-registration.
#pragma once

#include <objbase.h>

namespace kel {

HRESULT getKelClassObject(REFCLSID clsid, REFIID iid, void** object);
HRESULT canUnloadKelServer();
HRESULT registerKelServer();
HRESULT unregisterKelServer();

}  // namespace kel
