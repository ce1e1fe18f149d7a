// The recording port that DefaultPlatform() returns in the fault-test binaries
// that link the entry points statically (recording_platform.cc takes the
// place of the native port there).

#ifndef VELKARO_TESTS_FAULT_RECORDING_PLATFORM_H_
#define VELKARO_TESTS_FAULT_RECORDING_PLATFORM_H_

#include <chrono>
#include <thread>

#include "test_support.h"

namespace velkaro::testing {

// FakePlatform whose pauses are short: closing the mode-switch window polls
// with Sleep, and the tests close it thousands of times.
class RecordingPlatform : public FakePlatform {
 public:
  void Sleep(int) override { std::this_thread::sleep_for(std::chrono::microseconds(50)); }
};

RecordingPlatform& TheRecordingPlatform();

}  // namespace velkaro::testing

#endif  // VELKARO_TESTS_FAULT_RECORDING_PLATFORM_H_
