// OLE Automation day counts for calendar minutes, computed as a host does:
// whole days plus a fraction, often a hair below the minute.

#ifndef VELKARO_TESTS_OLE_DAYS_H_
#define VELKARO_TESTS_OLE_DAYS_H_

namespace velkaro::testing {

inline double DayCount(int year, int month, int day, int hour = 0, int minute = 0) {
  auto days_from_civil = [](int y, int m, int d) {
    y -= m <= 2;
    const int era = (y >= 0 ? y : y - 399) / 400;
    const int yoe = y - era * 400;
    const int doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
  };
  const double whole = days_from_civil(year, month, day) - days_from_civil(1899, 12, 30);
  return whole + (hour * 60 + minute) / 1440.0;
}

}  // namespace velkaro::testing

#endif  // VELKARO_TESTS_OLE_DAYS_H_
