// The OLE Automation date record the host passes, and its text form.

#ifndef VELKARO_PLUGIN_DATE_TEXT_H_
#define VELKARO_PLUGIN_DATE_TEXT_H_

#include <cstdint>
#include <string>

namespace velkaro {

// Layout of the host's COleDateTime: the day count from 30 December 1899
// (fraction: time of day), then the status.
struct OleDate {
  enum Status : int32_t { kValid = 0, kInvalid = 1, kNull = 2 };
  double days = 0.0;
  int32_t status = kValid;
};

// Calendar fields of a day count, as the platform's VarUdateFromDate gives
// them: the time of day rounded to the nearest second.
struct CalendarTime {
  int year, month, day, hour, minute, second;
};

// Splits a day count; false outside the platform's range (years 100 to 9999)
// and for NaN.
bool SplitDayCount(double days, CalendarTime* out);

inline constexpr char kInvalidDateText[] = "Invalid DateTime";

// Expands %Y %m %d %H %M in `pattern` (every other byte copied) into a text of
// at most 255 bytes. A null record gives "", an invalid or unsplittable one
// "Invalid DateTime". Example: 1.75 with "%Y-%m-%d %H%M" gives 1899-12-31 1800.
std::string FormatDateTime(const OleDate& date, const std::string& pattern);

}  // namespace velkaro

#endif  // VELKARO_PLUGIN_DATE_TEXT_H_
