// The module's entry points, exported by their plain names (Kel.def).
#include "control/KelServer.h"
#include "control/framework/Module.h"

#include <windows.h>

extern "C" {

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) {
        kel::com::Module::attach(instance);
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** object)
{
    return kel::getKelClassObject(clsid, iid, object);
}

STDAPI DllCanUnloadNow() { return kel::canUnloadKelServer(); }

STDAPI DllRegisterServer() { return kel::registerKelServer(); }

STDAPI DllUnregisterServer() { return kel::unregisterKelServer(); }

}  // extern "C"
