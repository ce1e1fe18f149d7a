// A contest through the core: reset, QSOs, results, export.

#include <gtest/gtest.h>

#include <random>

#include "cabrillo/cabrillo_writer.h"
#include "log/contest_reset.h"
#include "log/qso_rules.h"
#include "score/result_text.h"
#include "test_support.h"

namespace velkaro {
namespace {

using testing::ReadBytes;

class ContestTest : public testing::ScratchDirTest {
 protected:
  void SetUp() override {
    ScratchDirTest::SetUp();
    std::filesystem::create_directory("Plugins");
  }
  void Reset(int cabrillo, const std::string& call = "UA9OWN") {
    ResetContest(state_, cabrillo, call, date_, OleDate{1.0, OleDate::kValid});
  }
  int Add(const std::string& call, const std::string& mode, const std::string& nr) {
    QsoArguments q;
    q.own_call = "UA9OWN";
    q.call = call;
    q.time = date_;
    q.freq_hz = 7010000;
    q.mode = mode;
    q.nr_sent = "001";
    q.nr_rcvd = nr;
    q.band = "40m";
    return AddQso(state_, q);
  }
  std::string Result(int32_t* points) { return GetResult(state_, points); }

  testing::FakePlatform platform_;
  PluginState state_{platform_};
  OleDate date_{testing::DayCount(2015, 5, 28, 12, 0), OleDate::kValid};
};

TEST_F(ContestTest, ResetStartsAFreshContest) {
  testing::WriteBytes("Plugins/velkar.dat", "1 R9XYZ a\r\n2 RK1B b\r\nRA0C\r\n");
  Reset(0);
  EXPECT_EQ(state_.StartDateText, "28.05.2015");
  EXPECT_EQ(state_.ContestantCall, "UA9OWN");
  EXPECT_EQ(state_.SpecialStations, (std::vector<std::string>{"R9XYZ", "RK1B", "RA0C"}));
  EXPECT_EQ(ReadBytes("err.txt"),
            "\xC4\xE5\xED\xFC \xE2\xE5\xEB\xEA\xE0\xF0\xEE UBN file \r\n");
  EXPECT_EQ(platform_.forms_shown, 0);
  ASSERT_EQ(Add("R9XYZ", "CW", "PW"), 1);
  ASSERT_EQ(Add("R9XYZ", "FT8", "PW"), 0);

  std::filesystem::remove("Plugins/velkar.dat");
  Reset(0, "UA9NEW");
  EXPECT_EQ(state_.QsoLog.Count(), 0);
  EXPECT_TRUE(state_.WorkedBands.empty());
  EXPECT_TRUE(state_.SpecialStations.empty());
  EXPECT_EQ(ReadBytes("err.txt"),
            "\xC4\xE5\xED\xFC \xE2\xE5\xEB\xEA\xE0\xF0\xEE UBN file \r\n");
}

TEST_F(ContestTest, ResetDatesNullAndInvalid) {
  date_.status = OleDate::kNull;
  Reset(0);
  EXPECT_EQ(state_.StartDateText, "");
  date_.status = OleDate::kInvalid;
  Reset(0);
  EXPECT_EQ(state_.StartDateText, "Invalid DateTime");
}

TEST_F(ContestTest, ResultRecordsTheClaimedScoreEverywhere) {
  Reset(0);
  Add("A", "CW", "001");
  Add("B", "SSB", "PW");
  int32_t points = 0;
  const std::string first = Result(&points);
  EXPECT_EQ(points, 4);
  EXPECT_EQ(state_.ClaimedScore, 4);
  EXPECT_NE(ReadBytes("Plugins/Velkaro.ini").find("Claimed=4\r\n"), std::string::npos);
  EXPECT_EQ(Result(&points), first);  // no change, same text
  EXPECT_FALSE(testing::Exists("UA9OWN.cbr"));
}

TEST_F(ContestTest, CabrilloSwitchExportsAtEveryResult) {
  platform_.form_result = FormResult::kCancel;  // the export runs either way
  Reset(1, "UA9OWN/P");
  EXPECT_EQ(platform_.forms_shown, 1);
  int32_t points = 0;
  Result(&points);
  EXPECT_EQ(points, -1);
  const std::string empty = ReadBytes("UA9OWN_P.cbr");
  EXPECT_NE(empty.find("SOAPBOX: \r\nEND-OF-LOG:\r\n"), std::string::npos) << empty;

  Add("A", "CW", "001");
  Add("A", "CW", "002");  // a duplicate is exported like any other QSO
  Result(&points);
  Result(&points);
  EXPECT_EQ(points, -1);
  EXPECT_EQ(state_.ClaimedScore, 1);
  const std::string file = ReadBytes("UA9OWN_P.cbr");
  EXPECT_NE(file.find("CLAIMED-SCORE: 1\r\n"), std::string::npos);
  size_t qso_lines = 0;
  for (size_t at = 0; (at = file.find("\r\nQSO: ", at)) != std::string::npos; ++at) {
    ++qso_lines;
  }
  EXPECT_EQ(qso_lines, 2u);
  EXPECT_NE(ReadBytes("Plugins/Velkaro.ini").find("Claimed=1\r\n"), std::string::npos);
}

}  // namespace
}  // namespace velkaro

namespace velkaro {
namespace {

// Every export lists exactly the lines a build from scratch would give,
// whatever happened to the log and the own call since the last one.
TEST_F(ContestTest, ExportsMatchAFreshBuildThroughAnyHistory) {
  Reset(1);
  std::mt19937 random(11);
  for (int step = 0; step < 400; ++step) {
    // Up to three changes between two exports: a removal followed by an
    // addition leaves the count as it was.
    for (int change = random() % 3; change >= 0; --change) {
      const int action = random() % 10;
      const std::string call = "R" + std::to_string(random() % 40);
      if (action < 5) {
        Add(call, random() % 2 ? "CW" : "SSB", std::to_string(100 + step));
      } else if (action < 7) {
        QsoArguments q;
        q.call = call;
        q.mode = "CW";
        q.band = "40m";
        q.nr_sent = q.nr_rcvd = "1";
        RemoveQso(state_, q);
      } else if (action == 7) {
        state_.Session.callsign = random() % 2 ? "UA9OWN" : "UA9NEW";
      } else if (action == 8 && random() % 8 == 0) {
        Reset(1);
      }
    }
    int32_t points = 0;
    GetResult(state_, &points);
    ContestSession fresh = state_.Session;
    fresh.CabrilloLines.clear();
    for (int i = 0; i < state_.QsoLog.Count(); ++i) {
      const CInfo& q = state_.QsoLog.At(i);
      AppendQsoLine(fresh, q.call, q.freqKhz, CabrilloModeCode(q.mode), q.time, q.rstSent,
                    q.nrSent, q.rstRcvd, q.nrRcvd);
    }
    ASSERT_EQ(state_.Session.CabrilloLines, fresh.CabrilloLines) << step;
  }
  EXPECT_EQ(ReadBytes("UA9OWN.cbr"),
            CabrilloLogText(state_.Session, state_.ClaimedScore, ""));
}

}  // namespace
}  // namespace velkaro
