// The Win32 port's files, profile strings, version records and message
// boxes. The dialogs, the window thread and the host automation live in the
// win32_*.cc files beside this one.

#include "port/platform_win32.h"

#include <algorithm>
#include <atomic>

#include "port/win32_api.h"

namespace velkaro {
namespace win32 {
namespace {

std::atomic<HMODULE> resource_module{nullptr};
std::atomic<bool> process_exiting{false};

// A file handle closed at the end of its scope.
class ScopedHandle {
 public:
  explicit ScopedHandle(HANDLE handle) : handle_(handle) {}
  ~ScopedHandle() {
    if (valid()) ::CloseHandle(handle_);
  }
  ScopedHandle(const ScopedHandle&) = delete;
  ScopedHandle& operator=(const ScopedHandle&) = delete;
  bool valid() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
  HANDLE get() const { return handle_; }

 private:
  HANDLE handle_;
};

bool WriteAll(HANDLE file, std::string_view bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const DWORD chunk =
        static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1 << 20));
    DWORD written = 0;
    if (!::WriteFile(file, bytes.data() + done, chunk, &written, nullptr) ||
        written == 0) {
      return false;
    }
    done += written;
  }
  return true;
}

// Opens for writing with deny-none sharing, so a viewer may keep the file
// open; `disposition` is CREATE_ALWAYS (empty it) or OPEN_ALWAYS (append).
HANDLE OpenForWriting(const std::string& path, DWORD disposition) {
  return ::CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                       nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
}

HANDLE OpenForReading(const std::string& path) {
  return ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                       nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

bool WriteWholeFile(const std::string& path, std::span<const std::string_view> parts,
                    bool flush) {
  ScopedHandle file(OpenForWriting(path, CREATE_ALWAYS));
  if (!file.valid()) return false;
  for (std::string_view part : parts) {
    if (!WriteAll(file.get(), part)) return false;
  }
  return !flush || ::FlushFileBuffers(file.get());
}

HMODULE ModuleOfThisCode() {
  HMODULE module = nullptr;
  ::GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                           GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&ModuleOfThisCode), &module);
  return module;
}

}  // namespace

void SetProcessExiting() { process_exiting.store(true); }
bool ProcessExiting() { return process_exiting.load(); }

void SetResourceModule(void* module) {
  resource_module.store(static_cast<HMODULE>(module));
}

void* ResourceModule() {
  HMODULE module = resource_module.load();
  return module != nullptr ? module : ModuleOfThisCode();
}

std::string FullPath(const std::string& path) {
  char buffer[MAX_PATH];
  const DWORD length = ::GetFullPathNameA(path.c_str(), sizeof buffer, buffer, nullptr);
  if (length > 0 && length < sizeof buffer) return std::string(buffer, length);
  // Too long for the buffer: the ".\" prefix keeps it off the Windows
  // directory all the same.
  return ".\\" + path;
}

}  // namespace win32

Win32Platform::~Win32Platform() {
  WaitForThreads();
  if (window_settled_ != nullptr) ::CloseHandle(window_settled_);
}

std::string Win32Platform::GetProfileString(const std::string& section,
                                            const std::string& key,
                                            const std::string& default_value,
                                            const std::string& path) {
  char buffer[100];
  const DWORD length =
      ::GetPrivateProfileStringA(section.c_str(), key.c_str(), default_value.c_str(),
                                 buffer, sizeof buffer, win32::FullPath(path).c_str());
  return std::string(buffer, length);
}

void Win32Platform::WriteProfileString(const std::string& section, const std::string& key,
                                       const std::string& value,
                                       const std::string& path) {
  ::WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(),
                               win32::FullPath(path).c_str());
}

bool Win32Platform::WriteToFile(const std::string& path, const std::string& bytes,
                                bool truncate) {
  win32::ScopedHandle file(
      win32::OpenForWriting(path, truncate ? CREATE_ALWAYS : OPEN_ALWAYS));
  if (!file.valid()) return false;
  if (!truncate &&
      ::SetFilePointer(file.get(), 0, nullptr, FILE_END) == INVALID_SET_FILE_POINTER &&
      ::GetLastError() != NO_ERROR) {
    return false;
  }
  return win32::WriteAll(file.get(), bytes);
}

bool Win32Platform::ReplaceFileParts(const std::string& path,
                                     std::span<const std::string_view> parts) {
  const std::string temporary = path + ".velkaro-new";
  bool done = win32::WriteWholeFile(temporary, parts, /*flush=*/true) &&
              ::MoveFileExA(temporary.c_str(), path.c_str(),
                            MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
  if (!done) {
    // The replacement was refused, typically by a viewer that holds the file
    // open without delete sharing: rewriting in place beats losing the file.
    done = win32::WriteWholeFile(path, parts, /*flush=*/false);
  }
  ::DeleteFileA(temporary.c_str());
  return done;
}

bool Win32Platform::ReadFile(const std::string& path, std::string* bytes) {
  win32::ScopedHandle file(win32::OpenForReading(path));
  if (!file.valid()) return false;
  std::string data;
  char chunk[65536];
  for (;;) {
    DWORD got = 0;
    if (!::ReadFile(file.get(), chunk, sizeof chunk, &got, nullptr)) return false;
    if (got == 0) break;
    data.append(chunk, got);
  }
  bytes->swap(data);
  return true;
}

bool Win32Platform::CanOpenForReading(const std::string& path) {
  win32::ScopedHandle file(win32::OpenForReading(path));
  return file.valid();
}

std::optional<FileVersion> Win32Platform::GetFileVersion(const std::string& path) {
  DWORD ignored = 0;
  const DWORD size = ::GetFileVersionInfoSizeA(path.c_str(), &ignored);
  if (size == 0) return std::nullopt;
  std::vector<char> record(size);
  if (!::GetFileVersionInfoA(path.c_str(), 0, size, record.data())) return std::nullopt;
  void* fixed = nullptr;
  UINT fixed_size = 0;
  if (!::VerQueryValueA(record.data(), "\\", &fixed, &fixed_size) || fixed == nullptr ||
      fixed_size < sizeof(VS_FIXEDFILEINFO)) {
    return std::nullopt;
  }
  const auto* info = static_cast<const VS_FIXEDFILEINFO*>(fixed);
  return FileVersion{HIWORD(info->dwFileVersionMS), LOWORD(info->dwFileVersionMS),
                     HIWORD(info->dwFileVersionLS), LOWORD(info->dwFileVersionLS)};
}

void Win32Platform::ShowMessage(const std::string& text) {
  ::MessageBoxA(nullptr, text.c_str(), nullptr, MB_OK);
}

void Win32Platform::ShowError(const std::string& text) {
  ::MessageBoxA(nullptr, text.c_str(), nullptr, MB_OK | MB_ICONEXCLAMATION);
}

void Win32Platform::Sleep(int milliseconds) {
  ::Sleep(static_cast<DWORD>(milliseconds < 0 ? 0 : milliseconds));
}

}  // namespace velkaro
