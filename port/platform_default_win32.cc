// Velkaro.dll's port.

#include "port/platform_win32.h"

namespace velkaro {

Platform& DefaultPlatform() {
  static Win32Platform platform;
  return platform;
}

}  // namespace velkaro
