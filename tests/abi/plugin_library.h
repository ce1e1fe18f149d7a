// Loads the plug-in library named by VELKARO_PLUGIN and looks up its entry
// points by their plain names, as the host does.

#ifndef VELKARO_TESTS_ABI_PLUGIN_LIBRARY_H_
#define VELKARO_TESTS_ABI_PLUGIN_LIBRARY_H_

#include <cstdlib>
#include <string>

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace velkaro::testing {

class PluginLibrary {
 public:
  explicit PluginLibrary(const std::string& path) {
#if defined(_WIN32)
    handle_ = ::LoadLibraryA(path.c_str());
#else
    handle_ = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
#endif
  }
  ~PluginLibrary() { Unload(); }
  PluginLibrary(const PluginLibrary&) = delete;
  PluginLibrary& operator=(const PluginLibrary&) = delete;

  bool loaded() const { return handle_ != nullptr; }

  template <typename Function>
  Function* Find(const char* name) const {
    if (handle_ == nullptr) return nullptr;
#if defined(_WIN32)
    return reinterpret_cast<Function*>(
        reinterpret_cast<void*>(::GetProcAddress(static_cast<HMODULE>(handle_), name)));
#else
    return reinterpret_cast<Function*>(::dlsym(handle_, name));
#endif
  }

  void Unload() {
    if (handle_ == nullptr) return;
#if defined(_WIN32)
    ::FreeLibrary(static_cast<HMODULE>(handle_));
#else
    ::dlclose(handle_);
#endif
    handle_ = nullptr;
  }

  // The path from VELKARO_PLUGIN, or `fallback`.
  static std::string PathFromEnvironment(const std::string& fallback) {
    const char* path = std::getenv("VELKARO_PLUGIN");
    return path && *path ? path : fallback;
  }

 private:
  void* handle_ = nullptr;
};

}  // namespace velkaro::testing

#endif  // VELKARO_TESTS_ABI_PLUGIN_LIBRARY_H_
