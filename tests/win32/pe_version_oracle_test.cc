// The portable PE version reader (port/pe_version.h) against the platform's
// version API on real executables: a program built here with version
// 2.20.0.0, the DLL itself, Wine's own programs and libraries, and a program
// without a version record.

#include <gtest/gtest.h>

#include <optional>

#include "port/pe_version.h"
#include "tests/win32/plugin_host.h"

namespace velkaro::wintest {
namespace {

std::optional<FileVersion> PlatformVersion(const std::string& path) {
  DWORD ignored = 0;
  const DWORD size = ::GetFileVersionInfoSizeA(path.c_str(), &ignored);
  if (size == 0) return std::nullopt;
  std::vector<char> record(size);
  if (!::GetFileVersionInfoA(path.c_str(), 0, size, record.data())) return std::nullopt;
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  if (!::VerQueryValueA(record.data(), "\\", reinterpret_cast<void**>(&fixed), &length) ||
      fixed == nullptr) {
    return std::nullopt;
  }
  return FileVersion{HIWORD(fixed->dwFileVersionMS), LOWORD(fixed->dwFileVersionMS),
                     HIWORD(fixed->dwFileVersionLS), LOWORD(fixed->dwFileVersionLS)};
}

std::string Beside(const char* name) {
  char self[MAX_PATH] = {};
  ::GetModuleFileNameA(nullptr, self, sizeof self);
  std::string path = self;
  return path.substr(0, path.find_last_of('\\') + 1) + name;
}

std::string SystemFile(const char* name) {
  char folder[MAX_PATH] = {};
  ::GetSystemDirectoryA(folder, sizeof folder);
  return std::string(folder) + "\\" + name;
}

TEST(PeVersionOracleTest, AgreesWithGetFileVersionInfo) {
  char self[MAX_PATH] = {};
  ::GetModuleFileNameA(nullptr, self, sizeof self);
  const std::string files[] = {
      Beside(VELKARO_VERSIONED_PROGRAM),
      PluginPath(),
      SystemFile("notepad.exe"),
      SystemFile("kernel32.dll"),
      SystemFile("user32.dll"),
      SystemFile("oleaut32.dll"),
      self,
  };
  int with_version = 0;
  for (const std::string& file : files) {
    const std::string bytes = FileBytes(file);
    ASSERT_FALSE(bytes.empty()) << file;
    const std::optional<FileVersion> platform = PlatformVersion(file);
    EXPECT_EQ(pe::ReadFixedFileVersion(bytes), platform) << file;
    if (platform) ++with_version;
  }
  // All but this test program and Wine's notepad.exe, which has none.
  EXPECT_EQ(with_version, 5);
  EXPECT_EQ(PlatformVersion(Beside(VELKARO_VERSIONED_PROGRAM)),
            (FileVersion{2, 20, 0, 0}));
}

}  // namespace
}  // namespace velkaro::wintest
