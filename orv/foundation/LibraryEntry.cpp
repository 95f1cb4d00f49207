// Library entry of the Windows DLL. The library keeps no per-thread state and starts no thread, so
// it asks the loader not to call it for every thread a host starts or ends; that is its only action
// on load.
#ifdef _WIN32

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID /*reserved*/) {
    if (reason == DLL_PROCESS_ATTACH) {
        // The loader refuses this for a module with a thread-local-storage directory, which
        // MinGW-w64's start-up code gives every DLL; the library works the same either way, so
        // the result is not checked.
        DisableThreadLibraryCalls(module);
    }
    return TRUE;
}

#endif
