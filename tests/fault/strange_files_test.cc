// The entry points, linked statically, among missing, unwritable and strange
// files: no Plugins folder, a read-only current directory, directories or
// FIFOs where the plug-in's files belong, a file name the file system refuses, a
// special-station list of a million lines or with NUL bytes, settings files
// of megabytes or with their section twice. The plug-in must give the same
// answers as with ordinary files (as far as the files allow), leave what it
// cannot write as it was, and report nothing to the host.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "host_calls.h"
#include "log/qso_checks.h"
#include "plugin/plugin_state.h"
#include "plugin/settings.h"
#include "recording_platform.h"
#include "tmpfs_mount.h"

namespace velkaro::testing {
namespace {

namespace fs = std::filesystem;

const char kStationList[] = "1 R9XYZ Special one\r\n2 RK1B/9 another\r\n";
const char kNotice[] = " - \xC2\xE5\xEB\xEA\xE0\xF0\xED\xE0\xF2\xEE\xF0 !";

std::string CheckCallAnswer(const std::string& call, const std::string& mode = "CW") {
  char exchange[kExchangeBufferSize] = "#";
  char notice[kNoticeBufferSize] = "#";
  const int result = HostCheckCall(call, mode, "40m", exchange, notice);
  return std::to_string(result) + " " + notice + " " + exchange;
}

// A short contest through the entry points; every answer as text.
std::vector<std::string> HostContest(const std::string& own_call = "N0CALL") {
  std::vector<std::string> answers;
  answers.push_back("reset " + std::to_string(HostReset(1, own_call)));
  answers.push_back("special " + CheckCallAnswer("R9XYZ", "SSB"));
  answers.push_back("add " + std::to_string(HostAdd(own_call, {.call = "UA3AAA"})));
  answers.push_back("dupe " + std::to_string(HostAdd(own_call, {.call = "UA3AAA"})));
  answers.push_back("pw " +
                    std::to_string(HostAdd(
                        own_call, {.call = "R9XYZ", .mode = "SSB", .nr_rcvd = "PW"})));
  answers.push_back("rejected " +
                    std::to_string(HostAdd(own_call, {.call = "UA3BBB", .mode = "cw"})));
  answers.push_back("check " + CheckCallAnswer("UA3AAA"));
  int points = 0;
  answers.push_back(std::string("result ") + GetResult0(&points) +
                    std::to_string(points));
  answers.push_back("remove " + std::to_string(HostRemove(own_call, {.call = "UA3AAA"})));
  answers.push_back(std::string("result ") + GetResult0(&points) +
                    std::to_string(points));
  return answers;
}

std::vector<fs::path> TemporaryFiles(const fs::path& folder) {
  std::vector<fs::path> found;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    if (entry.path().string().find(".velkaro-new") != std::string::npos) {
      found.push_back(entry.path());
    }
  }
  return found;
}

class StrangeFilesTest : public ScratchDirTest {
 protected:
  void SetUp() override {
    ScratchDirTest::SetUp();
    platform().messages.clear();
    platform().errors.clear();
    platform().form_result = FormResult::kOk;
  }
  void TearDown() override {
    EXPECT_TRUE(platform().messages.empty()) << platform().messages.front();
    EXPECT_TRUE(platform().errors.empty());
    platform().form_result = FormResult::kOk;
    fs::current_path(dir());
    ScratchDirTest::TearDown();
  }
  static RecordingPlatform& platform() { return TheRecordingPlatform(); }

  // The contest in a fresh folder laid out by `prepare`.
  template <typename Prepare>
  std::vector<std::string> ContestIn(const std::string& name, Prepare prepare) {
    const fs::path folder = dir() / name;
    fs::create_directories(folder);
    fs::current_path(folder);
    prepare();
    std::vector<std::string> answers = HostContest();
    EXPECT_TRUE(TemporaryFiles(folder).empty()) << name;
    return answers;
  }
};

TEST_F(StrangeFilesTest, NoPluginsFolder) {
  const auto plain = ContestIn("plain", [] { fs::create_directory("Plugins"); });
  const auto answers = ContestIn("bare", [] {});
  EXPECT_EQ(answers, plain);
  // The Cabrillo file lies in the current directory and is written anyway.
  EXPECT_NE(ReadBytes("N0CALL.cbr").find("END-OF-LOG:"), std::string::npos);
  EXPECT_FALSE(fs::exists("Plugins/Velkaro.ini"));
}

TEST_F(StrangeFilesTest, DirectoriesWhereFilesBelong) {
  const auto no_list = ContestIn("plain", [] { fs::create_directory("Plugins"); });
  int run = 0;
  for (const char* path :
       {"err.txt", "Plugins/Velkaro.ini", "N0CALL.cbr", "Plugins/velkar.dat"}) {
    SCOPED_TRACE(path);
    const auto answers = ContestIn("run-" + std::to_string(run++), [path] {
      fs::create_directories(path);
      WriteBytes(fs::path(path) / "inside", "kept");
    });
    EXPECT_EQ(answers, no_list);
    EXPECT_TRUE(fs::is_directory(path));
    EXPECT_EQ(ReadBytes(fs::path(path) / "inside"), "kept");
  }
}

// A FIFO where a file is read would block an open until some writer came;
// the plug-in must treat it as missing and carry on.
TEST_F(StrangeFilesTest, FifosWhereFilesAreRead) {
  const auto no_list = ContestIn("plain", [] { fs::create_directory("Plugins"); });
  int run = 0;
  for (const char* path : {"Plugins/velkar.dat", "Plugins/Velkaro.ini", "Zelvo2.exe"}) {
    SCOPED_TRACE(path);
    const auto answers = ContestIn("fifo-" + std::to_string(run++), [path] {
      fs::create_directory("Plugins");
      ASSERT_EQ(::mkfifo(path, 0644), 0) << std::strerror(errno);
    });
    EXPECT_EQ(answers, no_list);
  }
}

TEST_F(StrangeFilesTest, CabrilloNameTheFileSystemRefuses) {
  const std::string own_call(300, 'A');
  fs::create_directory("Plugins");
  const std::vector<std::string> answers = HostContest(own_call);
  EXPECT_EQ(answers.front(), "reset 1");
  EXPECT_NE(answers.back().find("Total\t 2\t 3\t 0\t 1\t 0"), std::string::npos)
      << answers.back();
  EXPECT_TRUE(TemporaryFiles(dir()).empty());
}

TEST_F(StrangeFilesTest, ReadOnlyCurrentDirectory) {
  const fs::path folder = dir() / "ro";
  TmpfsMount disk(folder, 256);
  if (!disk.mounted()) {
    if (::geteuid() == 0) GTEST_SKIP() << "cannot mount a tmpfs: " << disk.why_not();
    fs::create_directories(folder);  // an unprivileged user: permissions will do
  }
  fs::create_directories(folder / "Plugins");
  WriteBytes(folder / "Plugins" / "velkar.dat", kStationList);
  WriteBytes(folder / "Plugins" / "Velkaro.ini", "[Settings]\r\nClaimed=5\r\n");
  WriteBytes(folder / "N0CALL.cbr", "old log\r\n");
  WriteBytes(folder / "err.txt", "old report\r\n");
  if (disk.mounted()) {
    ASSERT_TRUE(disk.MakeReadOnly());
  } else {
    fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
    fs::permissions(folder / "Plugins", fs::perms::owner_read | fs::perms::owner_exec);
  }
  fs::current_path(folder);

  const std::vector<std::string> answers = HostContest();
  EXPECT_EQ(answers[1], "special 2 R9XYZ" + std::string(kNotice) + " PW");
  EXPECT_NE(answers[7].find("Total\t 3\t 4\t 1\t 1\t 0"), std::string::npos)
      << answers[7];
  EXPECT_EQ(ReadBytes("Plugins/Velkaro.ini"), "[Settings]\r\nClaimed=5\r\n");
  EXPECT_EQ(ReadBytes("N0CALL.cbr"), "old log\r\n");
  EXPECT_EQ(ReadBytes("err.txt"), "old report\r\n");
  EXPECT_EQ(std::distance(fs::directory_iterator("."), fs::directory_iterator()), 3);
  fs::current_path(dir());
  if (!disk.mounted()) {
    fs::permissions(folder, fs::perms::owner_all);
    fs::permissions(folder / "Plugins", fs::perms::owner_all);
  }
}

TEST_F(StrangeFilesTest, MillionLineStationList) {
  fs::create_directory("Plugins");
  {
    std::string list;
    list.reserve(30'000'000);
    for (int i = 0; i < 1'000'000; ++i) {
      list += std::to_string(i) + " RA" + std::to_string(i) + " remark\r\n";
    }
    WriteBytes("Plugins/velkar.dat", list);
  }
  ASSERT_EQ(HostReset(0, "N0CALL"), 1);
  EXPECT_EQ(TheState().SpecialStations.size(), 1'000'000u);
  EXPECT_EQ(CheckCallAnswer("RA999999"),
            "2 " + ("RA999999" + std::string(kNotice)).substr(0, 22) + " PW");
  EXPECT_EQ(CheckCallAnswer("RA0"), "2 RA0" + std::string(kNotice) + " PW");
  EXPECT_EQ(CheckCallAnswer("UA1AAA"), "1 # #");
}

TEST_F(StrangeFilesTest, StationListWithNulBytes) {
  fs::create_directory("Plugins");
  const char bytes[] = "1 R9\0XYZ a\r\n2 UA1AAA b\r\n\0\0\0\r\n3 RK1B c\r\n";
  WriteBytes("Plugins/velkar.dat", std::string(bytes, sizeof bytes - 1));
  ASSERT_EQ(HostReset(0, "N0CALL"), 1);
  const auto& list = TheState().SpecialStations;
  ASSERT_EQ(list.size(), 4u);
  EXPECT_EQ(list[1], "UA1AAA");
  EXPECT_EQ(list[3], "RK1B");
  EXPECT_EQ(CheckCallAnswer("UA1AAA").substr(0, 2), "2 ");
  EXPECT_EQ(CheckCallAnswer("RK1B").substr(0, 2), "2 ");
  EXPECT_EQ(CheckCallAnswer("UA9ZZZ"), "1 # #");
}

// Lines of a settings file, for comparing what a write kept.
std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t end; (end = text.find("\r\n", start)) != std::string::npos;
       start = end + 2) {
    lines.push_back(text.substr(start, end - start));
  }
  return lines;
}

TEST_F(StrangeFilesTest, SettingsFileOfMegabytes) {
  fs::create_directory("Plugins");
  std::string junk = "[Junk]\r\n";
  while (junk.size() < 4'000'000) {
    junk += "Key" + std::to_string(junk.size()) + "=" + std::string(60, 'j') + "\r\n";
  }
  const std::string operators(2000, 'O');
  const std::string original = junk + "[Settings]\r\nOperators=" + operators + "\r\n";
  WriteBytes("Plugins/Velkaro.ini", original);

  platform().form_result = FormResult::kCancel;  // the form writes nothing back
  ASSERT_EQ(HostReset(1, "N0CALL"), 1);
  EXPECT_EQ(platform().shown_fields.operators, operators.substr(0, 99));
  int points = 0;
  GetResult0(&points);

  // Every old line kept in place; only our keys added after them.
  const std::vector<std::string> before = Lines(original);
  const std::vector<std::string> after = Lines(ReadBytes("Plugins/Velkaro.ini"));
  ASSERT_GE(after.size(), before.size() + 1);
  EXPECT_TRUE(std::equal(before.begin(), before.end(), after.begin()));
  for (size_t i = before.size(); i < after.size(); ++i) {
    EXPECT_TRUE(after[i] == "Claimed=0" || after[i] == "Start=1") << after[i];
  }
}

TEST_F(StrangeFilesTest, SettingsSectionTwice) {
  fs::create_directory("Plugins");
  const std::string original =
      "[Settings]\r\nName=First\r\n[Other]\r\nx=1\r\n"
      "[Settings]\r\nName=Second\r\nClaimed=77\r\n";
  WriteBytes("Plugins/Velkaro.ini", original);
  platform().form_result = FormResult::kCancel;
  ASSERT_EQ(HostReset(1, "N0CALL"), 1);
  const std::string shown = platform().shown_fields.name;
  EXPECT_TRUE(shown == "First" || shown == "Second") << shown;
  ASSERT_EQ(HostAdd("N0CALL", {.call = "UA3AAA"}), 1);
  int points = 0;
  GetResult0(&points);

  // One "Claimed" reads back as the new score; no old line is lost.
  EXPECT_EQ(platform().GetProfileString("Settings", "Claimed", "none", kSettingsPath),
            "1");
  const std::vector<std::string> after = Lines(ReadBytes("Plugins/Velkaro.ini"));
  for (const std::string& line : Lines(original)) {
    if (line == "Claimed=77") continue;  // the key we wrote may be this one
    EXPECT_NE(std::find(after.begin(), after.end(), line), after.end()) << line;
  }
}

}  // namespace
}  // namespace velkaro::testing
