// Real full disks under the portable port: a small tmpfs filled up, or left
// with a few kilobytes, and the error report pointing at /dev/full. Writes
// that do not fit must leave the last Cabrillo and settings files whole, no
// temporary file behind and the host uninformed; the answers stay right.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "core_driver.h"
#include "test_support.h"
#include "tmpfs_mount.h"

namespace velkaro::testing {
namespace {

namespace fs = std::filesystem;

bool NoTemporaryFiles(const fs::path& folder) {
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    if (entry.path().string().find(".velkaro-new") != std::string::npos) return false;
  }
  return true;
}

int QsoLines(const std::string& cabrillo) {
  int n = 0;
  for (size_t at = cabrillo.find("\r\nQSO: "); at != std::string::npos;
       at = cabrillo.find("\r\nQSO: ", at + 1)) {
    ++n;
  }
  return n;
}

class FullDiskTest : public ScratchDirTest {
 protected:
  void SetUp() override {
    ScratchDirTest::SetUp();
    disk_ = std::make_unique<TmpfsMount>(dir() / "disk", 256);
    if (!disk_->mounted()) GTEST_SKIP() << "cannot mount a tmpfs: " << disk_->why_not();
    fs::current_path(dir() / "disk");
    fs::create_directory("Plugins");
    WriteBytes("Plugins/velkar.dat", "1 R9XYZ x\r\n");
  }
  void TearDown() override {
    fs::current_path(dir());
    disk_.reset();
    ScratchDirTest::TearDown();
  }

  // A contest of `qsos` QSOs with a result, the files written.
  void StartContest(int qsos) {
    ResetContest(state_, 1, "N0CALL/P", {42152.0, OleDate::kValid},
                 {42153.0, OleDate::kValid});
    AddMore(qsos);
    int32_t points = 0;
    GetResult(state_, &points);
  }
  void AddMore(int qsos) {
    for (int i = 0; i < qsos; ++i) {
      ASSERT_EQ(AddQso(state_, CoreQso("UA" + std::to_string(added_++))), 1);
    }
    // A duplicate, so that the error report is written to.
    ASSERT_EQ(AddQso(state_, CoreQso("UA0")), 1);
  }

  std::unique_ptr<TmpfsMount> disk_;
  FakePlatform platform_;
  PluginState state_{platform_};
  int added_ = 0;
};

TEST_F(FullDiskTest, LastFilesStayWholeUntilThereIsRoomAgain) {
  StartContest(3);
  const std::string cabrillo = ReadBytes("N0CALL_P.cbr");
  std::string settings = ReadBytes("Plugins/Velkaro.ini");
  ASSERT_EQ(QsoLines(cabrillo), 4);

  // Nothing left, then a few kilobytes: never enough for the new files.
  disk_->Fill("filler");
  for (uintmax_t room : {0, 4096, 8192}) {
    fs::resize_file("filler", fs::file_size("filler") - room);
    AddMore(100);
    int32_t points = 0;
    const std::string text = GetResult(state_, &points);
    EXPECT_EQ(points, -1);
    const std::string total = "Total\t " + std::to_string(state_.QsoLog.Count()) + "\t ";
    EXPECT_NE(text.find(total), std::string::npos) << room;
    EXPECT_EQ(ReadBytes("N0CALL_P.cbr"), cabrillo) << room << " bytes free";
    // The small settings file may fit into the room left; then it is new.
    const std::string now = ReadBytes("Plugins/Velkaro.ini");
    const std::string claimed =
        "\r\nClaimed=" + std::to_string(state_.ClaimedScore) + "\r\n";
    if (room == 0) EXPECT_EQ(now, settings);
    EXPECT_TRUE(now == settings || now.find(claimed) != std::string::npos)
        << room << " bytes free: " << now;
    settings = now;
    EXPECT_TRUE(NoTemporaryFiles(".")) << room << " bytes free";
    disk_->Fill("filler");
  }
  EXPECT_TRUE(platform_.messages.empty());
  EXPECT_TRUE(platform_.errors.empty());

  // Room again: the next result writes both files in full.
  fs::remove("filler");
  int32_t points = 0;
  GetResult(state_, &points);
  EXPECT_EQ(QsoLines(ReadBytes("N0CALL_P.cbr")), state_.QsoLog.Count());
  const std::string claimed =
      "\r\nClaimed=" + std::to_string(state_.ClaimedScore) + "\r\n";
  EXPECT_NE(ReadBytes("Plugins/Velkaro.ini").find(claimed), std::string::npos);
}

TEST_F(FullDiskTest, AContestStartedOnAFullDisk) {
  disk_->Fill("filler");
  StartContest(5);
  EXPECT_EQ(state_.QsoLog.Count(), 6);
  EXPECT_EQ(state_.SpecialStations, std::vector<std::string>{"R9XYZ"});
  EXPECT_EQ(state_.ClaimedScore, 5);  // the duplicate scores nothing
  EXPECT_FALSE(fs::exists("N0CALL_P.cbr"));
  EXPECT_TRUE(NoTemporaryFiles("."));
  EXPECT_TRUE(platform_.messages.empty());
}

class DevFullTest : public ScratchDirTest {};

TEST_F(DevFullTest, ErrorReportOnAFullDevice) {
  if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  fs::create_directory("Plugins");
  fs::create_symlink("/dev/full", "err.txt");
  FakePlatform platform;
  PluginState state(platform);
  CoreContest contest(state);
  contest.Run();
  EXPECT_TRUE(platform.messages.empty());
  EXPECT_TRUE(fs::is_symlink("err.txt"));
  // The Cabrillo file replaces whatever stood there, so it is written.
  EXPECT_EQ(QsoLines(ReadBytes("N0CALL_P.cbr")), 1);
  // The same answers as with a working report.
  fs::create_directories(dir() / "plain" / "Plugins");
  fs::current_path(dir() / "plain");
  FakePlatform plain_platform;
  std::vector<std::string> plain;
  {
    PluginState plain_state(plain_platform);
    CoreContest plain_contest(plain_state);
    plain_contest.Run();
    plain = plain_contest.answers();
  }
  fs::current_path(dir());
  EXPECT_EQ(contest.answers(), plain);
}

}  // namespace
}  // namespace velkaro::testing
