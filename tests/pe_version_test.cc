#include "port/pe_version.h"

#include <gtest/gtest.h>

#include "cabrillo/cabrillo_writer.h"
#include "test_support.h"

namespace velkaro {
namespace {

std::string Fixture(const char* name) {
  return testing::ReadBytes(std::string(VELKARO_FIXTURES) + "/" + name);
}

TEST(PeVersionTest, ReadsTheFixedFileVersion) {
  EXPECT_EQ(pe::ReadFixedFileVersion(Fixture("Zelvo2.exe")), (FileVersion{2, 20, 0, 0}));
  EXPECT_EQ(pe::ReadFixedFileVersion(Fixture("Zelvo3.exe")), (FileVersion{3, 1, 2, 7}));
  EXPECT_EQ(pe::ReadFixedFileVersion(Fixture("NoVersion.exe")), std::nullopt);
}

TEST(PeVersionTest, FilesThatAreNotPeOrAreCutShortGiveNoVersion) {
  const std::string exe = Fixture("Zelvo2.exe");
  ASSERT_GT(exe.size(), 1024u);
  EXPECT_EQ(pe::ReadFixedFileVersion(""), std::nullopt);
  EXPECT_EQ(pe::ReadFixedFileVersion("MZ"), std::nullopt);
  EXPECT_EQ(pe::ReadFixedFileVersion(std::string(4096, '\0')), std::nullopt);
  EXPECT_EQ(pe::ReadFixedFileVersion("#!/bin/sh\necho hello\n"), std::nullopt);
  // Every prefix: no crash, and a version only once the resource is whole.
  for (size_t length = 0; length < exe.size(); length += 97) {
    const auto version = pe::ReadFixedFileVersion(exe.substr(0, length));
    if (version) EXPECT_EQ(*version, (FileVersion{2, 20, 0, 0})) << length;
  }
  // Headers that end where the optional header would begin (found by fuzzing).
  std::string headers_only(88, '\0');
  headers_only.replace(0, 2, "MZ");
  headers_only[0x3C] = 0x40;
  headers_only.replace(0x40, 4, std::string("PE\0\0", 4));
  EXPECT_EQ(pe::ReadFixedFileVersion(headers_only), std::nullopt);
  // Corrupt single bytes of the headers.
  for (size_t at = 0; at < 1024; ++at) {
    std::string broken = exe;
    broken[at] = static_cast<char>(broken[at] ^ 0xFF);
    pe::ReadFixedFileVersion(broken);
  }
}

class HostVersionFileTest : public testing::ScratchDirTest {};

TEST_F(HostVersionFileTest, TheCabrilloLineShowsTheHostFileVersion) {
  PortablePlatform platform;
  EXPECT_EQ(HostVersionText(platform), "");
  testing::WriteBytes("Zelvo3.exe", Fixture("Zelvo3.exe"));
  EXPECT_EQ(HostVersionText(platform), "3.1.2");
  testing::WriteBytes("Zelvo2.exe", Fixture("Zelvo2.exe"));
  EXPECT_EQ(HostVersionText(platform), "2.20");
  testing::WriteBytes("Zelvo2.exe", "not an executable");
  EXPECT_EQ(HostVersionText(platform), "");  // Zelvo2.exe exists, so it is the one
}

}  // namespace
}  // namespace velkaro
