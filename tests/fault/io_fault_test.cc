// File operations failing at the platform seam: the Nth write refused, the
// disk full from the Nth write on (appends cut short), the Nth read failing.
// The core must go on as if nothing happened: the same answers as a run
// without faults (where only writes failed), nothing reported to the host, and
// the files that were written still whole.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "core_driver.h"
#include "test_support.h"

namespace velkaro::testing {
namespace {

namespace fs = std::filesystem;

const char kStationList[] = "1 R9XYZ Special one\r\n2 RK1B/9 another\r\n";

enum class Fault { kNone, kWriteRefused, kDiskFull, kReadFails };

const char* Name(Fault fault) {
  switch (fault) {
    case Fault::kNone:
      return "none";
    case Fault::kWriteRefused:
      return "write refused";
    case Fault::kDiskFull:
      return "disk full";
    case Fault::kReadFails:
      return "read fails";
  }
  return "?";
}

// The portable port with one kind of file operation failing from the host's
// thread (the mode-switch window's thread is never disturbed, so the count
// stays the same from run to run).
class FaultPlatform : public FakePlatform {
 public:
  FaultPlatform(Fault fault, int n)
      : fault_(fault), fail_at_(n), host_(std::this_thread::get_id()) {}

  bool fired() const { return fired_; }

  bool WriteToFile(const std::string& path, const std::string& bytes,
                   bool truncate) override {
    if (!Fails(/*write=*/true)) return FakePlatform::WriteToFile(path, bytes, truncate);
    if (fault_ == Fault::kDiskFull) {
      // A full disk takes part of an append and then refuses the rest.
      FakePlatform::WriteToFile(path, bytes.substr(0, bytes.size() / 2), truncate);
    }
    return false;
  }
  // Settings writes come here too. A replacement that fails leaves the old
  // file, whatever the cause.
  bool ReplaceFileParts(const std::string& path,
                        std::span<const std::string_view> parts) override {
    if (Fails(/*write=*/true)) return false;
    return FakePlatform::ReplaceFileParts(path, parts);
  }
  bool ReadFile(const std::string& path, std::string* bytes) override {
    if (Fails(/*write=*/false)) return false;
    return FakePlatform::ReadFile(path, bytes);
  }
  std::string GetProfileString(const std::string& section, const std::string& key,
                               const std::string& default_value,
                               const std::string& path) override {
    if (Fails(/*write=*/false)) return default_value;
    return FakePlatform::GetProfileString(section, key, default_value, path);
  }
  bool CanOpenForReading(const std::string& path) override {
    if (Fails(/*write=*/false)) return false;
    return FakePlatform::CanOpenForReading(path);
  }
  std::optional<FileVersion> GetFileVersion(const std::string& path) override {
    if (Fails(/*write=*/false)) return std::nullopt;
    return FakePlatform::GetFileVersion(path);
  }
  void Sleep(int) override { std::this_thread::sleep_for(std::chrono::microseconds(50)); }

 private:
  bool Fails(bool write) {
    if (fault_ == Fault::kNone || std::this_thread::get_id() != host_) return false;
    if (write != (fault_ != Fault::kReadFails)) return false;
    ++count_;
    const bool fails =
        fault_ == Fault::kDiskFull ? count_ >= fail_at_ : count_ == fail_at_;
    if (fails) fired_ = true;
    return fails;
  }

  const Fault fault_;
  const int fail_at_;
  const std::thread::id host_;
  int count_ = 0;
  bool fired_ = false;
};

struct Outcome {
  std::vector<std::string> answers;
  std::vector<std::string> messages;
  bool fired = false;
};

bool EndsWith(const std::string& text, const std::string& tail) {
  return text.size() >= tail.size() &&
         text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

class IoFaultTest : public ScratchDirTest {
 protected:
  // The contest in a folder of its own, with `fault` at operation n.
  Outcome RunContest(Fault fault, int n) {
    const fs::path folder = dir() / (std::string("run-") + std::to_string(runs_++));
    fs::create_directories(folder / "Plugins");
    WriteBytes(folder / "Plugins" / "velkar.dat", kStationList);
    fs::current_path(folder);
    Outcome run;
    {
      FaultPlatform platform(fault, n);
      {
        PluginState state(platform);
        CoreContest contest(state);
        contest.Run();
        run.answers = contest.answers();
      }
      run.messages = platform.messages;
      run.messages.insert(run.messages.end(), platform.errors.begin(),
                          platform.errors.end());
      run.fired = platform.fired();
    }
    ExpectWholeFiles(folder, std::string(Name(fault)) + " at " + std::to_string(n));
    fs::current_path(dir());
    return run;
  }

  // What is on disk is whole: no temporary left, a complete Cabrillo file if
  // any, a settings file of whole key lines.
  static void ExpectWholeFiles(const fs::path& folder, const std::string& where) {
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
      EXPECT_EQ(entry.path().string().find(".velkaro-new"), std::string::npos)
          << where << ": " << entry.path();
    }
    const fs::path cabrillo = folder / "N0CALL_P.cbr";
    if (fs::exists(cabrillo)) {
      const std::string text = ReadBytes(cabrillo);
      EXPECT_EQ(text.rfind("START-OF-LOG: 3.0\r\n", 0), 0u) << where;
      EXPECT_TRUE(EndsWith(text, "\r\nEND-OF-LOG:\r\n")) << where;
    }
    const fs::path settings = folder / "Plugins" / "Velkaro.ini";
    if (fs::exists(settings)) {
      const std::string text = ReadBytes(settings);
      EXPECT_EQ(text.rfind("[Settings]\r\n", 0), 0u) << where;
      EXPECT_TRUE(EndsWith(text, "\r\n")) << where;
    }
  }

  // Fails operation 1, 2, ... until the contest no longer reaches n.
  int Sweep(Fault fault, const Outcome& reference) {
    for (int n = 1;; ++n) {
      const Outcome run = RunContest(fault, n);
      EXPECT_TRUE(run.messages.empty())
          << Name(fault) << " at " << n << ": " << run.messages.front();
      if (fault != Fault::kReadFails) {
        EXPECT_EQ(run.answers, reference.answers) << Name(fault) << " at " << n;
      } else {
        EXPECT_EQ(run.answers.size(), reference.answers.size());
      }
      if (HasFailure() || !run.fired) return n - 1;
    }
  }

 private:
  int runs_ = 0;
};

TEST_F(IoFaultTest, EachWriteRefusedInTurn) {
  const Outcome reference = RunContest(Fault::kNone, 0);
  ASSERT_TRUE(reference.messages.empty());
  EXPECT_GT(Sweep(Fault::kWriteRefused, reference), 20);
}

TEST_F(IoFaultTest, DiskFullFromEachWriteOn) {
  const Outcome reference = RunContest(Fault::kNone, 0);
  EXPECT_GT(Sweep(Fault::kDiskFull, reference), 20);
}

TEST_F(IoFaultTest, EachReadFailingInTurn) {
  const Outcome reference = RunContest(Fault::kNone, 0);
  EXPECT_GT(Sweep(Fault::kReadFails, reference), 10);
}

// The answers the core gives do not depend on whether anything reached the
// disk: the whole contest with every write refused matches the reference.
TEST_F(IoFaultTest, NothingWrittenAtAll) {
  const Outcome reference = RunContest(Fault::kNone, 0);
  const Outcome run = RunContest(Fault::kDiskFull, 1);
  EXPECT_EQ(run.answers, reference.answers);
  EXPECT_TRUE(run.messages.empty());
  EXPECT_FALSE(fs::exists(dir() / "run-1" / "N0CALL_P.cbr"));
  EXPECT_FALSE(fs::exists(dir() / "run-1" / "Plugins" / "Velkaro.ini"));
}

}  // namespace
}  // namespace velkaro::testing
