// The portable settings store (port/ini_text.h) against Wine's profile API:
// the same sequence of writes must leave the same bytes on disk, and the
// same reads must give the same values.

#include <gtest/gtest.h>

#include <optional>

#include "port/ini_text.h"
#include "tests/win32/plugin_host.h"

namespace velkaro::wintest {
namespace {

constexpr char kFile[] = ".\\oracle.ini";

struct Write {
  const char* section;
  const char* key;
  std::string value;
};

class IniOracleTest : public ::testing::Test {
 protected:
  void SetUp() override { ::DeleteFileA(kFile); }
  void TearDown() override { ::DeleteFileA(kFile); }
  ScratchFolder folder_{"ini-oracle"};
};

TEST_F(IniOracleTest, SameWritesGiveTheSameBytes) {
  const std::string long_value(150, 'x');
  const Write writes[] = {
      {"Settings", "Band", "40M"},     // fresh file
      {"Settings", "Power", "MIXED"},  // new key, appended
      {"Settings", "Operators", "UA1AAA UA1BBB"},
      {"Settings", "Band", "80M"},               // replaced in place
      {"Settings", "power", "CW"},               // other case: same key
      {"Other", "Key", "value"},                 // second section
      {"Settings", "Name", "\xC8\xE2\xE0\xED"},  // Windows-1251 bytes
      {"Settings", "SoapBox", "a<CR><LF>b"},
      {"Settings", "Long", long_value},
      {"Other", "Key", ""},  // empty value
      {"Settings", "Claimed", "123"},
  };
  std::string expected;
  for (const Write& w : writes) {
    ASSERT_TRUE(::WritePrivateProfileStringA(w.section, w.key, w.value.c_str(), kFile))
        << w.key;
    expected = ini::SetValue(expected, w.section, w.key, w.value);
    EXPECT_EQ(FileBytes(kFile), expected)
        << "after writing " << w.section << "/" << w.key;
  }
}

TEST_F(IniOracleTest, SameReadsGiveTheSameValues) {
  const std::string file =
      "[Settings]\r\n"
      "Band=40M\r\n"
      "Empty=\r\n"
      "  Spaced  =  padded value  \r\n"
      "Quoted=\"in quotes\"\r\n"
      "Long=" +
      std::string(120, 'y') +
      "\r\n"
      "Exactly99=" +
      std::string(99, 'z') +
      "\r\n"
      "MixedCase=one\r\n"
      "[Other]\r\n"
      "Band=20M\r\n";
  HANDLE out = ::CreateFileA(kFile, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  ::WriteFile(out, file.data(), static_cast<DWORD>(file.size()), &written, nullptr);
  ::CloseHandle(out);

  struct Read {
    const char* section;
    const char* key;
    const char* fallback;
  };
  const Read reads[] = {
      {"Settings", "Band", "d"},         {"settings", "BAND", "d"},
      {"Settings", "Empty", "d"},        {"Settings", "Missing", "default"},
      {"Settings", "Spaced", "d"},       {"Settings", "Quoted", "d"},
      {"Settings", "Long", "d"},         {"Settings", "Exactly99", "d"},
      {"Settings", "mixedcase", "d"},    {"Other", "Band", "d"},
      {"Nowhere", "Band", "fallback  "},
  };
  for (const Read& r : reads) {
    char buffer[100] = {};
    const DWORD length = ::GetPrivateProfileStringA(r.section, r.key, r.fallback, buffer,
                                                    sizeof buffer, kFile);
    const std::string windows(buffer, length);
    const std::string portable =
        ini::ProfileRead(ini::FindValue(file, r.section, r.key), r.fallback);
    EXPECT_EQ(portable, windows) << r.section << "/" << r.key;
  }
}

}  // namespace
}  // namespace velkaro::wintest
