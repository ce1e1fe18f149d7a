#include "plugin/date_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

#include "test_support.h"

namespace velkaro {
namespace {

using testing::DayCount;
using testing::Valid;

struct DateCase {
  OleDate date;
  const char* pattern;
  const char* expected;
};

TEST(FormatDateTimeTest, Table) {
  const DateCase cases[] = {
      {Valid(0.0), "%Y-%m-%d %H%M", "1899-12-30 0000"},
      {Valid(0.0), "%d.%m.%Y", "30.12.1899"},
      {Valid(1.75), "%Y-%m-%d %H%M", "1899-12-31 1800"},
      {Valid(1.75), "%d.%m.%Y", "31.12.1899"},
      // The fraction is taken without its sign.
      {Valid(-1.25), "%Y-%m-%d %H%M", "1899-12-29 0600"},
      {Valid(DayCount(2015, 5, 28, 14, 30)), "%Y-%m-%d %H%M", "2015-05-28 1430"},
      {Valid(DayCount(2015, 5, 28, 9, 30)), "%Y-%m-%d %H%M", "2015-05-28 0930"},
      {Valid(DayCount(2015, 5, 28)), "%d.%m.%Y", "28.05.2015"},
      {Valid(DayCount(2000, 2, 29, 23, 59)), "%Y-%m-%d %H%M", "2000-02-29 2359"},
      // A day count a hair below midnight shows the next day's midnight.
      {Valid(DayCount(2024, 12, 31) + 1.0 - 1e-9), "%Y-%m-%d %H%M", "2025-01-01 0000"},
      {OleDate{12345.5, OleDate::kInvalid}, "%Y-%m-%d %H%M", "Invalid DateTime"},
      {OleDate{12345.5, OleDate::kNull}, "%Y-%m-%d %H%M", ""},
      // Outside the platform's calendar.
      {Valid(2958466.0), "%Y", "Invalid DateTime"},
      {Valid(-657435.0), "%Y", "Invalid DateTime"},
      {Valid(2958465.5), "%Y-%m-%d", "9999-12-31"},
      {Valid(-657434.0), "%Y-%m-%d", "100-01-01"},
      // Other bytes, and unknown directives, are copied.
      {Valid(0.0), "%S %x 100%", "%S %x 100%"},
  };
  for (const DateCase& c : cases) {
    EXPECT_EQ(FormatDateTime(c.date, c.pattern), c.expected)
        << c.date.days << " status " << c.date.status << " " << c.pattern;
  }
}

TEST(FormatDateTimeTest, NotANumberIsInvalid) {
  EXPECT_EQ(FormatDateTime(Valid(std::nan("")), "%Y"), "Invalid DateTime");
}

// Hosts compute whole minutes as fractions of a day, which land a hair below
// the minute in binary floating point; every such minute must still show.
TEST(FormatDateTimeTest, EveryMinuteOfADayShowsAsTheHostShowsIt) {
  const double day = DayCount(2015, 5, 28);
  for (int minute = 0; minute < 1440; ++minute) {
    const double days = day + minute / 1440.0;
    char expected[32];
    std::snprintf(expected, sizeof expected, "2015-05-28 %02d%02d", minute / 60,
                  minute % 60);
    ASSERT_EQ(FormatDateTime(Valid(days), "%Y-%m-%d %H%M"), expected);
    ASSERT_EQ(FormatDateTime(Valid(std::nextafter(days, 0.0)), "%Y-%m-%d %H%M"),
              expected);
  }
}

TEST(FormatDateTimeTest, OutputIsCutAt255Bytes) {
  EXPECT_EQ(FormatDateTime(Valid(0.0), std::string(300, 'x')).size(), 255u);
  EXPECT_EQ(
      FormatDateTime(Valid(0.0), std::string(200, 'x') + std::string(40, 'Y')).size(),
      240u);
  std::string many_years;
  for (int i = 0; i < 100; ++i) many_years += "%Y";
  EXPECT_EQ(FormatDateTime(Valid(0.0), many_years).size(), 255u);
}

}  // namespace
}  // namespace velkaro
