// The library's two exports; their plain names come from Traylet.def.
#include <new>

#include "TrayManagerImpl.h"

BOOL __cdecl CreateTrayManager(TrayManager** ppManager)
{
    if (!ppManager)
        return FALSE;
    *ppManager = new (std::nothrow) TrayManagerImpl;
    return *ppManager != nullptr;
}

BOOL __cdecl DestroyTrayManager(TrayManager** ppManager)
{
    if (!ppManager)
        return FALSE;
    // Every manager handed out is a TrayManagerImpl; the interface has no virtual destructor.
    delete static_cast<TrayManagerImpl*>(*ppManager);
    return TRUE;
}
