#include "score/score.h"

#include <gtest/gtest.h>

#include "score/result_text.h"

namespace velkaro {
namespace {

CInfo Qso(const std::string& call, const std::string& mode, const std::string& nr,
          int dupe = 0, const std::string& band = "40m") {
  CInfo r;
  r.call = call;
  r.band = band;
  r.mode = mode;
  r.nrRcvd = nr;
  r.nrSent = "001";
  r.isDupe = dupe;
  return r;
}

TEST(ScoreTest, WhatEachRecordContributes) {
  struct Case {
    CInfo record;
    BandTally row;  // label 40m
    int total_qsos;
  } cases[] = {
      {Qso("A", "CW", "001", 1), {"40m", 0, 0, 0, 0, 0}, 1},
      {Qso("", "CW", "001"), {"40m", 0, 0, 0, 0, 0}, 1},
      {Qso("A", "CW", "PW"), {"40m", 1, 3, 1, 0, 0}, 1},
      {Qso("A", "SSB", "001"), {"40m", 1, 1, 0, 1, 0}, 1},
      {Qso("A", "RTTY", "002"), {"40m", 1, 1, 0, 0, 1}, 1},
      {Qso("A", "BPSK63", "PW"), {"40m", 1, 3, 0, 0, 0}, 1},
      {Qso("A", "SSB", "pw"), {"40m", 1, 1, 0, 1, 0}, 1},
      {Qso("A", "SSB", "PW "), {"40m", 1, 1, 0, 1, 0}, 1},
  };
  for (const Case& c : cases) {
    QsoLogStore log;
    log.Append(c.record);
    std::vector<std::string> bands = {"40m"};
    const ScoreTable table = ComputeScore(log, &bands);
    ASSERT_EQ(table.rows.size(), 1u);
    EXPECT_EQ(table.rows[0], c.row) << c.record.call << c.record.mode << c.record.nrRcvd;
    EXPECT_EQ(table.total_qsos, c.total_qsos);
    EXPECT_EQ(table.total_points, c.row.points);
    EXPECT_EQ(table.score(), c.row.points);
  }
}

TEST(ScoreTest, BandOrderIsDescendingByZeroPaddedText) {
  std::vector<std::string> bands = {"40m", "160m", "2m", "80m", "10m",
                                    "20m", "15m",  "6m", "70cm"};
  SortBands(&bands);
  EXPECT_EQ(bands, (std::vector<std::string>{"70cm", "160m", "80m", "40m", "20m", "15m",
                                             "10m", "6m", "2m"}));
  // Bytes compare unsigned: 0xE0 sorts after ASCII.
  bands = {"a", "\xE0"};
  SortBands(&bands);
  EXPECT_EQ(bands, (std::vector<std::string>{"\xE0", "a"}));
  // Keys of 20 bytes or more are their own key.
  bands = {"0000000000000000040m", "40m", "1"};
  SortBands(&bands);
  EXPECT_EQ(bands[2], "1");
}

TEST(ScoreTest, RowsFollowTheSortedBandsAndKeepTheirOrder) {
  QsoLogStore log;
  log.Append(Qso("A", "CW", "001", 0, "40m"));
  log.Append(Qso("B", "CW", "PW", 0, "160m"));
  log.Append(Qso("C", "SSB", "001", 0, "80m"));
  std::vector<std::string> bands = {"40m", "160m", "80m"};
  ScoreTable table = ComputeScore(log, &bands);
  ASSERT_EQ(table.rows.size(), 3u);
  EXPECT_EQ(table.rows[0], (BandTally{"160m", 1, 3, 1, 0, 0}));
  EXPECT_EQ(table.rows[1], (BandTally{"80m", 1, 1, 0, 1, 0}));
  EXPECT_EQ(table.rows[2], (BandTally{"40m", 1, 1, 1, 0, 0}));
  EXPECT_EQ(bands, (std::vector<std::string>{"160m", "80m", "40m"}));
  table = ComputeScore(log, &bands);
  EXPECT_EQ(table.rows[0].label, "160m");
  EXPECT_EQ(table.total_points, 5);
  EXPECT_EQ(table.total_cw, 2);
  EXPECT_EQ(table.total_ssb, 1);
}

TEST(ScoreTest, ABandWhoseQsosWereAllRemovedKeepsAnEmptyRow) {
  QsoLogStore log;
  std::vector<std::string> bands = {"40m"};
  const ScoreTable table = ComputeScore(log, &bands);
  ASSERT_EQ(table.rows.size(), 1u);
  EXPECT_EQ(table.rows[0], (BandTally{"40m", 0, 0, 0, 0, 0}));
  EXPECT_EQ(table.total_qsos, 0);
  bands.clear();
  EXPECT_TRUE(ComputeScore(log, &bands).rows.empty());
}

TEST(ResultTextTest, WorkedExample) {
  QsoLogStore log;
  log.Append(Qso("UA1A", "CW", "001"));
  log.Append(Qso("R9X", "CW", "PW"));
  log.Append(Qso("UA1A", "CW", "003", /*dupe=*/1));
  log.Append(Qso("UA2B", "RTTY", "002"));
  std::vector<std::string> bands = {"40m"};
  EXPECT_EQ(ResultTableText("28.05.2015", "UA9OWN", ComputeScore(log, &bands)),
            "\t\xC4\xE5\xED\xFC \xE2\xE5\xEB\xEA\xE0\xF0\xEE 28.05.2015\r\n"
            "\t   Contestant: UA9OWN \r\n"
            "\tQSOs\tPoints\tCW\tSSB\tRTTY\r\n"
            "40m\t 3\t 5\t 2\t 0\t 1\r\n"
            "Total\t 4\t 5\t 2\t 0\t 1\r\n"
            "\r\n"
            "Score:  = 5\r\n");
}

}  // namespace
}  // namespace velkaro
