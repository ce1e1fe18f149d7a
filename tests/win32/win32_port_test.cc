// The Win32 port's file and profile operations on real files under Wine:
// where a relative settings path lands, deny-none sharing, the replacement
// of a file that a viewer holds open, and the version record lookup.

#include <gtest/gtest.h>

#include "tests/win32/plugin_host.h"

// After <windows.h> and before the port's header: undoes the macros that
// would rename the port's ReplaceFile and profile operations.
// clang-format off
#include "port/win32_api.h"
#include "port/platform_win32.h"
// clang-format on

namespace velkaro::wintest {
namespace {

class Win32PortTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* file : {"log.cbr", "log.cbr.velkaro-new", "err.txt"}) {
      ::DeleteFileA(file);
    }
  }
  ScratchFolder folder_{"win32-port"};
  Win32Platform port_;
};

TEST_F(Win32PortTest, RelativeSettingsPathLandsInTheCurrentFolder) {
  port_.WriteProfileString("Settings", "Band", "40M", "Plugins\\Velkaro.ini");
  EXPECT_EQ(FileBytes("Plugins\\Velkaro.ini"), "[Settings]\r\nBand=40M\r\n");
  EXPECT_EQ(port_.GetProfileString("Settings", "band", "x", "Plugins\\Velkaro.ini"),
            "40M");
  EXPECT_EQ(port_.GetProfileString("Settings", "Gone", "x", "Plugins\\Velkaro.ini"), "x");
  // A bare name would go to the Windows folder; the port keeps it here.
  port_.WriteProfileString("Settings", "Key", "v", "bare.ini");
  EXPECT_EQ(FileBytes("bare.ini"), "[Settings]\r\nKey=v\r\n");
  char windows[MAX_PATH] = {};
  ::GetWindowsDirectoryA(windows, sizeof windows);
  EXPECT_FALSE(FileExists(std::string(windows) + "\\bare.ini"));
  ::DeleteFileA("bare.ini");
}

TEST_F(Win32PortTest, ReadsGiveAtMost99Bytes) {
  port_.WriteProfileString("Settings", "Long", std::string(150, 'q'),
                           "Plugins\\Velkaro.ini");
  EXPECT_EQ(port_.GetProfileString("Settings", "Long", "", "Plugins\\Velkaro.ini"),
            std::string(99, 'q'));
}

TEST_F(Win32PortTest, ErrorReportIsSharedWhileAReaderHoldsIt) {
  ASSERT_TRUE(port_.WriteToFile("err.txt", "header\r\n", /*truncate=*/true));
  HANDLE reader =
      ::CreateFileA("err.txt", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                    OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(reader, INVALID_HANDLE_VALUE);
  EXPECT_TRUE(port_.WriteToFile("err.txt", "line 1\r\n", /*truncate=*/false));
  EXPECT_TRUE(port_.WriteToFile("err.txt", "line 2\r\n", /*truncate=*/false));
  EXPECT_EQ(FileBytes("err.txt"), "header\r\nline 1\r\nline 2\r\n");
  EXPECT_TRUE(port_.WriteToFile("err.txt", "new\r\n", /*truncate=*/true));
  ::CloseHandle(reader);
  EXPECT_EQ(FileBytes("err.txt"), "new\r\n");
}

TEST_F(Win32PortTest, ReplaceFileLeavesNoTemporaryFile) {
  ASSERT_TRUE(port_.ReplaceFile("log.cbr", "first"));
  ASSERT_TRUE(port_.ReplaceFile("log.cbr", "second, longer"));
  EXPECT_EQ(FileBytes("log.cbr"), "second, longer");
  EXPECT_FALSE(FileExists("log.cbr.velkaro-new"));
  std::string read;
  EXPECT_TRUE(port_.ReadFile("log.cbr", &read));
  EXPECT_EQ(read, "second, longer");
  EXPECT_TRUE(port_.CanOpenForReading("log.cbr"));
  EXPECT_FALSE(port_.CanOpenForReading("missing.cbr"));
  EXPECT_FALSE(port_.ReadFile("missing.cbr", &read));
}

TEST_F(Win32PortTest, ReplaceFileRewritesInPlaceWhileAViewerHoldsIt) {
  ASSERT_TRUE(port_.ReplaceFile("log.cbr", "old contents of the log"));
  // A viewer that allows reading and writing but not deleting or renaming.
  HANDLE viewer =
      ::CreateFileA("log.cbr", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                    OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(viewer, INVALID_HANDLE_VALUE);
  EXPECT_TRUE(port_.ReplaceFile("log.cbr", "new"));
  EXPECT_EQ(FileBytes("log.cbr"), "new");
  EXPECT_FALSE(FileExists("log.cbr.velkaro-new"));
  ::CloseHandle(viewer);
}

TEST_F(Win32PortTest, ReplaceFileFailsWhenTheFileIsLockedAndLeavesIt) {
  ASSERT_TRUE(port_.ReplaceFile("log.cbr", "kept"));
  HANDLE locker =
      ::CreateFileA("log.cbr", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(locker, INVALID_HANDLE_VALUE);
  EXPECT_FALSE(port_.ReplaceFile("log.cbr", "lost"));
  EXPECT_FALSE(FileExists("log.cbr.velkaro-new"));
  ::CloseHandle(locker);
  EXPECT_EQ(FileBytes("log.cbr"), "kept");
}

TEST_F(Win32PortTest, FileVersionOfProgramsFoundByName) {
  char self[MAX_PATH] = {};
  ::GetModuleFileNameA(nullptr, self, sizeof self);
  std::string beside = self;
  beside = beside.substr(0, beside.find_last_of('\\') + 1) + VELKARO_VERSIONED_PROGRAM;
  EXPECT_EQ(port_.GetFileVersion(beside), (FileVersion{2, 20, 0, 0}));
  // A bare name is looked up like a library: here, the system folder.
  EXPECT_TRUE(port_.GetFileVersion("kernel32.dll").has_value());
  EXPECT_FALSE(port_.GetFileVersion("Zelvo9.exe").has_value());
  EXPECT_FALSE(port_.GetFileVersion(self).has_value());  // no version record
}

}  // namespace
}  // namespace velkaro::wintest
