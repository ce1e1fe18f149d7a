// Unloading the DLL while its mode-switch window thread is starting, opening
// or open: FreeLibrary must close the window and return, and no thread may
// run the unloaded code afterwards (a crash ends the process under Wine with
// a failure status). Also the process ending with the window open.
//
// With --exit-mode the two ExitProcess cases end this process themselves;
// ctest then judges the exit status.

// <windows.h> comes before the other Windows headers.
// clang-format off
#include <windows.h>
// clang-format on

#include <gtest/gtest.h>
#include <tlhelp32.h>

#include <cstdio>
#include <cstring>

#include "tests/win32/plugin_host.h"

namespace velkaro::wintest {
namespace {

bool exit_mode = false;

int ThreadsOfThisProcess() {
  HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return -1;
  THREADENTRY32 entry = {};
  entry.dwSize = sizeof entry;
  int count = 0;
  for (BOOL more = ::Thread32First(snapshot, &entry); more;
       more = ::Thread32Next(snapshot, &entry)) {
    if (entry.th32OwnerProcessID == ::GetCurrentProcessId()) ++count;
  }
  ::CloseHandle(snapshot);
  return count;
}

class UnloadTest : public ::testing::Test {
 protected:
  ScratchFolder folder_{"unload"};
};

TEST_F(UnloadTest, TwoHundredCyclesOfLoadResetFree) {
  // A host has windows of its own before it loads plug-ins.
  HWND host = ::CreateWindowExA(0, "STATIC", "host", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100,
                                nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(host, nullptr);
  const int threads_before = ThreadsOfThisProcess();
  int opened = 0;
  for (int cycle = 0; cycle < 200; ++cycle) {
    HMODULE module = ::LoadLibraryA(PluginPath().c_str());
    ASSERT_NE(module, nullptr) << cycle;
    auto reset = reinterpret_cast<ResetFn*>(
        reinterpret_cast<void*>(::GetProcAddress(module, "ResetStats0")));
    ASSERT_NE(reset, nullptr);
    HostDate start{42152.5, 0};
    HostDate end{42153.5, 0};
    ASSERT_EQ(reset("", 0, "UA1AAA", &start, &end, "", "", "", "", "", "", "", "", "", "",
                    0, 0, 0, 0.0, 0.0, "", "", ""),
              1);
    switch (cycle % 4) {
      case 0:  // the window is open
        ASSERT_NE(WaitForWindow(kModeWindowCaption), nullptr) << cycle;
        ++opened;
        break;
      case 1:  // the thread may be anywhere in its start
        ::Sleep(static_cast<DWORD>(cycle % 7));
        break;
      case 2:  // the thread has most likely not started
        break;
      case 3:  // the window was just created
        WaitFor([] { return !WindowsNamed(kModeWindowCaption).empty(); }, 5);
        break;
    }
    ASSERT_TRUE(::FreeLibrary(module)) << cycle;
    ASSERT_TRUE(WindowsNamed(kModeWindowCaption).empty()) << "left open, cycle " << cycle;
  }
  EXPECT_EQ(opened, 50);
  // Every window thread ends once the loader lets it.
  EXPECT_TRUE(WaitFor([&] { return ThreadsOfThisProcess() <= threads_before; }))
      << ThreadsOfThisProcess() << " threads, " << threads_before << " before";
  ::DestroyWindow(host);
}

TEST_F(UnloadTest, ExitProcessWithTheWindowOpen) {
  if (!exit_mode) GTEST_SKIP() << "ends the process: run with --exit-mode";
  HMODULE module = ::LoadLibraryA(PluginPath().c_str());
  ASSERT_NE(module, nullptr);
  auto reset = reinterpret_cast<ResetFn*>(
      reinterpret_cast<void*>(::GetProcAddress(module, "ResetStats0")));
  HostDate start{42152.5, 0};
  reset("", 0, "UA1AAA", &start, &start, "", "", "", "", "", "", "", "", "", "", 0, 0, 0,
        0.0, 0.0, "", "", "");
  ASSERT_NE(WaitForWindow(kModeWindowCaption), nullptr);
  std::fflush(nullptr);
  // The window's thread is killed before the DLL hears of the exit; its
  // unload must not wait for it. A hang fails on the timeout.
  ::ExitProcess(0);
}

TEST_F(UnloadTest, ExitBeforeThreadStarted) {
  if (!exit_mode) GTEST_SKIP() << "ends the process: run with --exit-mode";
  HMODULE module = ::LoadLibraryA(PluginPath().c_str());
  ASSERT_NE(module, nullptr);
  auto reset = reinterpret_cast<ResetFn*>(
      reinterpret_cast<void*>(::GetProcAddress(module, "ResetStats0")));
  HostDate start{42152.5, 0};
  reset("", 0, "UA1AAA", &start, &start, "", "", "", "", "", "", "", "", "", "", 0, 0, 0,
        0.0, 0.0, "", "", "");
  std::fflush(nullptr);
  ::ExitProcess(0);
}

}  // namespace
}  // namespace velkaro::wintest

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--exit-mode") == 0) velkaro::wintest::exit_mode = true;
  }
  return RUN_ALL_TESTS();
}
