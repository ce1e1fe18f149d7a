// Runs a whole contest through the exported entry points, linked statically,
// with the Nth memory allocation failing, for N = 1, 2, 3, ... until the
// contest runs through without a failure: once with only that allocation
// failing and once with every later one failing too. After every call the
// result must be one the host understands, no exception may escape, the log
// must hold either what it held before or the complete change, the files
// must be complete, and nothing may be reported to the host.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "cabrillo/cabrillo_writer.h"
#include "failing_allocator.h"
#include "host_calls.h"
#include "log/qso_checks.h"
#include "log/special_stations.h"
#include "plugin/plugin_state.h"
#include "plugin/texts.h"
#include "recording_platform.h"

namespace velkaro::testing {
namespace {

namespace fs = std::filesystem;

// Long texts, so that their copies need memory of their own.
const std::string kOwnCall = "RA1234567890/P";
const std::string kCabrilloFile = "RA1234567890_P.cbr";
const std::string kEarlierCabrilloFile = "SETUP.cbr";
const std::string kStationList =
    "1 R9XYZ Special one\r\n2 RK1B/9 another\r\n3 UA9ABCDEFGHIJKL long call\r\n";

bool SameRecord(const CInfo& a, const CInfo& b) {
  return a.call == b.call && a.band == b.band && a.mode == b.mode &&
         a.rstRcvd == b.rstRcvd && a.rstSent == b.rstSent && a.nrRcvd == b.nrRcvd &&
         a.nrSent == b.nrSent && a.freqKhz == b.freqKhz && a.isDupe == b.isDupe &&
         a.time.days == b.time.days && a.time.status == b.time.status;
}

bool SameLog(const std::vector<CInfo>& a, const std::vector<CInfo>& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), SameRecord);
}

CInfo RecordOf(const HostQso& q, bool dupe) {
  CInfo r;
  r.call = q.call;
  r.band = q.band;
  r.mode = q.mode;
  r.rstRcvd = q.rst_rcvd;
  r.rstSent = q.rst_sent;
  r.nrRcvd = q.nr_rcvd;
  r.nrSent = q.nr_sent;
  r.freqKhz = q.freq_hz / 1000;
  r.isDupe = dupe ? 1 : 0;
  r.time = q.time;
  return r;
}

// Everything a call may change, read with allocation failures off.
struct Snapshot {
  std::vector<CInfo> log;
  std::vector<std::string> bands;
  std::vector<std::string> specials;
  std::string result_text;
  std::string error_report;
  std::string cabrillo;
  std::string settings;

  int FirstMatch(const std::string& call, const std::string& band,
                 const std::string& mode) const {
    for (size_t i = 0; i < log.size(); ++i) {
      if (log[i].call == call && log[i].band == band && log[i].mode == mode) {
        return static_cast<int>(i);
      }
    }
    return -1;
  }
};

Snapshot Take() {
  AllocationFailuresOff off;
  const PluginState& state = TheState();
  Snapshot s;
  for (int i = 0; i < state.QsoLog.Count(); ++i) s.log.push_back(state.QsoLog.At(i));
  s.bands = state.WorkedBands;
  s.specials = state.SpecialStations;
  s.result_text = state.ResultText;
  s.error_report = ReadBytes("err.txt");
  s.cabrillo = ReadBytes(kCabrilloFile);
  s.settings = ReadBytes("Plugins/Velkaro.ini");
  return s;
}

// Runs `call` with allocation counting on (nothing else of the test
// allocates meanwhile); *failed tells whether an allocation was refused.
template <typename Call>
auto Armed(bool* failed, Call&& call) {
  const int64_t refusals = FailingAllocator::Refusals();
  FailingAllocator::Resume();
  auto result = call();
  FailingAllocator::Disarm();
  *failed = FailingAllocator::Refusals() != refusals;
  return result;
}

// The lines `after` added to `before`, or false when it is not `before` plus
// whole lines.
bool AddedLines(const std::string& before, const std::string& after,
                std::vector<std::string>* lines) {
  if (after.compare(0, before.size(), before) != 0) return false;
  std::string rest = after.substr(before.size());
  lines->clear();
  while (!rest.empty()) {
    const size_t end = rest.find("\r\n");
    if (end == std::string::npos) return false;
    lines->push_back(rest.substr(0, end));
    rest.erase(0, end + 2);
  }
  return true;
}

bool EndsWith(const std::string& text, const std::string& tail) {
  return text.size() >= tail.size() &&
         text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

int CountOf(const std::string& text, const std::string& part) {
  int n = 0;
  for (size_t at = text.find(part); at != std::string::npos;
       at = text.find(part, at + 1)) {
    ++n;
  }
  return n;
}

// A Cabrillo file from start to end, with one QSO line per record.
bool CompleteCabrillo(const std::string& file, size_t records) {
  return file.rfind("START-OF-LOG: 3.0\r\n", 0) == 0 &&
         EndsWith(file, "\r\nEND-OF-LOG:\r\n") &&
         static_cast<size_t>(CountOf(file, "\r\nQSO: ")) == records;
}

// A settings file of whole lines that keeps every key it had.
void ExpectCompleteSettings(const std::string& before, const std::string& after,
                            const std::string& step) {
  if (after.empty()) {
    EXPECT_TRUE(before.empty()) << step << ": the settings file was lost";
    return;
  }
  std::vector<std::string> lines;
  ASSERT_TRUE(AddedLines("", after, &lines)) << step << ": a settings line is cut";
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines[0], "[Settings]") << step;
  std::vector<std::string> old_lines;
  AddedLines("", before, &old_lines);
  for (const std::string& line : old_lines) {
    const std::string key = line.substr(0, line.find('=') + 1);
    const bool kept = std::any_of(lines.begin(), lines.end(), [&](const std::string& l) {
      return l.rfind(key, 0) == 0;
    });
    EXPECT_TRUE(kept) << step << ": the settings lost " << line;
  }
}

class OutOfMemoryTest : public ScratchDirTest {
 protected:
  void SetUp() override {
    ScratchDirTest::SetUp();
    fs::create_directory("Plugins");
    WriteBytes("Plugins/velkar.dat", kStationList);
  }

  void TearDown() override {
    FailingAllocator::Disarm();
    TheState().ModeWindow.Close();
    ScratchDirTest::TearDown();
  }

  // An earlier contest with its own Cabrillo file and a QSO in the log, and
  // the mode-switch window closed, so that the reset under test has
  // everything to do.
  void Prepare() {
    ASSERT_EQ(HostReset(1, "SETUP"), 1);
    ASSERT_EQ(HostAdd("SETUP", {.call = "OLD0000000000000"}), 1);
    int points = 0;
    GetResult0(&points);
    earlier_cabrillo_ = ReadBytes(kEarlierCabrilloFile);
    ASSERT_TRUE(CompleteCabrillo(earlier_cabrillo_, 1));
    TheState().ModeWindow.Close();
    TheRecordingPlatform().messages.clear();
    TheRecordingPlatform().errors.clear();
  }

  void Reset() {
    const Snapshot before = Take();
    bool failed;
    const int result = Armed(&failed, [&] { return HostReset(1, kOwnCall); });
    const Snapshot after = Take();
    EXPECT_EQ(result, 1) << step_;
    const std::vector<std::string> listed = ParseSpecialStations(kStationList);
    const std::string new_report = std::string(texts::kErrorReportHeader) + "\r\n";
    if (!failed) {
      EXPECT_TRUE(after.log.empty() && after.bands.empty()) << step_;
      EXPECT_EQ(after.specials, listed) << step_;
      EXPECT_EQ(after.error_report, new_report) << step_;
    } else {
      // What was done before the failure stays.
      EXPECT_TRUE(after.log.empty() || SameLog(after.log, before.log)) << step_;
      EXPECT_EQ(after.log.empty(), after.bands.empty()) << step_;
      EXPECT_TRUE(after.specials == listed || after.specials.empty() ||
                  after.specials == before.specials)
          << step_;
      EXPECT_TRUE(after.error_report == before.error_report ||
                  after.error_report == new_report)
          << step_;
    }
    ExpectCompleteSettings(before.settings, after.settings, step_);
    Next();
  }

  void Add(const HostQso& q, bool acceptable) {
    const Snapshot before = Take();
    bool failed;
    const int result = Armed(&failed, [&] { return HostAdd(kOwnCall, q); });
    const Snapshot after = Take();
    ASSERT_TRUE(result == 0 || result == 1) << step_ << ": AddData0 gave " << result;
    if (!failed) EXPECT_EQ(result, acceptable ? 1 : 0) << step_;
    std::vector<std::string> lines;
    ASSERT_TRUE(AddedLines(before.error_report, after.error_report, &lines))
        << step_ << ": the error report is not the old one plus whole lines";
    if (result == 1) {
      EXPECT_TRUE(acceptable) << step_ << ": a QSO against the rules was accepted";
      const int matches = static_cast<int>(
          std::count_if(before.log.begin(), before.log.end(), [&](const CInfo& r) {
            return r.call == q.call && r.band == q.band && r.mode == q.mode;
          }));
      std::vector<CInfo> expected = before.log;
      expected.push_back(RecordOf(q, matches > 0));
      EXPECT_TRUE(SameLog(after.log, expected)) << step_ << ": accepted, not logged";
      EXPECT_EQ(static_cast<int>(lines.size()), matches) << step_;
      for (const std::string& line : lines) EXPECT_TRUE(EndsWith(line, "DUPE !!!"));
      EXPECT_NE(std::find(after.bands.begin(), after.bands.end(), q.band),
                after.bands.end())
          << step_;
    } else {
      EXPECT_TRUE(SameLog(after.log, before.log))
          << step_ << ": AddData0 gave 0 but changed the log";
      EXPECT_EQ(after.bands, before.bands) << step_;
      // A rejection writes its one line unless the failure came first.
      if (!failed) EXPECT_EQ(lines.size(), acceptable ? 0u : 1u) << step_;
      EXPECT_LE(lines.size(), acceptable ? 0u : 1u) << step_;
    }
    Next();
  }

  void Remove(const HostQso& q) {
    const Snapshot before = Take();
    bool failed;
    const int result = Armed(&failed, [&] { return HostRemove(kOwnCall, q); });
    const Snapshot after = Take();
    const bool has_numbers = !q.nr_sent.empty() && !q.nr_rcvd.empty();
    std::vector<CInfo> removed = before.log;
    const int at = before.FirstMatch(q.call, q.band, q.mode);
    if (has_numbers && at >= 0) removed.erase(removed.begin() + at);
    if (!failed) {
      EXPECT_EQ(result, has_numbers ? 1 : 0) << step_;
      EXPECT_TRUE(SameLog(after.log, removed)) << step_;
    } else {
      // 1 is the answer of a failed call: handled, the log as it was.
      EXPECT_TRUE(result == 1 || (result == 0 && !has_numbers)) << step_;
      EXPECT_TRUE(SameLog(after.log, before.log) || SameLog(after.log, removed)) << step_;
    }
    EXPECT_EQ(after.error_report, before.error_report) << step_;
    Next();
  }

  void CheckCall(const std::string& call, const std::string& mode,
                 const std::string& band) {
    const Snapshot before = Take();
    constexpr size_t kGuard = 16;
    char exchange[kExchangeBufferSize + kGuard];
    char notice[kNoticeBufferSize + kGuard];
    std::memset(exchange, '#', sizeof exchange);
    std::memset(notice, '#', sizeof notice);
    bool failed;
    const int result =
        Armed(&failed, [&] { return HostCheckCall(call, mode, band, exchange, notice); });
    AllocationFailuresOff off;
    const bool listed = std::find(before.specials.begin(), before.specials.end(), call) !=
                        before.specials.end();
    int correct = 1;
    if (before.FirstMatch(call, band, mode) >= 0) {
      correct = 0;
    } else if (before.specials.empty() || listed) {
      correct = 2;
    }
    // 1 is also the answer when the check itself fails.
    EXPECT_TRUE(result == correct || (failed && result == 1))
        << step_ << ": CheckCall0 gave " << result;
    for (size_t i = kExchangeBufferSize; i < sizeof exchange; ++i) {
      ASSERT_EQ(exchange[i], '#') << step_ << ": exchange buffer overrun";
    }
    for (size_t i = kNoticeBufferSize; i < sizeof notice; ++i) {
      ASSERT_EQ(notice[i], '#') << step_ << ": notice buffer overrun";
    }
    if (result == 2 && listed) {
      const std::string full = call + texts::kSpecialNoticeTail;
      EXPECT_EQ(std::string(notice), full.substr(0, kNoticeBufferSize - 1)) << step_;
      EXPECT_STREQ(exchange, "PW") << step_;
    } else {
      EXPECT_EQ(notice[0], '#') << step_ << ": notice written without a special station";
      EXPECT_EQ(exchange[0], '#') << step_;
    }
    Next();
  }

  void ExchangeCheck(const std::string& text, int correct) {
    bool failed;
    const int result = Armed(&failed, [&] { return HostExchangeCheck(text); });
    EXPECT_TRUE(result == correct || (failed && result == 0)) << step_;
    Next();
  }

  void Result() {
    const Snapshot before = Take();
    int points = 0x7B7B;
    bool failed;
    const char* returned = Armed(&failed, [&] { return GetResult0(&points); });
    AllocationFailuresOff off;
    ASSERT_NE(returned, nullptr) << step_;
    const PluginState& state = TheState();
    ASSERT_EQ(returned, state.ResultText.c_str()) << step_;
    const std::string text = returned;
    EXPECT_EQ(text.size(), state.ResultText.size()) << step_;

    // The file on disk: the last complete one or the new complete one.
    const Snapshot after = Take();
    const bool cabrillo = state.CabrilloEnabled != 0;
    if (!failed && cabrillo) {
      EXPECT_TRUE(CompleteCabrillo(after.cabrillo, after.log.size())) << step_;
    }
    EXPECT_TRUE(after.cabrillo == before.cabrillo ||
                CompleteCabrillo(after.cabrillo, after.log.size()))
        << step_ << ": the Cabrillo file is not complete";
    ExpectCompleteSettings(before.settings, after.settings, step_);
    for (const auto& entry : fs::directory_iterator(".")) {
      EXPECT_EQ(entry.path().string().find(".velkaro-new"), std::string::npos)
          << step_ << ": " << entry.path();
    }

    // What the same call gives when nothing fails.
    int reference_points = 0;
    const std::string reference = GetResult0(&reference_points);
    const int score = state.ClaimedScore;
    if (!failed) {
      EXPECT_EQ(text, reference) << step_;
      EXPECT_EQ(points, cabrillo ? -1 : score) << step_;
    }
    EXPECT_TRUE(text == before.result_text || text == reference)
        << step_ << ": a result text that is neither the last nor the new one";
    EXPECT_TRUE(points == 0x7B7B || points == score || (points == -1 && cabrillo))
        << step_ << ": the int holds " << points;
    Next();
  }

  void Next() {
    ++call_number_;
    step_ = "call " + std::to_string(call_number_) + ", allocation " +
            std::to_string(fail_at_);
  }

  // The contest under test. Without failures: three QSOs stay in the log
  // (a duplicate, a special station with PW, an RTTY QSO).
  void Contest() {
    call_number_ = 0;
    Next();
    const HostQso a{.call = "UA3AAAAAAAAAAAAAAA"};
    const HostQso a_again{.call = a.call, .nr_sent = "003", .nr_rcvd = "004"};
    const HostQso special{.call = "R9XYZ", .mode = "SSB", .nr_rcvd = "PW"};
    const HostQso rtty{
        .call = "RK1B", .mode = "RTTY", .nr_sent = "005", .nr_rcvd = "006"};
    Reset();
    CheckCall("R9XYZ", "SSB", "40m");
    Add(a, true);
    Add(a_again, true);
    CheckCall(a.call, "CW", "40m");
    Add(special, true);
    Add({.call = "UA3BBBBBBBBBBBBBB", .mode = "cw"}, false);
    Add({.call = "UA3BBBBBBBBBBBBBB", .band = "20m"}, false);
    Add({.call = "UA3BBBBBBBBBBBBBB", .nr_rcvd = ""}, false);
    ExchangeCheck("0599", 1);
    ExchangeCheck("1234567890123456789", 0);
    Result();
    Remove(a);
    Remove({.call = a.call, .nr_sent = ""});
    Add(rtty, true);
    CheckCall("UA9ABCDEFGHIJKL", "RTTY", "40m");
    CheckCall("UA3ZZZZZZZZZZZZZZ", "CW", "40m");
    Result();
  }

  // The log's index answers like a scan from index 0.
  void ExpectConsistentIndex() {
    const QsoLogStore& log = TheState().QsoLog;
    for (int i = 0; i < log.Count(); ++i) {
      const CInfo& r = log.At(i);
      std::vector<int> scan;
      for (int j = 0; j < log.Count(); ++j) {
        const CInfo& o = log.At(j);
        if (o.call == r.call && o.band == r.band && o.mode == r.mode) scan.push_back(j);
      }
      EXPECT_EQ(log.FindMatches(r.call, r.band, r.mode), scan) << step_;
      EXPECT_EQ(log.FirstMatch(r.call, r.band, r.mode), scan.front()) << step_;
    }
  }

  // Fails allocation 1, 2, 3, ... until the contest needs no more; returns
  // how many allocations the whole contest made.
  int64_t RunUntilNothingFails(FailingAllocator::Mode mode) {
    for (fail_at_ = 1;; ++fail_at_) {
      Prepare();
      FailingAllocator::Arm(fail_at_, mode);
      FailingAllocator::Disarm();
      Contest();
      const bool fired = FailingAllocator::Fired();
      ExpectConsistentIndex();
      EXPECT_EQ(ReadBytes(kEarlierCabrilloFile), earlier_cabrillo_)
          << step_ << ": the contest wrote over the earlier contest's Cabrillo file";
      EXPECT_TRUE(TheRecordingPlatform().messages.empty()) << step_;
      EXPECT_TRUE(TheRecordingPlatform().errors.empty()) << step_;
      if (HasFailure()) return -1;  // one broken step is enough to read
      if (!fired) return fail_at_ - 1;
    }
  }

  void ExpectFinalContest() {
    int points = 0;
    const std::string text = GetResult0(&points);
    EXPECT_EQ(points, -1);
    EXPECT_NE(text.find("40m\t 2\t 4\t 0\t 1\t 1\r\nTotal\t 3\t 4\t 0\t 1\t 1\r\n"),
              std::string::npos)
        << text;
    EXPECT_TRUE(CompleteCabrillo(ReadBytes(kCabrilloFile), 3));
  }

  int64_t fail_at_ = 0;
  int call_number_ = 0;
  std::string earlier_cabrillo_;
  std::string step_;
};

TEST_F(OutOfMemoryTest, EachAllocationFailingOnce) {
  const int64_t allocations = RunUntilNothingFails(FailingAllocator::kOnce);
  ASSERT_GT(allocations, 100) << "the contest should need memory";
  ExpectFinalContest();
}

TEST_F(OutOfMemoryTest, EveryAllocationFailingFromTheNthOn) {
  const int64_t allocations = RunUntilNothingFails(FailingAllocator::kFromThenOn);
  ASSERT_GT(allocations, 100);
  ExpectFinalContest();
}

}  // namespace
}  // namespace velkaro::testing
