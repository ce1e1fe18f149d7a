// The native build's port.

#include "port/platform_portable.h"

namespace velkaro {

Platform& DefaultPlatform() {
  static PortablePlatform platform;
  return platform;
}

}  // namespace velkaro
