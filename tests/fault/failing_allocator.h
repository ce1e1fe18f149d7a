// An allocator for tests that fails on request: linking failing_allocator.cc
// into a test binary replaces the global operator new and new[] (plain,
// nothrow and aligned forms). Only allocations made on the thread that armed
// it are counted, so gtest's own work and the mode-switch window's thread
// stay unaffected.
//
//   FailingAllocator::Arm(5, FailingAllocator::kOnce);
//   ...                                  // the 5th allocation fails
//   FailingAllocator::Disarm();
//   FailingAllocator::Fired()            // -> true if it was reached

#ifndef VELKARO_TESTS_FAULT_FAILING_ALLOCATOR_H_
#define VELKARO_TESTS_FAULT_FAILING_ALLOCATOR_H_

#include <cstdint>

namespace velkaro::testing {

class FailingAllocator {
 public:
  enum Mode {
    kOnce,        // only allocation number N fails
    kFromThenOn,  // N and every later one fail
  };

  // Counts allocations on the calling thread from now on; the Nth (1-based)
  // fails as `mode` says. Resets the count and Fired().
  static void Arm(int64_t n, Mode mode);
  // Stops counting on the calling thread; the count and Fired() stay.
  static void Disarm();
  // Resumes counting after Disarm, keeping the count.
  static void Resume();

  // Allocations counted since Arm.
  static int64_t Count();
  // True once an allocation was refused since Arm.
  static bool Fired();
  // How many allocations were refused since Arm.
  static int64_t Refusals();
};

// Disarms for its lifetime, e.g. while a test inspects the state.
class AllocationFailuresOff {
 public:
  AllocationFailuresOff();
  ~AllocationFailuresOff();

 private:
  bool was_armed_;
};

}  // namespace velkaro::testing

#endif  // VELKARO_TESTS_FAULT_FAILING_ALLOCATOR_H_
