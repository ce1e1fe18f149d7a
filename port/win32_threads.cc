// The window thread, made safe against unloading the library.
//
// Two hazards come with FreeLibrary while a thread of ours exists, because
// DLL_PROCESS_DETACH runs under the loader lock and a thread cannot start or
// end without that lock, so the unload can never wait for a thread to start
// or to exit:
//  1. A thread created shortly before the unload may not have started yet
//     (it waits for the loader lock in its DLL_THREAD_ATTACH); once the unload
//     is over it would start executing code that is no longer mapped.
//  2. The last instructions a thread runs after it gave up the window (its
//     destructors, its return) may come after the library is unmapped.
//
// So a thread never starts in the library. Its start routine is a tiny thunk
// copied into memory of its own (VirtualAlloc, never freed), beside a slot of
// four words per thread: state, body, argument and the address of ExitThread.
// The thunk moves the state IDLE -> RUNNING with lock cmpxchg and only then
// calls the body; when the body has returned it stores DONE and ends the
// thread with ExitThread, all without touching the library again. At unload,
// WaitForThreads moves IDLE -> DEAD (the thread then skips the body and ends)
// or waits, polling, until RUNNING has become DONE. A thread whose handle is
// signalled has ended, as when ExitProcess killed it before the unload, and
// counts as done too.

#include <cstddef>
#include <cstring>

#include "port/platform_win32.h"
#include "port/win32_api.h"

// The thunk, position independent: every address it needs comes from its
// slot. stdcall DWORD thunk(ThreadSlot* slot), never returns.
extern "C" const unsigned char velkaro_thread_thunk_begin[];
extern "C" const unsigned char velkaro_thread_thunk_end[];
asm(R"(
    .text
    .p2align 4
    .globl _velkaro_thread_thunk_begin
    .globl _velkaro_thread_thunk_end
_velkaro_thread_thunk_begin:
    pushl %ebx
    movl 8(%esp), %ebx          # the slot
    xorl %eax, %eax             # expect IDLE (0)
    movl $1, %edx               # RUNNING
    lock cmpxchgl %edx, (%ebx)
    jne 1f                      # DEAD: the library is gone, skip the body
    pushl 8(%ebx)
    call *4(%ebx)               # body(argument), cdecl
    addl $4, %esp
    movl 12(%ebx), %ecx         # ExitThread, read before the slot is let go
    movl $2, %eax
    xchgl %eax, (%ebx)          # DONE, a full barrier
    pushl $0
    call *%ecx
1:
    pushl $0
    call *12(%ebx)
_velkaro_thread_thunk_end:
)");

namespace velkaro {
namespace win32 {

enum ThreadState : LONG { kIdle = 0, kRunning = 1, kDone = 2, kDead = 3 };

struct ThreadSlot {
  volatile LONG state;
  void (*body)(void*);
  void* argument;
  VOID(WINAPI* exit_thread)(DWORD);
};
static_assert(offsetof(ThreadSlot, state) == 0 && offsetof(ThreadSlot, body) == 4 &&
                  offsetof(ThreadSlot, argument) == 8 &&
                  offsetof(ThreadSlot, exit_thread) == 12,
              "the thunk reads these offsets");

namespace {

constexpr size_t kPage = 4096;
constexpr size_t kSlotCount = kPage / sizeof(ThreadSlot);

// Page 1: the thunk (execute, read). Page 2: the slots (read, write). One per
// loaded library, never freed: a thread may still run the thunk after the
// library is gone.
struct ThunkPages {
  LPTHREAD_START_ROUTINE start = nullptr;
  ThreadSlot* slots = nullptr;
  bool used[kSlotCount] = {};
};

ThunkPages* Pages() {
  static ThunkPages* pages = []() -> ThunkPages* {
    auto* memory = static_cast<unsigned char*>(
        ::VirtualAlloc(nullptr, 2 * kPage, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
    if (memory == nullptr) return nullptr;
    const size_t size = velkaro_thread_thunk_end - velkaro_thread_thunk_begin;
    std::memcpy(memory, velkaro_thread_thunk_begin, size);
    DWORD old = 0;
    if (!::VirtualProtect(memory, kPage, PAGE_EXECUTE_READ, &old)) return nullptr;
    ::FlushInstructionCache(::GetCurrentProcess(), memory, size);
    static ThunkPages result;
    result.start = reinterpret_cast<LPTHREAD_START_ROUTINE>(memory);
    result.slots = reinterpret_cast<ThreadSlot*>(memory + kPage);
    return &result;
  }();
  return pages;
}

bool HasEnded(HANDLE thread) { return ::WaitForSingleObject(thread, 0) == WAIT_OBJECT_0; }

// True once the thread can no longer run library code.
bool LeftLibrary(HANDLE thread, ThreadSlot* slot) {
  if (HasEnded(thread)) return true;
  const LONG state = ::InterlockedCompareExchange(&slot->state, kDead, kIdle);
  return state == kIdle || state == kDone || state == kDead;
}

}  // namespace
}  // namespace win32

void Win32Platform::ForgetEndedThreads() {
  win32::ThunkPages* pages = win32::Pages();
  for (size_t i = 0; i < threads_.size();) {
    if (win32::HasEnded(threads_[i].handle)) {
      ::CloseHandle(threads_[i].handle);
      pages->used[threads_[i].slot - pages->slots] = false;
      threads_.erase(threads_.begin() + static_cast<std::ptrdiff_t>(i));
    } else {
      ++i;
    }
  }
}

bool Win32Platform::StartThread(void (*body)(void*), void* argument) {
  win32::ThunkPages* pages = win32::Pages();
  if (pages == nullptr) return false;
  if (window_settled_ == nullptr) {
    window_settled_ = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
  }
  if (window_settled_ != nullptr) ::ResetEvent(window_settled_);
  HANDLE thread = nullptr;
  win32::ThreadSlot* slot = nullptr;
  if (!LaunchThread(body, argument, &thread, &slot)) return false;
  // Let the window come up before the host may unload the library: creating
  // a window takes the loader lock (input method, cursors), and an unload
  // holds that lock while it waits for the window, which would never come.
  for (int waited = 0; waited < 10000 && window_settled_ != nullptr; waited += 10) {
    if (::WaitForSingleObject(window_settled_, 10) == WAIT_OBJECT_0) break;
    const LONG state = slot->state;
    if (win32::HasEnded(thread) || state == win32::kDone || state == win32::kDead) break;
  }
  return true;
}

void Win32Platform::WindowSettled() {
  if (window_settled_ != nullptr) ::SetEvent(window_settled_);
}

bool Win32Platform::LaunchThread(void (*body)(void*), void* argument, void** started,
                                 win32::ThreadSlot** started_slot) {
  win32::ThunkPages* pages = win32::Pages();
  std::lock_guard<std::mutex> hold(threads_lock_);
  ForgetEndedThreads();
  size_t free_slot = 0;
  while (free_slot < win32::kSlotCount && pages->used[free_slot]) ++free_slot;
  if (free_slot == win32::kSlotCount) return false;
  threads_.reserve(threads_.size() + 1);  // no failure after CreateThread

  win32::ThreadSlot* slot = &pages->slots[free_slot];
  slot->state = win32::kIdle;
  slot->body = body;
  slot->argument = argument;
  slot->exit_thread = reinterpret_cast<VOID(WINAPI*)(DWORD)>(reinterpret_cast<void*>(
      ::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "ExitThread")));
  if (slot->exit_thread == nullptr) return false;
  ::MemoryBarrier();
  HANDLE thread = ::CreateThread(nullptr, 0, pages->start, slot, 0, nullptr);
  if (thread == nullptr) return false;
  pages->used[free_slot] = true;
  threads_.push_back({thread, slot});
  *started = thread;
  *started_slot = slot;
  return true;
}

bool Win32Platform::ThreadRunning() {
  if (win32::ProcessExiting()) return false;
  std::lock_guard<std::mutex> hold(threads_lock_);
  for (const StartedThread& thread : threads_) {
    if (win32::HasEnded(thread.handle)) continue;
    const LONG state = thread.slot->state;
    if (state == win32::kIdle || state == win32::kRunning) return true;
  }
  return false;
}

void Win32Platform::WaitForThreads() {
  if (win32::ProcessExiting()) return;
  std::lock_guard<std::mutex> hold(threads_lock_);
  for (const StartedThread& thread : threads_) {
    while (!win32::LeftLibrary(thread.handle, thread.slot)) ::Sleep(1);
  }
  // The handles stay open: a thread may still be on its way out, and the
  // slots must not be given to a new thread before it is gone.
}

}  // namespace velkaro
