// The Win32 port: the Windows profile API for the settings file, Win32 files,
// the version API, message boxes, the two dialogs of the DLL's resources, the
// window thread and the host's COM automation object. Serves Velkaro.dll.
//
// Resources (dialogs 101 and 107, icon 110) come from the module named by
// SetResourceModule, by default the module this code is linked into.

#ifndef VELKARO_PORT_PLATFORM_WIN32_H_
#define VELKARO_PORT_PLATFORM_WIN32_H_

#include <mutex>
#include <vector>

#include "port/platform.h"

namespace velkaro {

namespace win32 {

// The module whose resources the dialogs use (the DLL's HINSTANCE, kept by
// DllMain). `module` is an HMODULE.
void SetResourceModule(void* module);
void* ResourceModule();

// A relative path resolved against the current directory, as the profile API
// needs it: it would put a bare name into the Windows directory.
std::string FullPath(const std::string& path);

// The process is ending (DLL_PROCESS_DETACH from ExitProcess): the other
// threads are gone, possibly killed holding locks, so the port no longer
// talks to the window or waits for its thread.
void SetProcessExiting();
bool ProcessExiting();

struct ThreadSlot;  // lives in memory that outlives the library

}  // namespace win32

class Win32Platform final : public Platform {
 public:
  Win32Platform() = default;
  ~Win32Platform() override;
  Win32Platform(const Win32Platform&) = delete;
  Win32Platform& operator=(const Win32Platform&) = delete;

  std::string GetProfileString(const std::string& section, const std::string& key,
                               const std::string& default_value,
                               const std::string& path) override;
  void WriteProfileString(const std::string& section, const std::string& key,
                          const std::string& value, const std::string& path) override;
  bool WriteToFile(const std::string& path, const std::string& bytes,
                   bool truncate) override;
  bool ReplaceFileParts(const std::string& path,
                        std::span<const std::string_view> parts) override;
  bool ReadFile(const std::string& path, std::string* bytes) override;
  bool CanOpenForReading(const std::string& path) override;
  std::optional<FileVersion> GetFileVersion(const std::string& path) override;
  void ShowMessage(const std::string& text) override;
  void ShowError(const std::string& text) override;
  FormResult ShowHeaderForm(HeaderFormFields* fields) override;
  // Threads start in a small routine outside the library (see
  // win32_threads.cc), so that unloading never leaves a thread to run code
  // that is gone. StartThread returns once the new thread's window is up
  // (or the thread ended, or 10 s passed): while a window is being created
  // its thread needs the loader lock, which an unload holds while it waits
  // for the window to close.
  bool StartThread(void (*body)(void*), void* argument) override;
  bool ThreadRunning() override;
  void WaitForThreads() override;
  void RunModeWindow(ModeWindowEvents* events) override;
  void CloseWindow(void* window) override;
  std::unique_ptr<HostSession> OpenHostSession() override;
  void Sleep(int milliseconds) override;

  // Called on the window's thread once its window is up and painted, or once
  // it runs no window; releases StartThread.
  void WindowSettled();

 private:
  struct StartedThread {
    void* handle;  // HANDLE
    win32::ThreadSlot* slot;
  };
  // Creates the thread in a free slot; its handle and slot stay owned here.
  bool LaunchThread(void (*body)(void*), void* argument, void** thread,
                    win32::ThreadSlot** slot);
  // Closes the handles of threads that have ended and frees their slots.
  // REQUIRES: threads_lock_ held.
  void ForgetEndedThreads();

  std::mutex threads_lock_;
  std::vector<StartedThread> threads_;
  void* window_settled_ = nullptr;  // manual-reset event (HANDLE)
};

}  // namespace velkaro

#endif  // VELKARO_PORT_PLATFORM_WIN32_H_
