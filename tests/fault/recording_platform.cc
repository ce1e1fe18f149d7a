// The port of the fault-test binaries that link the entry points statically:
// the portable port with messages, errors and the header form recorded (see
// FakePlatform), so a test can tell that nothing was reported to the host.

#include "recording_platform.h"

namespace velkaro {

Platform& DefaultPlatform() { return testing::TheRecordingPlatform(); }

namespace testing {

RecordingPlatform& TheRecordingPlatform() {
  static RecordingPlatform platform;
  return platform;
}

}  // namespace testing
}  // namespace velkaro
