#include "plugin/plugin_state.h"

namespace velkaro {

int CTestApp::ExitInstance() {
  if (exited_) return 0;
  exited_ = true;
  try {
    state_.ModeWindow.Shutdown();
  } catch (...) {
  }
  state_.platform.Sleep(20);
  return 0;
}

}  // namespace velkaro
