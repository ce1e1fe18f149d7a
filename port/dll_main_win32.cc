// The DLL's entry: keeps the module handle for the resources and starts and
// stops the application object. ExitInstance runs here at process detach,
// under the loader lock, before the static destructors (which call it again;
// it runs once).

#include "plugin/plugin_state.h"
#include "port/platform_win32.h"
#include "port/win32_api.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  try {
    switch (reason) {
      case DLL_PROCESS_ATTACH:
        velkaro::win32::SetResourceModule(instance);
        return velkaro::TheState().TheApp.InitInstance() ? TRUE : FALSE;
      case DLL_PROCESS_DETACH:
        // Also at ExitProcess, when the other threads are already gone: the
        // window's close then ends at once (see win32_threads.cc).
        velkaro::TheState().TheApp.ExitInstance();
        break;
    }
  } catch (...) {
    // The module never refuses to load on its own account.
  }
  return TRUE;
}
