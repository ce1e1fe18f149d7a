// The portable port: plain files, an INI store of our own with the Windows
// profile semantics, and headless stand-ins for the message box, the header
// form (confirmed as shown), the mode-switch window (open until closed) and
// the host (never running). Serves the native build and the tests.

#ifndef VELKARO_PORT_PLATFORM_PORTABLE_H_
#define VELKARO_PORT_PLATFORM_PORTABLE_H_

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

#include "port/platform.h"

namespace velkaro {

// The plug-in's relative name ("Plugins\Velkaro.ini") as a path here.
std::string NativePath(const std::string& path);

class PortablePlatform : public Platform {
 public:
  PortablePlatform() = default;
  ~PortablePlatform() override;

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
  bool StartThread(void (*body)(void*), void* argument) override;
  bool ThreadRunning() override;
  void WaitForThreads() override;
  void RunModeWindow(ModeWindowEvents* events) override;
  void CloseWindow(void* window) override;
  std::unique_ptr<HostSession> OpenHostSession() override;
  void Sleep(int milliseconds) override;

 private:
  std::mutex threads_lock_;
  std::vector<std::thread> threads_;
  std::atomic<int> running_threads_{0};

  // The headless window: open until CloseWindow.
  std::mutex window_lock_;
  std::condition_variable window_closed_;
  bool close_window_ = false;
};

}  // namespace velkaro

#endif  // VELKARO_PORT_PLATFORM_PORTABLE_H_
