// What the Windows tests share: Velkaro.dll loaded by path (VELKARO_PLUGIN)
// and called with the host's full argument lists, a scratch folder as the
// current directory, and helpers to find and wait for the plug-in's windows.

#ifndef VELKARO_TESTS_WIN32_PLUGIN_HOST_H_
#define VELKARO_TESTS_WIN32_PLUGIN_HOST_H_

#include <windows.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "tests/abi/host_functions.h"

namespace velkaro::wintest {

using host_api::AddFn;
using host_api::HostDate;
using host_api::ResetFn;
using host_api::ResultFn;

// "ДЕНЬ ВЕЛКАРО" in Windows-1251, the header form's caption.
inline constexpr char kFormCaption[] = "\xC4\xC5\xCD\xDC \xC2\xC5\xCB\xCA\xC0\xD0\xCE";
inline constexpr char kModeWindowCaption[] = "Swith Mode";

inline std::string PluginPath() {
  const char* path = std::getenv("VELKARO_PLUGIN");
  return path != nullptr && *path ? path : "Velkaro.dll";
}

// The DLL with its entry points; FreeLibrary in the destructor.
class Plugin {
 public:
  Plugin() : module_(::LoadLibraryA(PluginPath().c_str())) {
    if (module_ == nullptr) return;
    add_ = Find<AddFn>("AddData0");
    reset_ = Find<ResetFn>("ResetStats0");
    result_ = Find<ResultFn>("GetResult0");
  }
  ~Plugin() { Unload(); }
  Plugin(const Plugin&) = delete;
  Plugin& operator=(const Plugin&) = delete;

  bool loaded() const {
    return module_ != nullptr && add_ != nullptr && reset_ != nullptr &&
           result_ != nullptr;
  }
  void Unload() {
    if (module_ != nullptr) ::FreeLibrary(module_);
    module_ = nullptr;
  }

  int Reset(int cabrillo, const char* own_call) {
    HostDate start{42152.5, 0};  // 28.05.2015 12:00
    HostDate end{42153.5, 0};
    return reset_("", cabrillo, own_call, &start, &end, "", "", "", "", "", "", "", "",
                  "", "", 0, 0, 0, 0.0, 0.0, "", "", "");
  }
  int Add(const char* own_call, const char* call, double days, unsigned freq_hz,
          const char* mode, const char* nr_sent, const char* nr_rcvd, const char* band) {
    HostDate time{days, 0};
    HostDate unused{0.0, 0};
    return add_(own_call, call, &time, &unused, &unused, &unused, 0, freq_hz, mode, "599",
                "599", nr_sent, nr_rcvd, "", "", "", "", "", "", "", "", "", "", 0, 0, 0,
                0.0, 0.0, "", "", "", band, "");
  }
  std::string Result(int* points) { return result_(points); }

 private:
  template <typename Function>
  Function* Find(const char* name) {
    return reinterpret_cast<Function*>(
        reinterpret_cast<void*>(::GetProcAddress(module_, name)));
  }

  HMODULE module_;
  AddFn* add_ = nullptr;
  ResetFn* reset_ = nullptr;
  ResultFn* result_ = nullptr;
};

// Waits (bounded, polling) until `ready` holds; false when it never did.
inline bool WaitFor(const std::function<bool()>& ready, int seconds = 20) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
  while (!ready()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return true;
}

// Like WaitFor, pumping this thread's messages meanwhile (a COM host in a
// single-threaded apartment must, or calls into it stall).
inline bool PumpUntil(const std::function<bool()>& ready, int seconds = 20) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
  while (!ready()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    MSG message;
    while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&message);
      ::DispatchMessageA(&message);
    }
  }
  return true;
}

struct WindowSearch {
  std::string caption;
  std::vector<HWND> found;
};

inline BOOL CALLBACK VisitWindow(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<WindowSearch*>(data);
  DWORD process = 0;
  ::GetWindowThreadProcessId(window, &process);
  char text[256] = {};
  ::GetWindowTextA(window, text, sizeof text);
  if (process == ::GetCurrentProcessId() && ::IsWindowVisible(window) &&
      search->caption == text) {
    search->found.push_back(window);
  }
  return TRUE;
}

// Visible top-level windows of this process with this caption.
inline std::vector<HWND> WindowsNamed(const std::string& caption) {
  WindowSearch search{caption, {}};
  ::EnumWindows(&VisitWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

inline HWND WaitForWindow(const std::string& caption, int seconds = 20) {
  HWND window = nullptr;
  WaitFor(
      [&] {
        std::vector<HWND> found = WindowsNamed(caption);
        window = found.empty() ? nullptr : found.front();
        return window != nullptr;
      },
      seconds);
  return window;
}

inline std::string ControlText(HWND dialog, int id) {
  char text[1024] = {};
  ::GetDlgItemTextA(dialog, id, text, sizeof text);
  return text;
}

inline std::string WindowClass(HWND window) {
  char name[256] = {};
  ::GetClassNameA(window, name, sizeof name);
  return name;
}

// The whole file, or "" when it cannot be read.
inline std::string FileBytes(const std::string& path) {
  std::string bytes;
  HANDLE file =
      ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return bytes;
  char chunk[4096];
  DWORD got = 0;
  while (::ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got > 0) {
    bytes.append(chunk, got);
  }
  ::CloseHandle(file);
  return bytes;
}

inline bool FileExists(const std::string& path) {
  return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// A fresh folder below the current one, made the current directory, with the
// plug-in's Plugins folder in it; the previous directory comes back after.
class ScratchFolder {
 public:
  explicit ScratchFolder(const std::string& name) {
    char previous[MAX_PATH] = {};
    ::GetCurrentDirectoryA(sizeof previous, previous);
    previous_ = previous;
    path_ = previous_ + "\\" + name + "-" + std::to_string(::GetCurrentProcessId());
    ::CreateDirectoryA(path_.c_str(), nullptr);
    ::SetCurrentDirectoryA(path_.c_str());
    ::CreateDirectoryA("Plugins", nullptr);
    for (const char* file : {"Plugins\\Velkaro.ini", "err.txt"}) ::DeleteFileA(file);
  }
  ~ScratchFolder() { ::SetCurrentDirectoryA(previous_.c_str()); }
  const std::string& path() const { return path_; }

 private:
  std::string previous_;
  std::string path_;
};

}  // namespace velkaro::wintest

#endif  // VELKARO_TESTS_WIN32_PLUGIN_HOST_H_
