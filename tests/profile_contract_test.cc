// The behaviour of profile strings that the plug-in relies on, checked
// against whichever port is compiled in: the portable INI store natively, the
// Windows profile API under Wine.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "port/platform.h"

namespace velkaro {
namespace {

namespace fs = std::filesystem;

class ProfileContractTest : public ::testing::Test {
 protected:
  void SetUp() override {
    previous_ = fs::current_path();
    std::random_device seed;
    dir_ = fs::temp_directory_path() / ("velkaro-profile-" + std::to_string(seed()));
    fs::create_directories(dir_ / "Plugins");
    fs::current_path(dir_);
  }
  void TearDown() override {
    fs::current_path(previous_);
    std::error_code ignored;
    fs::remove_all(dir_, ignored);
  }
  std::string Read(const std::string& key, const std::string& fallback = "<default>",
                   const std::string& section = "Settings") {
    return platform_.GetProfileString(section, key, fallback, kPath);
  }
  void Write(const std::string& key, const std::string& value,
             const std::string& section = "Settings") {
    platform_.WriteProfileString(section, key, value, kPath);
  }
  std::string File() {
    std::ifstream in(dir_ / "Plugins" / "Velkaro.ini", std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
  }
  void Put(const std::string& bytes) {
    std::ofstream out(dir_ / "Plugins" / "Velkaro.ini", std::ios::binary);
    out << bytes;
  }

  static constexpr char kPath[] = "Plugins\\Velkaro.ini";
  Platform& platform_ = DefaultPlatform();
  fs::path previous_;
  fs::path dir_;
};

TEST_F(ProfileContractTest, MissingFileSectionOrKeyGiveTheDefault) {
  EXPECT_EQ(Read("Name"), "<default>");
  Put("[Other]\r\nName=x\r\n");
  EXPECT_EQ(Read("Name"), "<default>");
  Put("[Settings]\r\nClub=x\r\n");
  EXPECT_EQ(Read("Name"), "<default>");
  EXPECT_EQ(Read("Name", ""), "");
}

TEST_F(ProfileContractTest, PresentEmptyValueIsEmptyNotTheDefault) {
  Put("[Settings]\r\nOperators=\r\n");
  EXPECT_EQ(Read("Operators", "N0CALL"), "");
}

TEST_F(ProfileContractTest, WritesCreateReplaceInPlaceAndAppendAtTheSectionEnd) {
  Write("Band", "40M");
  EXPECT_EQ(File(), "[Settings]\r\nBand=40M\r\n");
  Write("Power", "MIXED");
  Write("band", "80M");  // keys match without regard to case
  EXPECT_EQ(Read("BAND"), "80M");
  Write("Name", "Ivan", "Other");
  Write("Club", "RCC");
  const std::string file = File();
  EXPECT_NE(file.find("Power=MIXED\r\nClub=RCC\r\n"), std::string::npos) << file;
  EXPECT_LT(file.find("Club=RCC"), file.find("[Other]")) << file;
  EXPECT_EQ(Read("Name", "", "Other"), "Ivan");
  EXPECT_EQ(Read("Name"), "<default>");
}

TEST_F(ProfileContractTest, OtherLinesAreKeptAndLfFilesRead) {
  Put("; comment\n[settings]\nClub=RCC\n[Other]\nX=1\n");
  EXPECT_EQ(Read("club"), "RCC");
  Write("Claimed", "5");
  const std::string file = File();
  EXPECT_NE(file.find("; comment"), std::string::npos) << file;
  EXPECT_NE(file.find("X=1"), std::string::npos) << file;
  EXPECT_LT(file.find("Claimed=5"), file.find("[Other]")) << file;
  EXPECT_EQ(Read("X", "", "Other"), "1");
}

TEST_F(ProfileContractTest, LongValuesComeBackCutTo99Bytes) {
  const std::string value(150, 'v');
  Write("SoapBox", value);
  EXPECT_NE(File().find(value), std::string::npos);
  EXPECT_EQ(Read("SoapBox"), value.substr(0, 99));
}

TEST_F(ProfileContractTest, Windows1251BytesSurvive) {
  const std::string contest = "\xC4\xC5\xCD\xDC \xC2\xC5\xCB\xCA\xC0\xD0\xCE";
  Write("Contest", contest);
  EXPECT_EQ(Read("Contest"), contest);
  EXPECT_EQ(File(), "[Settings]\r\nContest=" + contest + "\r\n");
}

TEST_F(ProfileContractTest, MissingFolderIsNotCreated) {
  fs::remove_all(dir_ / "Plugins");
  Write("Start", "1");
  EXPECT_FALSE(fs::exists(dir_ / "Plugins"));
  EXPECT_EQ(Read("Start"), "<default>");
}

}  // namespace
}  // namespace velkaro
