// The DLL's entry: keeps the module handle for the resources and starts and
// stops the application object. ExitInstance runs here at process detach,
// under the loader lock, before the static destructors (which call it again;
// it runs once).

#include "plugin/plugin_state.h"
#include "port/platform_win32.h"
#include "port/win32_api.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  try {
    switch (reason) {
      case DLL_PROCESS_ATTACH:
        velkaro::win32::SetResourceModule(instance);
        return velkaro::TheState().TheApp.InitInstance() ? TRUE : FALSE;
      case DLL_PROCESS_DETACH:
        // At ExitProcess (reserved set) the other threads are already gone,
        // perhaps killed holding locks of the window system: the window's
        // close then ends at once without touching it.
        if (reserved != nullptr) velkaro::win32::SetProcessExiting();
        velkaro::TheState().TheApp.ExitInstance();
        break;
    }
  } catch (...) {
    // The module never refuses to load on its own account.
  }
  return TRUE;
}
