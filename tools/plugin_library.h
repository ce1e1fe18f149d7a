// Loading the plug-in library by path and finding its entry points: the
// replay host's only platform-specific code (dlopen here, LoadLibraryA on
// Windows).

#ifndef VELKARO_TOOLS_PLUGIN_LIBRARY_H_
#define VELKARO_TOOLS_PLUGIN_LIBRARY_H_

#include <memory>
#include <string>

namespace velkaro::replay {

class PluginLibrary {
 public:
  // Loads the library; null with a description in *error when it cannot.
  static std::unique_ptr<PluginLibrary> Open(const std::string& path, std::string* error);
  // Unloads the library: the plug-in's exit code runs here.
  ~PluginLibrary();

  PluginLibrary(const PluginLibrary&) = delete;
  PluginLibrary& operator=(const PluginLibrary&) = delete;

  // The address of an exported name, or null.
  void* Find(const char* name) const;

 private:
  explicit PluginLibrary(void* handle) : handle_(handle) {}
  void* handle_;
};

// The directory that holds the running executable ("" when unknown).
std::string ExecutableDirectory();

// The file name of the plug-in library on this platform.
const char* PluginFileName();

}  // namespace velkaro::replay

#endif  // VELKARO_TOOLS_PLUGIN_LIBRARY_H_
