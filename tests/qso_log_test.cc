#include "log/qso_log.h"

#include <gtest/gtest.h>

#include <random>

namespace velkaro {
namespace {

CInfo Record(const std::string& call, const std::string& mode = "CW",
             const std::string& band = "40m", const std::string& nr = "001") {
  CInfo r;
  r.call = call;
  r.band = band;
  r.mode = mode;
  r.nrRcvd = nr;
  r.nrSent = nr;
  return r;
}

std::vector<std::string> Calls(const QsoLogStore& log) {
  std::vector<std::string> calls;
  for (int i = 0; i < log.Count(); ++i)
    calls.push_back(log.At(i).call + log.At(i).nrRcvd);
  return calls;
}

TEST(QsoLogTest, RemovalKeepsTheOrderOfTheRest) {
  QsoLogStore log;
  for (const char* call : {"A", "B", "C"}) log.Append(Record(call));
  log.RemoveAt(0);
  EXPECT_EQ(Calls(log), (std::vector<std::string>{"B001", "C001"}));
  log.RemoveAt(1);
  EXPECT_EQ(Calls(log), (std::vector<std::string>{"B001"}));
  log.Clear();
  EXPECT_EQ(log.Count(), 0);
  log.Clear();
  EXPECT_EQ(log.Count(), 0);
  EXPECT_EQ(log.FirstMatch("B", "40m", "CW"), -1);
}

TEST(QsoLogTest, MatchesAreExactAndInIncreasingOrder) {
  QsoLogStore log;
  log.Append(Record("UA1A", "CW", "40m", "1"));
  log.Append(Record("UA1A", "SSB", "40m", "2"));
  log.Append(Record("ua1a", "CW", "40m", "3"));
  log.Append(Record("UA1A", "CW", "40m", "4"));
  log.Append(Record("UA1A ", "CW", "40m", "5"));
  log.Append(Record("", "CW", "40m", "6"));
  log.Append(Record("", "CW", "40m", "7"));
  EXPECT_EQ(log.FindMatches("UA1A", "40m", "CW"), (std::vector<int>{0, 3}));
  EXPECT_EQ(log.CountMatches("UA1A", "40m", "CW"), 2);
  EXPECT_EQ(log.FirstMatch("UA1A", "40m", "CW"), 0);
  EXPECT_EQ(log.FindMatches("", "40m", "CW"), (std::vector<int>{5, 6}));
  EXPECT_EQ(log.CountMatches("UA1A", "40M", "CW"), 0);
  // The three texts are not run together: "UA1A"+"40m" must not match "UA1A4"+"0m".
  log.Append(Record("UA1A4", "CW", "0m", "8"));
  EXPECT_EQ(log.CountMatches("UA1A", "40m", "CW"), 2);
}

// The index must answer exactly what a scan from index 0 answers, through
// any mix of appends, removals and clears.
TEST(QsoLogTest, IndexAgreesWithALinearScan) {
  std::mt19937 random(7);
  QsoLogStore log;
  std::vector<CInfo> model;
  const char* calls[] = {"A", "B", "C", ""};
  const char* modes[] = {"CW", "SSB"};
  for (int step = 0; step < 5000; ++step) {
    const int action = random() % 10;
    if (action < 6) {
      CInfo r =
          Record(calls[random() % 4], modes[random() % 2], "40m", std::to_string(step));
      log.Append(r);
      model.push_back(r);
    } else if (action < 9 && !model.empty()) {
      const int index = random() % model.size();
      log.RemoveAt(index);
      model.erase(model.begin() + index);
    } else if (random() % 50 == 0) {
      log.Clear();
      model.clear();
    }
    for (const char* call : calls) {
      for (const char* mode : modes) {
        std::vector<int> expected;
        for (size_t i = 0; i < model.size(); ++i) {
          if (model[i].call == call && model[i].band == "40m" && model[i].mode == mode) {
            expected.push_back(static_cast<int>(i));
          }
        }
        ASSERT_EQ(log.FindMatches(call, "40m", mode), expected) << step;
        ASSERT_EQ(log.FirstMatch(call, "40m", mode), expected.empty() ? -1 : expected[0]);
      }
    }
    ASSERT_EQ(log.Count(), static_cast<int>(model.size()));
  }
}

// Thousands of distinct keys, short and long, make the index grow and move
// entries on removal; every answer and every band tally must still be what
// a scan of the records gives.
TEST(QsoLogTest, ManyKeysAndTalliesAgreeWithAScan) {
  std::mt19937 random(11);
  QsoLogStore log;
  std::vector<CInfo> model;
  const std::string long_tail(20, 'X');  // keys too long to sit in a slot
  auto random_call = [&](int limit) {
    const int n = static_cast<int>(random() % limit);
    std::string call = "R" + std::to_string(n);
    if (n % 7 == 0) call += long_tail;
    if (n % 97 == 0) call.clear();
    return call;
  };
  const char* modes[] = {"CW", "SSB", "RTTY", "FT8"};
  const char* bands[] = {"40m", "20m"};
  const char* received[] = {"001", "PW"};
  for (int step = 0; step < 20000; ++step) {
    const int action = static_cast<int>(random() % 10);
    if (action < 6 || model.empty()) {
      CInfo r = Record(random_call(3000), modes[random() % 4], bands[random() % 2],
                       received[random() % 2]);
      r.isDupe = static_cast<int32_t>(random() % 4 == 0);
      log.Append(r);
      model.push_back(r);
    } else {
      const int index = static_cast<int>(random() % model.size());
      log.RemoveAt(index);
      model.erase(model.begin() + index);
    }
    if (step == 12000) {
      log.Clear();
      model.clear();
    }
    if (step % 97 != 0) continue;
    ASSERT_EQ(log.Count(), static_cast<int>(model.size()));
    for (int probe = 0; probe < 40; ++probe) {
      const std::string call = random_call(3500);
      const char* mode = modes[random() % 4];
      const char* band = bands[random() % 2];
      std::vector<int> expected;
      for (size_t i = 0; i < model.size(); ++i) {
        if (model[i].call == call && model[i].band == band && model[i].mode == mode)
          expected.push_back(static_cast<int>(i));
      }
      ASSERT_EQ(log.FindMatches(call, band, mode), expected) << step << " " << call;
      ASSERT_EQ(log.HasMatch(call, band, mode), !expected.empty());
      ASSERT_EQ(log.CountMatches(call, band, mode), static_cast<int>(expected.size()));
    }
    for (const char* band : bands) {
      BandCounts expected;
      for (const CInfo& r : model) {
        if (r.band != band || r.call.empty() || r.isDupe) continue;
        ++expected.qsos;
        expected.special += r.nrRcvd == "PW";
        expected.cw += r.mode == "CW";
        expected.ssb += r.mode == "SSB";
        expected.rtty += r.mode == "RTTY";
      }
      const BandCounts counts = log.CountsOf(band);
      EXPECT_EQ(counts.qsos, expected.qsos) << step;
      EXPECT_EQ(counts.special, expected.special) << step;
      EXPECT_EQ(counts.cw, expected.cw) << step;
      EXPECT_EQ(counts.ssb, expected.ssb) << step;
      EXPECT_EQ(counts.rtty, expected.rtty) << step;
    }
  }
}

TEST(QsoLogTest, RecordsAreCopiedWhole) {
  QsoLogStore log;
  CInfo r = Record("R1", "RTTY", "40m", "PW");
  r.rstRcvd = "579";
  r.rstSent = "599";
  r.freqKhz = 7040;
  r.isDupe = 1;
  r.time = OleDate{42152.5, OleDate::kInvalid};
  log.Append(r);
  r.call = "changed";
  const CInfo& stored = log.At(0);
  EXPECT_EQ(stored.call, "R1");
  EXPECT_EQ(stored.rstRcvd, "579");
  EXPECT_EQ(stored.rstSent, "599");
  EXPECT_EQ(stored.freqKhz, 7040u);
  EXPECT_EQ(stored.isDupe, 1);
  EXPECT_EQ(stored.time.days, 42152.5);
  EXPECT_EQ(stored.time.status, OleDate::kInvalid);
}

}  // namespace
}  // namespace velkaro
