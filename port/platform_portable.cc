#include "port/platform_portable.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <system_error>

#include "port/ini_text.h"
#include "port/pe_version.h"

namespace velkaro {
namespace {

namespace fs = std::filesystem;

bool WriteAll(const std::string& path, std::span<const std::string_view> parts,
              const char* mode) {
  std::FILE* file = std::fopen(path.c_str(), mode);
  if (file == nullptr) return false;
  bool written = true;
  for (std::string_view part : parts) {
    written = written && (part.empty() ||
                          std::fwrite(part.data(), 1, part.size(), file) == part.size());
  }
  const bool closed = std::fclose(file) == 0;
  return written && closed;
}

bool WriteAll(const std::string& path, const std::string& bytes, const char* mode) {
  const std::string_view whole = bytes;
  return WriteAll(path, {&whole, 1}, mode);
}

bool ReadAll(const std::string& path, std::string* bytes) {
  // Only regular files: opening a FIFO would wait for a writer, and a device
  // such as /dev/zero never ends.
  std::error_code error;
  if (!fs::is_regular_file(path, error)) return false;
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return false;
  std::string data;
  char chunk[65536];
  size_t got;
  while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) data.append(chunk, got);
  const bool ok = !std::ferror(file);
  std::fclose(file);
  if (ok) bytes->swap(data);
  return ok;
}

class NoHost final : public HostSession {
 public:
  bool Connected() const override { return false; }
  bool Send(const std::string&, std::string* error) override {
    *error = "The host is not running.";
    return false;
  }
};

}  // namespace

std::string NativePath(const std::string& path) {
  std::string native = path;
  for (char& c : native) {
    if (c == '\\') c = '/';
  }
  return native;
}

PortablePlatform::~PortablePlatform() { WaitForThreads(); }

std::string PortablePlatform::GetProfileString(const std::string& section,
                                               const std::string& key,
                                               const std::string& default_value,
                                               const std::string& path) {
  std::string file;
  std::optional<std::string> value;
  if (ReadAll(NativePath(path), &file)) value = ini::FindValue(file, section, key);
  return ini::ProfileRead(value, default_value);
}

void PortablePlatform::WriteProfileString(const std::string& section,
                                          const std::string& key,
                                          const std::string& value,
                                          const std::string& path) {
  std::string file;
  ReadAll(NativePath(path), &file);  // a missing file is created
  ReplaceFile(path, ini::SetValue(file, section, key, value));
}

bool PortablePlatform::WriteToFile(const std::string& path, const std::string& bytes,
                                   bool truncate) {
  return WriteAll(NativePath(path), bytes, truncate ? "wb" : "ab");
}

bool PortablePlatform::ReplaceFileParts(const std::string& path,
                                        std::span<const std::string_view> parts) {
  // Only C calls once the temporary file exists: nothing in between may run
  // out of memory and leave it behind.
  const std::string target = NativePath(path);
  const std::string temporary = target + ".velkaro-new";
  if (!WriteAll(temporary, parts, "wb")) {
    std::remove(temporary.c_str());
    return false;
  }
  if (std::rename(temporary.c_str(), target.c_str()) == 0) return true;
  // The replacement was refused: rewriting in place beats losing the file.
  const bool written = WriteAll(target, parts, "wb");
  std::remove(temporary.c_str());
  return written;
}

bool PortablePlatform::ReadFile(const std::string& path, std::string* bytes) {
  return ReadAll(NativePath(path), bytes);
}

bool PortablePlatform::CanOpenForReading(const std::string& path) {
  std::error_code error;
  if (!fs::is_regular_file(NativePath(path), error)) return false;  // see ReadAll
  std::FILE* file = std::fopen(NativePath(path).c_str(), "rb");
  if (file == nullptr) return false;
  std::fclose(file);
  return true;
}

std::optional<FileVersion> PortablePlatform::GetFileVersion(const std::string& path) {
  // Like a library looked up by bare name: beside the running program first,
  // then in the current directory.
  std::vector<std::string> candidates;
  std::error_code error;
  const fs::path program = fs::read_symlink("/proc/self/exe", error);
  if (!error) candidates.push_back((program.parent_path() / NativePath(path)).string());
  candidates.push_back(NativePath(path));
  for (const std::string& candidate : candidates) {
    std::string bytes;
    if (!ReadAll(candidate, &bytes)) continue;
    return pe::ReadFixedFileVersion(bytes);
  }
  return std::nullopt;
}

void PortablePlatform::ShowMessage(const std::string& text) { std::cerr << text << '\n'; }

void PortablePlatform::ShowError(const std::string& text) { std::cerr << text << '\n'; }

FormResult PortablePlatform::ShowHeaderForm(HeaderFormFields*) {
  return FormResult::kOk;  // an operator who confirms without editing
}

bool PortablePlatform::StartThread(void (*body)(void*), void* argument) {
  std::lock_guard<std::mutex> hold(threads_lock_);
  ++running_threads_;
  try {
    threads_.emplace_back([this, body, argument] {
      body(argument);
      --running_threads_;
    });
  } catch (...) {
    --running_threads_;
    return false;
  }
  return true;
}

bool PortablePlatform::ThreadRunning() { return running_threads_.load() > 0; }

void PortablePlatform::WaitForThreads() {
  std::vector<std::thread> threads;
  {
    std::lock_guard<std::mutex> hold(threads_lock_);
    threads.swap(threads_);
  }
  for (std::thread& thread : threads) {
    if (thread.joinable() && thread.get_id() != std::this_thread::get_id())
      thread.join();
    else if (thread.joinable())
      thread.detach();
  }
}

void PortablePlatform::RunModeWindow(ModeWindowEvents* events) {
  {
    std::lock_guard<std::mutex> hold(window_lock_);
    close_window_ = false;
  }
  if (!events->Opened(this)) return;
  int left = 0;
  int top = 0;
  events->InitialPosition(&left, &top);
  std::unique_lock<std::mutex> hold(window_lock_);
  window_closed_.wait(hold, [this] { return close_window_; });
}

void PortablePlatform::CloseWindow(void*) {
  std::lock_guard<std::mutex> hold(window_lock_);
  close_window_ = true;
  window_closed_.notify_all();
}

std::unique_ptr<HostSession> PortablePlatform::OpenHostSession() {
  return std::make_unique<NoHost>();
}

void PortablePlatform::Sleep(int milliseconds) {
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

}  // namespace velkaro
