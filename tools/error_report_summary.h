// Reads back the plug-in's error report (err.txt): one header line, then one
// line per rejected QSO and per duplicate match, each ending in its reason
// ("   NO TEST MODE !!!", "   DUPE !!!", ...).

#ifndef VELKARO_TOOLS_ERROR_REPORT_SUMMARY_H_
#define VELKARO_TOOLS_ERROR_REPORT_SUMMARY_H_

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace velkaro::replay {

struct ErrorReportSummary {
  // Reason (without the trailing " !!!") and number of lines, in the order
  // in which each reason first appears. "DUPE" is counted apart.
  std::vector<std::pair<std::string, int>> rejections;
  int dupe_lines = 0;
  int unrecognised_lines = 0;  // QSO lines without a reason suffix
  int qso_lines = 0;

  int rejected_lines() const;
};

// Summarises the report's bytes. The first line is the header; lines end in
// CR LF or LF.
ErrorReportSummary SummariseErrorReport(std::string_view report);

}  // namespace velkaro::replay

#endif  // VELKARO_TOOLS_ERROR_REPORT_SUMMARY_H_
