#include "log/qso_rules.h"

#include <gtest/gtest.h>

#include "log/error_report.h"
#include "test_support.h"

namespace velkaro {
namespace {

using testing::DayCount;
using testing::ReadBytes;

class QsoRulesTest : public testing::ScratchDirTest {
 protected:
  QsoArguments Qso(const std::string& call, const std::string& mode = "CW",
                   const std::string& band = "40m") {
    QsoArguments q;
    q.own_call = "UA9OWN";
    q.call = call;
    q.time = OleDate{DayCount(2015, 5, 28, 9, 30), OleDate::kValid};
    q.freq_hz = 7012999;
    q.mode = mode;
    q.rst_sent = "599";
    q.rst_rcvd = "579";
    q.nr_sent = "011";
    q.nr_rcvd = "022";
    q.band = band;
    return q;
  }
  std::string Report() { return ReadBytes("err.txt"); }

  testing::FakePlatform platform_;
  PluginState state_{platform_};
};

TEST_F(QsoRulesTest, ReportLineLayout) {
  struct Case {
    QsoArguments qso;
    const char* reason;
    const char* expected;
  } cases[] = {
      {Qso("RK3A"), kReasonDupe,
       "QSO:  7012  CW  2015-05-28 0930  UA9OWN  599  011  RK3A  579  022   DUPE "
       "!!!\r\n"},
      {[&] {
         auto q = Qso("");
         q.rst_sent = "";
         q.nr_rcvd = "";
         q.freq_hz = 999;
         return q;
       }(),
       kReasonNoNumber,
       "QSO:  0  CW  2015-05-28 0930  UA9OWN    011    579     NO TX or RX NUMBER "
       "!!!\r\n"},
      {[&] {
         auto q = Qso("RK3A", "FT8");
         q.time.status = OleDate::kInvalid;
         return q;
       }(),
       kReasonNoTestMode,
       "QSO:  7012  FT8  Invalid DateTime  UA9OWN  599  011  RK3A  579  022   NO TEST "
       "MODE !!!\r\n"},
      {[&] {
         auto q = Qso("RK3A", "CW", "20m");
         q.time.status = OleDate::kNull;
         q.freq_hz = 4294967295u;
         return q;
       }(),
       kReasonNoContestBand,
       "QSO:  4294967  CW    UA9OWN  599  011  RK3A  579  022   NO CONTEST BAND !!!\r\n"},
  };
  for (const Case& c : cases) EXPECT_EQ(ErrorReportLine(c.qso, c.reason), c.expected);
}

TEST_F(QsoRulesTest, RulesApplyInOrderAndTheFirstFailureDecides) {
  struct Case {
    QsoArguments qso;
    int accepted;
    const char* reason;  // null: nothing written
  } cases[] = {
      {Qso("A1"), 1, nullptr},
      {[&] {
         auto q = Qso("A2", "cw", "20m");
         q.nr_sent = "";
         q.nr_rcvd = "PW";
         return q;
       }(),
       0, kReasonNoNumber},
      {[&] {
         auto q = Qso("A3");
         q.nr_rcvd = "";
         return q;
       }(),
       0, kReasonNoNumber},
      {Qso("A4", "cw", "20m"), 0, kReasonNoTestMode},
      {Qso("A5", "PSK31"), 0, kReasonNoTestMode},
      {Qso("A6", "SSB", "40M"), 0, kReasonNoContestBand},
      {Qso("A7", "RTTY", "40 m"), 0, kReasonNoContestBand},
      {Qso("A8", "SSB"), 1, nullptr},
      {Qso("A9", "RTTY"), 1, nullptr},
      {Qso("", "RTTY"), 1, nullptr},  // the call is not tested
  };
  for (const Case& c : cases) {
    StartErrorReport(platform_);
    const int before = state_.QsoLog.Count();
    const std::string header = Report();
    EXPECT_EQ(AddQso(state_, c.qso), c.accepted) << c.qso.call;
    EXPECT_EQ(state_.QsoLog.Count(), before + c.accepted) << c.qso.call;
    const std::string expected_line = c.reason ? ErrorReportLine(c.qso, c.reason) : "";
    EXPECT_EQ(Report(), header + expected_line) << c.qso.call;
  }
  EXPECT_EQ(state_.WorkedBands, (std::vector<std::string>{"40m"}));
}

TEST_F(QsoRulesTest, ADupeWritesOneLinePerEarlierMatch) {
  const QsoArguments qso = Qso("RK3A");
  for (int k = 0; k < 4; ++k) {
    StartErrorReport(platform_);
    const std::string header = Report();
    EXPECT_EQ(AddQso(state_, qso), 1);
    EXPECT_EQ(state_.QsoLog.At(k).isDupe, k > 0 ? 1 : 0);
    std::string lines;
    for (int i = 0; i < k; ++i) lines += ErrorReportLine(qso, kReasonDupe);
    EXPECT_EQ(Report(), header + lines);
  }
  // Another mode is another contact.
  EXPECT_EQ(AddQso(state_, Qso("RK3A", "SSB")), 1);
  EXPECT_EQ(state_.QsoLog.At(4).isDupe, 0);
}

TEST_F(QsoRulesTest, AcceptedRecordHoldsTheHostValues) {
  QsoArguments q = Qso("RK3A");
  q.freq_hz = 7040999;
  ASSERT_EQ(AddQso(state_, q), 1);
  const CInfo& r = state_.QsoLog.At(0);
  EXPECT_EQ(r.call, "RK3A");
  EXPECT_EQ(r.band, "40m");
  EXPECT_EQ(r.mode, "CW");
  EXPECT_EQ(r.rstSent, "599");
  EXPECT_EQ(r.rstRcvd, "579");
  EXPECT_EQ(r.nrSent, "011");
  EXPECT_EQ(r.nrRcvd, "022");
  EXPECT_EQ(r.freqKhz, 7040u);  // dropped, not rounded
  EXPECT_EQ(r.time.days, q.time.days);
  // The report exists after an accepted QSO that wrote nothing.
  EXPECT_TRUE(testing::Exists("err.txt"));
}

TEST_F(QsoRulesTest, RemovalTakesTheOldestMatchAndKeepsMarks) {
  for (const char* nr : {"001", "002", "003"}) {
    QsoArguments q = Qso("RK3A");
    q.nr_rcvd = nr;
    ASSERT_EQ(AddQso(state_, q), 1);
  }
  QsoArguments removal = Qso("RK3A");
  removal.nr_rcvd = "999";  // the exchanges play no part in the match
  removal.freq_hz = 1;
  EXPECT_EQ(RemoveQso(state_, removal), 1);
  ASSERT_EQ(state_.QsoLog.Count(), 2);
  EXPECT_EQ(state_.QsoLog.At(0).nrRcvd, "002");
  EXPECT_EQ(state_.QsoLog.At(0).isDupe, 1);
  EXPECT_EQ(state_.QsoLog.At(1).isDupe, 1);

  EXPECT_EQ(RemoveQso(state_, Qso("NOTHERE")), 1);
  removal.nr_sent = "";
  EXPECT_EQ(RemoveQso(state_, removal), 0);
  EXPECT_EQ(state_.QsoLog.Count(), 2);
  EXPECT_EQ(RemoveQso(state_, Qso("RK3A", "SSB")), 1);
  EXPECT_EQ(state_.QsoLog.Count(), 2);
  // Removal never shrinks the band list.
  EXPECT_EQ(RemoveQso(state_, Qso("RK3A")), 1);
  EXPECT_EQ(RemoveQso(state_, Qso("RK3A")), 1);
  EXPECT_EQ(state_.QsoLog.Count(), 0);
  EXPECT_EQ(state_.WorkedBands, (std::vector<std::string>{"40m"}));
}

TEST_F(QsoRulesTest, AnUnwritableReportChangesNothingElse) {
  std::filesystem::create_directory("err.txt");  // cannot be opened as a file
  EXPECT_EQ(AddQso(state_, Qso("RK3A")), 1);
  EXPECT_EQ(AddQso(state_, Qso("RK3A")), 1);
  EXPECT_EQ(AddQso(state_, Qso("RK3B", "AM")), 0);
  EXPECT_EQ(state_.QsoLog.Count(), 2);
  EXPECT_EQ(state_.QsoLog.At(1).isDupe, 1);
}

}  // namespace
}  // namespace velkaro
