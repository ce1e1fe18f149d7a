// The replacement global allocation functions behind FailingAllocator. They
// take memory from malloc, so every operator delete form is replaced too.

#include "failing_allocator.h"

#include <cstddef>
#include <cstdlib>
#include <new>

namespace velkaro::testing {
namespace {

// Per thread, so nothing here needs a lock and other threads never fail.
thread_local bool armed = false;
thread_local int64_t count = 0;
thread_local int64_t fail_at = 0;
thread_local bool from_then_on = false;
thread_local bool fired = false;
thread_local int64_t refusals = 0;

bool Refuse() {
  if (!armed) return false;
  ++count;
  if (count == fail_at || (from_then_on && count > fail_at)) {
    fired = true;
    ++refusals;
    return true;
  }
  return false;
}

void* Allocate(std::size_t size, std::size_t alignment) {
  if (size == 0) size = 1;
  if (alignment <= alignof(std::max_align_t)) return std::malloc(size);
  // aligned_alloc wants a multiple of the alignment.
  return std::aligned_alloc(alignment, (size + alignment - 1) / alignment * alignment);
}

void* AllocateOrThrow(std::size_t size, std::size_t alignment) {
  if (Refuse()) throw std::bad_alloc();
  void* memory = Allocate(size, alignment);
  if (memory == nullptr) throw std::bad_alloc();
  return memory;
}

void* AllocateOrNull(std::size_t size, std::size_t alignment) noexcept {
  if (Refuse()) return nullptr;
  return Allocate(size, alignment);
}

}  // namespace

void FailingAllocator::Arm(int64_t n, Mode mode) {
  count = 0;
  fail_at = n;
  from_then_on = mode == kFromThenOn;
  fired = false;
  refusals = 0;
  armed = true;
}

void FailingAllocator::Disarm() { armed = false; }
void FailingAllocator::Resume() { armed = true; }
int64_t FailingAllocator::Count() { return count; }
bool FailingAllocator::Fired() { return fired; }
int64_t FailingAllocator::Refusals() { return refusals; }

AllocationFailuresOff::AllocationFailuresOff() : was_armed_(armed) { armed = false; }
AllocationFailuresOff::~AllocationFailuresOff() { armed = was_armed_; }

}  // namespace velkaro::testing

using velkaro::testing::AllocateOrNull;
using velkaro::testing::AllocateOrThrow;

constexpr std::size_t kPlain = alignof(std::max_align_t);

void* operator new(std::size_t size) { return AllocateOrThrow(size, kPlain); }
void* operator new[](std::size_t size) { return AllocateOrThrow(size, kPlain); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  return AllocateOrNull(size, kPlain);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
  return AllocateOrNull(size, kPlain);
}
void* operator new(std::size_t size, std::align_val_t align) {
  return AllocateOrThrow(size, static_cast<std::size_t>(align));
}
void* operator new[](std::size_t size, std::align_val_t align) {
  return AllocateOrThrow(size, static_cast<std::size_t>(align));
}
void* operator new(std::size_t size, std::align_val_t align,
                   const std::nothrow_t&) noexcept {
  return AllocateOrNull(size, static_cast<std::size_t>(align));
}
void* operator new[](std::size_t size, std::align_val_t align,
                     const std::nothrow_t&) noexcept {
  return AllocateOrNull(size, static_cast<std::size_t>(align));
}

void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete(void* p, std::align_val_t) noexcept { std::free(p); }
void operator delete[](void* p, std::align_val_t) noexcept { std::free(p); }
void operator delete(void* p, std::size_t, std::align_val_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t, std::align_val_t) noexcept { std::free(p); }
void operator delete(void* p, std::align_val_t, const std::nothrow_t&) noexcept {
  std::free(p);
}
void operator delete[](void* p, std::align_val_t, const std::nothrow_t&) noexcept {
  std::free(p);
}
