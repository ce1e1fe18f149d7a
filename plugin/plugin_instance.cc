// The process's one set of plug-in objects, served by the build's port.

#include "plugin/plugin_state.h"

#if defined(__GLIBCXX__)
// Frees the C++ runtime's reserve for exceptions thrown when memory has run
// out. The runtime itself never frees it (it exists for leak checkers).
namespace __gnu_cxx {
void __freeres();
}  // namespace __gnu_cxx
#endif

namespace velkaro {

PluginState& TheState() {
  // Created when the library is loaded (the exports reach it at once through
  // a static initialiser) and destroyed when it is unloaded.
  static PluginState state(DefaultPlatform());
  return state;
}

namespace {

// This library carries its own copy of the C++ runtime, whose 70 KB reserve
// would otherwise leak at every unload. Constructed before the objects
// below, so destroyed after them, when nothing of this library throws any
// more.
struct RuntimeReserveRelease {
  ~RuntimeReserveRelease() {
#if defined(__GLIBCXX__)
    __gnu_cxx::__freeres();
#endif
  }
} release_at_unload;

// Creates the objects at load rather than at the first call.
[[maybe_unused]] PluginState& created_at_load = TheState();

}  // namespace

}  // namespace velkaro
