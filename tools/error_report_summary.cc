#include "tools/error_report_summary.h"

namespace velkaro::replay {

int ErrorReportSummary::rejected_lines() const {
  int total = 0;
  for (const auto& [reason, count] : rejections) total += count;
  return total;
}

ErrorReportSummary SummariseErrorReport(std::string_view report) {
  static constexpr std::string_view kReasonStart = "   ";  // three blanks
  static constexpr std::string_view kReasonEnd = " !!!";
  ErrorReportSummary summary;
  bool header = true;
  while (!report.empty()) {
    const size_t feed = report.find('\n');
    std::string_view line = report.substr(0, feed);
    report.remove_prefix(feed == std::string_view::npos ? report.size() : feed + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (header) {
      header = false;
      continue;
    }
    if (line.empty()) continue;
    ++summary.qso_lines;
    const size_t start = line.rfind(kReasonStart);
    if (!line.ends_with(kReasonEnd) || start == std::string_view::npos ||
        start + kReasonStart.size() > line.size() - kReasonEnd.size()) {
      ++summary.unrecognised_lines;
      continue;
    }
    const std::string reason(
        line.substr(start + kReasonStart.size(),
                    line.size() - kReasonEnd.size() - start - kReasonStart.size()));
    if (reason == "DUPE") {
      ++summary.dupe_lines;
      continue;
    }
    bool counted = false;
    for (auto& [known, count] : summary.rejections) {
      if (known == reason) {
        ++count;
        counted = true;
      }
    }
    if (!counted) summary.rejections.emplace_back(reason, 1);
  }
  return summary;
}

}  // namespace velkaro::replay
