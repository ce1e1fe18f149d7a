#include "tools/plugin_library.h"

#if defined(_WIN32)
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include <dlfcn.h>
#include <unistd.h>
#endif

#include <filesystem>

namespace velkaro::replay {

#if defined(_WIN32)

std::unique_ptr<PluginLibrary> PluginLibrary::Open(const std::string& path,
                                                   std::string* error) {
  HMODULE module = ::LoadLibraryA(path.c_str());
  if (module == nullptr) {
    *error = "LoadLibrary failed with error " + std::to_string(::GetLastError());
    return nullptr;
  }
  return std::unique_ptr<PluginLibrary>(new PluginLibrary(module));
}

PluginLibrary::~PluginLibrary() { ::FreeLibrary(static_cast<HMODULE>(handle_)); }

void* PluginLibrary::Find(const char* name) const {
  return reinterpret_cast<void*>(::GetProcAddress(static_cast<HMODULE>(handle_), name));
}

std::string ExecutableDirectory() {
  char path[MAX_PATH * 4];
  const DWORD length = ::GetModuleFileNameA(nullptr, path, sizeof path);
  if (length == 0 || length >= sizeof path) return "";
  return std::filesystem::path(std::string(path, length)).parent_path().string();
}

const char* PluginFileName() { return "Velkaro.dll"; }

#else

std::unique_ptr<PluginLibrary> PluginLibrary::Open(const std::string& path,
                                                   std::string* error) {
  void* handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) {
    const char* reason = ::dlerror();
    *error = reason ? reason : "dlopen failed";
    return nullptr;
  }
  return std::unique_ptr<PluginLibrary>(new PluginLibrary(handle));
}

PluginLibrary::~PluginLibrary() { ::dlclose(handle_); }

void* PluginLibrary::Find(const char* name) const { return ::dlsym(handle_, name); }

std::string ExecutableDirectory() {
  std::error_code error;
  const std::filesystem::path self =
      std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? "" : self.parent_path().string();
}

const char* PluginFileName() { return "libvelkaro.so"; }

#endif

}  // namespace velkaro::replay
