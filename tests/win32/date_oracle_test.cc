// The portable date splitting and formatting (plugin/date_text.h) against
// the platform's VarUdateFromDate over a sweep of day counts: whole minutes,
// counts just below them (as a host's arithmetic leaves them), the range
// limits and negative counts.

// <windows.h> comes before the other Windows headers.
// clang-format off
#include <windows.h>
// clang-format on

#include <gtest/gtest.h>
#include <oleauto.h>

#include <cmath>
#include <cstdio>
#include <vector>

#include "plugin/date_text.h"
#include "tests/win32/plugin_host.h"

namespace velkaro::wintest {
namespace {

std::vector<double> DayCounts() {
  std::vector<double> days;
  auto add = [&days](double d) {
    days.push_back(d);
    days.push_back(std::nextafter(d, -INFINITY));
    days.push_back(std::nextafter(d, INFINITY));
  };
  for (double whole = -657434.0; whole <= 2958465.0; whole += 7919.0) {
    for (int minute = 0; minute < 1440; minute += 97) add(whole + minute / 1440.0);
  }
  for (int minute = 0; minute < 1440; ++minute) add(42152.0 + minute / 1440.0);
  for (int minute = 0; minute < 1440; minute += 7) add(-1.0 - minute / 1440.0);
  for (double d : {0.0, 1.0, -1.0, 0.5, -0.5, -1.25, -657434.0, -657435.0, 2958465.0,
                   2958465.999988, 2958466.0, -657434.999, 1e12, -1e12}) {
    add(d);
  }
  return days;
}

std::string Text(const CalendarTime& t) {
  char text[64];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month,
                t.day, t.hour, t.minute, t.second);
  return text;
}

TEST(DateOracleTest, SplitDayCountAgreesWithVarUdateFromDate) {
  int compared = 0;
  for (double days : DayCounts()) {
    // A count less than half a second below midnight rounds into the next
    // day. Wine 8 carries that rollover wrongly at the end of November (it
    // gives 1 January of the next year), while it splits whole days exactly,
    // so for these the reference is the whole day itself.
    const double next_day = std::ceil(days);
    const bool rolls_over = days > 0 && next_day <= 2958465.0 &&
                            next_day - days < 0.5 / 86400 && next_day != days;
    UDATE platform = {};
    const bool platform_ok =
        SUCCEEDED(::VarUdateFromDate(rolls_over ? next_day : days, 0, &platform));
    CalendarTime ours = {};
    const bool ours_ok = SplitDayCount(days, &ours);
    ASSERT_EQ(ours_ok, platform_ok) << days;
    if (!ours_ok) continue;
    const CalendarTime theirs = {platform.st.wYear,   platform.st.wMonth,
                                 platform.st.wDay,    platform.st.wHour,
                                 platform.st.wMinute, platform.st.wSecond};
    ASSERT_EQ(Text(ours), Text(theirs)) << "day count " << days;
    const OleDate date{days, OleDate::kValid};
    char expected[64];
    // The year has no padding of its own (four digits for the years in use).
    std::snprintf(expected, sizeof expected, "%d-%02d-%02d %02d%02d", theirs.year,
                  theirs.month, theirs.day, theirs.hour, theirs.minute);
    ASSERT_EQ(FormatDateTime(date, "%Y-%m-%d %H%M"), expected) << days;
    ++compared;
  }
  EXPECT_GT(compared, 10000);
  EXPECT_EQ(FormatDateTime({std::nan(""), OleDate::kValid}, "%Y"), kInvalidDateText);
}

}  // namespace
}  // namespace velkaro::wintest
