// Day counts to calendar text, without the platform's variant library.

#include "plugin/date_text.h"

#include <charconv>
#include <cmath>

namespace velkaro {
namespace {

// The platform accepts day counts strictly between these (1 January 100 and
// 31 December 9999, each widened by one day).
constexpr double kFirstDay = -657434.0;
constexpr double kLastDay = 2958465.0;
constexpr int64_t kSecondsPerDay = 86400;

// Civil date of a day number counted from 1970-01-01 (proleptic Gregorian).
void CivilFromDays(int64_t z, int* y, int* m, int* d) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  *d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  *m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  *y = static_cast<int>(yoe + era * 400 + (*m <= 2 ? 1 : 0));
}

// Day 0 of the OLE count, 1899-12-30, counted from 1970-01-01.
constexpr int64_t kOleEpochFromUnix = -25569;

void AppendTwoDigits(std::string* out, int value) {
  out->push_back(static_cast<char>('0' + value / 10 % 10));
  out->push_back(static_cast<char>('0' + value % 10));
}

}  // namespace

bool SplitDayCount(double days, CalendarTime* out) {
  if (!(days > kFirstDay - 1.0 && days < kLastDay + 1.0)) return false;
  // The whole part counts days toward zero; the fraction, without its sign, is
  // the time of day. Whole minutes arrive a hair short in binary floating
  // point, so the seconds are rounded, as the platform does.
  const double whole = std::trunc(days);
  int64_t seconds = std::llround(std::fabs(days - whole) * kSecondsPerDay);
  int64_t day = static_cast<int64_t>(whole);
  if (seconds >= kSecondsPerDay) {
    seconds -= kSecondsPerDay;
    ++day;
  }
  CivilFromDays(day + kOleEpochFromUnix, &out->year, &out->month, &out->day);
  out->hour = static_cast<int>(seconds / 3600);
  out->minute = static_cast<int>(seconds / 60 % 60);
  out->second = static_cast<int>(seconds % 60);
  return true;
}

std::string FormatDateTime(const OleDate& date, const std::string& pattern) {
  if (date.status == OleDate::kNull) return std::string();
  CalendarTime t;
  if (date.status != OleDate::kValid || !SplitDayCount(date.days, &t)) {
    return kInvalidDateText;
  }
  constexpr size_t kMaxLength = 255;
  std::string out;
  out.reserve(pattern.size() + 8);
  for (size_t i = 0; i < pattern.size() && out.size() < kMaxLength; ++i) {
    if (pattern[i] != '%' || i + 1 == pattern.size()) {
      out.push_back(pattern[i]);
      continue;
    }
    switch (pattern[i + 1]) {
      case 'Y': {
        char year[16];
        const auto end = std::to_chars(year, year + sizeof year, t.year).ptr;
        out.append(year, end);
        break;
      }
      case 'm':
        AppendTwoDigits(&out, t.month);
        break;
      case 'd':
        AppendTwoDigits(&out, t.day);
        break;
      case 'H':
        AppendTwoDigits(&out, t.hour);
        break;
      case 'M':
        AppendTwoDigits(&out, t.minute);
        break;
      default:
        out.push_back(pattern[i]);
        continue;  // an unknown directive is copied as it stands
    }
    ++i;
  }
  if (out.size() > kMaxLength) out.resize(kMaxLength);
  return out;
}

}  // namespace velkaro
