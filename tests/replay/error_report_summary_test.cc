// Reading the reasons back from an error report.

#include "tools/error_report_summary.h"

#include <gtest/gtest.h>

namespace velkaro::replay {
namespace {

using Reasons = std::vector<std::pair<std::string, int>>;

const char kHeader[] = "\xC4\xE5\xED\xFC \xE2\xE5\xEB\xEA\xE0\xF0\xEE UBN file \r\n";

TEST(ErrorReportSummaryTest, CountsEachReason) {
  const std::string report =
      std::string(kHeader) +
      "QSO:  7012  CW  2025-05-25 0620  UA3VLK  599  003  R3ABC  599  020   DUPE !!!\r\n"
      "QSO:  14020  CW  2025-05-25 0620  UA3VLK  599  004  R3ABD  599  020   NO CONTEST "
      "BAND !!!\r\n"
      "QSO:  7074  FT8  2025-05-25 0630  UA3VLK  -10  005  R3ABF    020   NO TEST MODE "
      "!!!\r\n"
      "QSO:  7012  CW  2025-05-25 0620  UA3VLK  599  003  R3ABC  599  020   DUPE !!!\r\n"
      "QSO:  7012  cw  2025-05-25 0621  UA3VLK  599  006  R3ABE  599  021   NO TEST MODE "
      "!!!\r\n"
      "QSO:  7012  CW  2025-05-25 0622  UA3VLK  599    R3ABG  599     NO TX or RX NUMBER "
      "!!!\r\n";
  const ErrorReportSummary summary = SummariseErrorReport(report);
  EXPECT_EQ(
      summary.rejections,
      (Reasons{{"NO CONTEST BAND", 1}, {"NO TEST MODE", 2}, {"NO TX or RX NUMBER", 1}}));
  EXPECT_EQ(summary.dupe_lines, 2);
  EXPECT_EQ(summary.rejected_lines(), 4);
  EXPECT_EQ(summary.qso_lines, 6);
  EXPECT_EQ(summary.unrecognised_lines, 0);
}

TEST(ErrorReportSummaryTest, BlanksInsideTheFieldsDoNotShiftTheReason) {
  // An exchange that ends in blanks stands right before the reason.
  const std::string report =
      std::string(kHeader) +
      "QSO:  7012  FT8  d  O  599  1  C  599  12     NO TEST MODE !!!\n";
  EXPECT_EQ(SummariseErrorReport(report).rejections, (Reasons{{"NO TEST MODE", 1}}));
}

TEST(ErrorReportSummaryTest, OddLinesAreCountedApart) {
  const ErrorReportSummary summary = SummariseErrorReport(
      std::string(kHeader) + "garbage\r\n\r\nx   !!!\r\n   DUPE !!!");
  EXPECT_EQ(summary.unrecognised_lines, 2);
  EXPECT_EQ(summary.dupe_lines, 1);
  EXPECT_TRUE(summary.rejections.empty());
}

TEST(ErrorReportSummaryTest, HeaderOnlyOrNothing) {
  EXPECT_EQ(SummariseErrorReport(kHeader).qso_lines, 0);
  EXPECT_EQ(SummariseErrorReport("").qso_lines, 0);
}

}  // namespace
}  // namespace velkaro::replay
