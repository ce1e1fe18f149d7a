// The process's one set of plug-in objects, served by the build's port.

#include "plugin/plugin_state.h"

namespace velkaro {

PluginState& TheState() {
  // Created when the library is loaded (the exports reach it at once through
  // a static initialiser) and destroyed when it is unloaded.
  static PluginState state(DefaultPlatform());
  return state;
}

namespace {
// Creates the objects at load rather than at the first call.
[[maybe_unused]] PluginState& created_at_load = TheState();
}  // namespace

}  // namespace velkaro
